// velmora-cli check-xyz: coordinates and circle parameters without a decimal point.
#include "cli/cli.h"

#include "nctext/logic/coordinates.h"

namespace velmora::cli {
namespace {

int runCheckXyz(const QStringList &args) {
    const Options opts(args, {});
    if (!opts.names().isEmpty())
        throw UsageError{QStringLiteral("unknown option --%1").arg(opts.names().constFirst())};
    if (opts.positional().isEmpty())
        throw UsageError{QStringLiteral("give one or more program files")};
    bool found = false;
    for (const QString &file : opts.positional()) {
        const QStringList lines = readProgram(file);
        QStringList out;
        for (const CoordinateFinding &f : checkCoordinates(lines))
            out << QStringLiteral("%1:%2: %3: %4").arg(file).arg(f.line + 1).arg(f.letter).arg(lines.at(f.line));
        found = found || !out.isEmpty();
        writeLines(out);
    }
    return found ? 1 : 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "check-xyz", "find coordinates written without a decimal point",
    "velmora-cli check-xyz FILE...\n"
    "\n"
    "Checks each program as \"Kontrola XYZ\" does: the first X, Y, Z, R, I, J and\n"
    "K of a line (before its first \"(\") must carry a value with a decimal point\n"
    "or the value 0; Z and R may refer to a parameter (Z#1). Lines that begin\n"
    "with \"(\" are skipped.\n"
    "\n"
    "Prints one line per finding, FILE:LINE: LETTER: TEXT (LINE 1-based, TEXT\n"
    "the program line). Exit status 1 when anything was found.",
    runCheckXyz);

} // namespace velmora::cli
