// velmora-cli compare: the line-by-line report of two program files.
#include "cli/cli.h"

#include "nctext/logic/compare.h"

namespace velmora::cli {
namespace {

int runCompare(const QStringList &args) {
    const Options opts(args, {});
    if (!opts.names().isEmpty())
        throw UsageError{QStringLiteral("unknown option --%1").arg(opts.names().constFirst())};
    if (opts.positional().size() != 2)
        throw UsageError{QStringLiteral("give two files: ORIGINAL COMPARED")};
    const CompareResult r = compareFiles(opts.positional()[0], opts.positional()[1]);
    writeLines(r.report);
    if (!r.error.isEmpty())
        throw UsageError{r.error};
    return r.different ? 1 : 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "compare", "compare two program files line by line",
    "velmora-cli compare ORIGINAL COMPARED\n"
    "\n"
    "Prints the report of the \"Porovnání souborů\" window: the sizes and dates\n"
    "of both files, then every pair of lines that differ (without regard to\n"
    "letter case), and \"Konec  porovnávaného  souboru\" when the compared file\n"
    "ends first. Lines of the compared file beyond the end of the original are\n"
    "not listed. The same file name twice gives \"Soubory se rovnají\".\n"
    "\n"
    "Exit status 1 when the files differ (a line differs or the lengths do).",
    runCompare);

} // namespace velmora::cli
