// velmora-cli renumber: block numbers renumbered, removed or created.
#include "cli/cli.h"

#include "common/numbers.h"
#include "common/programfolder.h"
#include "nctext/logic/renumber.h"

namespace velmora::cli {
namespace {

EndMarker markerOption(const Options &opts, EndMarker def) {
    if (!opts.has(QStringLiteral("to")))
        return def;
    EndMarker m;
    if (!endMarkerFromName(opts.value(QStringLiteral("to")), m))
        throw UsageError{QStringLiteral("--to: '%1' is not one of M30, M2, all").arg(opts.value(QStringLiteral("to")))};
    return m;
}

// "FROM:TO", 1-based lines, FROM <= TO.
void selectionOption(const QString &text, int &from, int &to) {
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok = parts.size() == 2 && tryParseInteger(parts[0], from) && tryParseInteger(parts[1], to) && from >= 1 &&
              to >= from;
    if (!ok)
        throw UsageError{QStringLiteral("--selection: '%1' is not FROM:TO (1-based lines, FROM <= TO)").arg(text)};
}

int runRenumber(const QStringList &args) {
    const Options opts(args, {QStringLiteral("in-place")});
    const QStringList known{"style", "first", "step", "to", "page", "max", "variant", "selection", "in-place"};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (opts.positional().isEmpty())
        throw UsageError{QStringLiteral("give one or more program files")};

    // The dialog's values from SetupCNC.ini; options override them.
    const RenumberSettings s = readRenumberSettings(setupIniPath());
    RenumberOptions o;
    o.first = opts.value(QStringLiteral("first"), s.first);
    o.step = opts.value(QStringLiteral("step"), s.step);
    o.max = opts.value(QStringLiteral("max"), s.max);
    o.to = markerOption(opts, endMarkerFromIndex(s.to));
    o.variant = s.variant == 1 ? HeidenhainVariant::Tnc426 : HeidenhainVariant::Tnc407;

    const QString style = opts.value(QStringLiteral("style"), QStringLiteral("renumber"));
    if (style == QLatin1String("renumber"))
        o.style = RenumberStyle::Renumber;
    else if (style == QLatin1String("remove"))
        o.style = RenumberStyle::Remove;
    else if (style == QLatin1String("create"))
        o.style = RenumberStyle::Create;
    else
        throw UsageError{QStringLiteral("--style: '%1' is not one of renumber, remove, create").arg(style)};

    const QString page = opts.value(QStringLiteral("page"), QStringLiteral("iso"));
    if (page == QLatin1String("iso"))
        o.page = RenumberPage::Iso;
    else if (page == QLatin1String("heidenhain"))
        o.page = RenumberPage::Heidenhain;
    else if (page == QLatin1String("pelton"))
        o.page = RenumberPage::Pelton;
    else
        throw UsageError{QStringLiteral("--page: '%1' is not one of iso, heidenhain, pelton").arg(page)};

    if (opts.has(QStringLiteral("variant"))) {
        const QString v = opts.value(QStringLiteral("variant"));
        if (v == QLatin1String("407"))
            o.variant = HeidenhainVariant::Tnc407;
        else if (v == QLatin1String("426"))
            o.variant = HeidenhainVariant::Tnc426;
        else
            throw UsageError{QStringLiteral("--variant: '%1' is not one of 407, 426").arg(v)};
    }

    int selFrom = 0, selTo = 0;
    const bool selection = opts.has(QStringLiteral("selection"));
    if (selection)
        selectionOption(opts.value(QStringLiteral("selection")), selFrom, selTo);

    const bool inPlace = opts.has(QStringLiteral("in-place"));
    for (const QString &file : opts.positional()) {
        QStringList lines = readProgram(file);
        int from = 0, to = int(lines.size()) - 1;
        if (selection) {
            if (selFrom > lines.size())
                throw UsageError{QStringLiteral("%1: --selection starts at line %2, but the file has %3 lines")
                                     .arg(file)
                                     .arg(selFrom)
                                     .arg(lines.size())};
            from = selFrom - 1;
            to = std::min(selTo, int(lines.size())) - 1;
        }
        try {
            renumber(lines, o, from, to);
        } catch (const ConversionError &e) {
            throw UsageError{QStringLiteral("%1: %2").arg(file, e.message())};
        }
        if (inPlace)
            writeProgram(file, lines);
        else
            writeLines(lines);
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "renumber", "renumber, remove or create block numbers",
    "velmora-cli renumber [options] FILE...\n"
    "\n"
    "Rewrites the block numbers of each program as the \"Přečíslovat\" command does.\n"
    "Defaults come from SetupCNC.ini, section Precislovani, as the dialog shows them.\n"
    "\n"
    "  --style renumber|remove|create  renumber existing numbers (default), remove\n"
    "                        them, or put a number in front of every block\n"
    "  --first N             number of the first block (Prvni, default 10)\n"
    "  --step N              step between block numbers (Dalsi, default 10)\n"
    "  --to M30|M2|all       stop after the first worked line holding M30 or M2\n"
    "                        (a substring test: M2 also stops at M20), or work\n"
    "                        to the end (K, default M30)\n"
    "  --page iso|heidenhain|pelton\n"
    "                        iso (default): N, :, % blocks; pelton: as iso, but\n"
    "                        numbering starts again at 1 beyond --max;\n"
    "                        heidenhain: every line of a Dialog program numbered\n"
    "                        from 0 (first, step, to and selection are ignored)\n"
    "  --max N               largest block number on the pelton page (MaxRadek, 999)\n"
    "  --variant 407|426     Heidenhain variant (H, default 407); 426 leaves Q\n"
    "                        parameter lines unnumbered and indents them\n"
    "  --selection FROM:TO   work on lines FROM to TO only (1-based, inclusive)\n"
    "  --in-place            rewrite each file (atomically) instead of printing\n"
    "\n"
    "Without --in-place the programs are printed one after another.",
    runRenumber);

} // namespace velmora::cli
