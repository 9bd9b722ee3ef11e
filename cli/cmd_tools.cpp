// velmora-cli tools: the tool list of programs, in the form of a tool list file.
#include "cli/cli.h"

#include "tooltables/logic/toollists.h"

#include <QFileInfo>

namespace velmora::cli {
namespace {

int runTools(const QStringList &args) {
    const Options opts(args, {QStringLiteral("last-line"), QStringLiteral("format17")});
    for (const QString &n : opts.names())
        if (n != QLatin1String("listing") && n != QLatin1String("last-line") && n != QLatin1String("format17"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    const QString listing = opts.value(QStringLiteral("listing"));
    if (listing != QLatin1String("mazak") && listing != QLatin1String("heidenhain") &&
        listing != QLatin1String("comments"))
        throw UsageError{QStringLiteral("--listing: '%1' is not one of mazak, heidenhain, comments").arg(listing)};
    if (opts.positional().isEmpty())
        throw UsageError{QStringLiteral("give one or more program files")};

    // The settings of section "Format" decide, the flags switch them on.
    ToolListOptions o = toolListOptionsFromSettings();
    if (opts.has(QStringLiteral("last-line")))
        o.lastLine = true;
    if (opts.has(QStringLiteral("format17")))
        o.format17 = true;

    // The listings add up in one tree, as in the tool list panel.
    QList<ToolListItem> tree;
    for (const QString &file : opts.positional()) {
        const QStringList lines = readProgram(file);
        const QString name = QFileInfo(file).fileName();
        if (listing == QLatin1String("mazak")) {
            appendListing(tree, mazakListing(lines, name, o));
        } else if (listing == QLatin1String("heidenhain")) {
            QSet<QString> listed;
            for (const ToolListItem &item : tree)
                addToolWords(item.text, listed);
            appendListing(tree, heidenhainListing(lines, name, o, [&](const QString &w) { return listed.contains(w); }));
        } else {
            appendListing(tree, unformattedListing(lines, name));
        }
    }
    writeLines(toolListFileLines(tree));
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "tools", "list the tools of programs as a tool list file",
    "velmora-cli tools --listing mazak|heidenhain|comments [--last-line] [--format17] FILE...\n"
    "\n"
    "Lists the tools of each program as \"Vypsat nástroje do panelu\" does and prints\n"
    "the tree in the form \"Uložit do souboru\" writes: one node per line, one tab per\n"
    "level. The listings of several files add up in one tree; a Heidenhain tool\n"
    "already in the tree is not listed again.\n"
    "  --listing mazak       Mazak EIA: comments in parentheses, T words, G43 H offsets,\n"
    "                        head changes M941/M942/M943\n"
    "  --listing heidenhain  Heidenhain ISO: comments beginning with \";\", T words\n"
    "  --listing comments    every comment of every line, unformatted\n"
    "  --last-line           the last line of a run of comment lines names the tool\n"
    "                        (default: section \"Format\", key \"Radek\" of SetupCNC.ini)\n"
    "  --format17            Heidenhain: characters 2 to 19 of the comment\n"
    "                        (default: key \"Pocet\" of the same section)",
    runTools);

} // namespace velmora::cli
