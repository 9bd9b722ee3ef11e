// velmora-cli spacing: blanks after every number, or no blanks outside comments.
#include "cli/cli.h"

#include "common/numbers.h"
#include "nctext/logic/coordinates.h"

namespace velmora::cli {
namespace {

int runSpacing(const QStringList &args) {
    const Options opts(args, {QStringLiteral("in-place")});
    for (const QString &n : opts.names())
        if (n != QLatin1String("blanks") && n != QLatin1String("to") && n != QLatin1String("in-place"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (opts.positional().isEmpty())
        throw UsageError{QStringLiteral("give one or more program files")};
    const QString blanks = opts.value(QStringLiteral("blanks"), QStringLiteral("1"));
    int count = 0;
    if (!tryParseInteger(blanks, count))
        throw UsageError{QStringLiteral("--blanks: '%1' is not a valid integer value").arg(blanks)};
    EndMarker to = EndMarker::M30;
    if (opts.has(QStringLiteral("to")) && !endMarkerFromName(opts.value(QStringLiteral("to")), to))
        throw UsageError{QStringLiteral("--to: '%1' is not one of M30, M2, all").arg(opts.value(QStringLiteral("to")))};

    const bool inPlace = opts.has(QStringLiteral("in-place"));
    for (const QString &file : opts.positional()) {
        QStringList lines = readProgram(file);
        applySpacing(lines, blanks, to);
        if (inPlace)
            writeProgram(file, lines);
        else
            writeLines(lines);
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "spacing", "put blanks after numbers, or remove blanks",
    "velmora-cli spacing [--blanks N] [--to M30|M2|all] [--in-place] FILE...\n"
    "\n"
    "Rewrites each program as \"Mezery v NC kodu\" does.\n"
    "\n"
    "  --blanks N       blanks put after every number that another character\n"
    "                   follows (default 1); 0 removes every blank outside\n"
    "                   comments (from the first \"(\", else \";\", else '\"')\n"
    "  --to M30|M2|all  stop after the first line holding M30 or M2, or work to\n"
    "                   the end (default M30)\n"
    "  --in-place       rewrite each file (atomically) instead of printing",
    runSpacing);

} // namespace velmora::cli
