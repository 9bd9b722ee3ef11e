// velmora-cli line: the NC blocks of holes along a straight line.
#include "cli/cli.h"

#include "calculators/logic/linepoints.h"
#include "calculators/logic/options.h"
#include "calculators/logic/settings.h"
#include "common/numbers.h"

namespace velmora::cli {
namespace {

QString field(const Options &opts, const QString &name, const QString &def) {
    if (!opts.has(name))
        return def;
    QString out;
    if (!calc::fieldNumber(opts.value(name), out))
        throw UsageError{QStringLiteral("--%1: '%2' is not a valid floating point value").arg(name, opts.value(name))};
    return out;
}

int runLine(const QStringList &args) {
    const Options opts(args, {});
    const QStringList known = {QStringLiteral("start"),         QStringLiteral("angle"), QStringLiteral("spacing"),
                               QStringLiteral("holes"),         QStringLiteral("hole-diameter"),
                               QStringLiteral("plane"),         QStringLiteral("decimals"), QStringLiteral("prefix")};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("line reads no files")};

    calc::LineInput in;
    if (opts.has(QStringLiteral("start")) && !calc::parseCoordinatePair(opts.value(QStringLiteral("start")), in.x0, in.y0))
        throw UsageError{QStringLiteral("--start: '%1' is no pair C1,C2 (or C1;C2)").arg(opts.value(QStringLiteral("start")))};
    in.angle = field(opts, QStringLiteral("angle"), in.angle);
    in.spacing = field(opts, QStringLiteral("spacing"), in.spacing);
    in.holes = QString::number(opts.integer(QStringLiteral("holes"), 15));
    in.holeDiameter = field(opts, QStringLiteral("hole-diameter"), in.holeDiameter);
    if (opts.has(QStringLiteral("plane")) && !calc::planeFromName(opts.value(QStringLiteral("plane")), in.plane))
        throw UsageError{QStringLiteral("--plane: '%1' is not one of xy, xz, yz").arg(opts.value(QStringLiteral("plane")))};
    const int decimals = opts.integer(QStringLiteral("decimals"), calc::geometryDecimals());
    if (decimals < 2 || decimals > 4)
        throw UsageError{QStringLiteral("--decimals: give 2, 3 or 4")};
    const QString prefix = opts.value(QStringLiteral("prefix"), calc::blockPrefix());

    const calc::LineTexts texts = calc::LineTexts::czech();
    calc::LineCalculator calculator(texts, decimals);
    try {
        calculator.calculate(in);
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    writeLines(calc::lineBlocks(calculator.report(), texts, prefix));
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "line", "NC blocks of holes along a straight line",
    "velmora-cli line [options]\n"
    "\n"
    "Prints the blocks \"Vypocet bodu na primce\" inserts into a program: a\n"
    "comment with the hole diameter, then one Cartesian block per hole.\n"
    "\n"
    "  --start C1,C2      first hole in the plane's two coordinates (default\n"
    "                     0,0); with \",\" between them use \".\" in the numbers,\n"
    "                     or write C1;C2\n"
    "  --angle A          direction of the line in degrees (default 30)\n"
    "  --spacing S        distance between neighbouring holes (default 20)\n"
    "  --holes N          number of holes (default 15)\n"
    "  --hole-diameter D  hole diameter, written into the comment (default 6)\n"
    "  --plane xy|xz|yz   machining plane (default xy)\n"
    "  --decimals 2|3|4   rounding of the coordinates (default 3)\n"
    "  --prefix TEXT      block prefix (default: EnterText of SetupCNC.ini, N1)",
    runLine);

} // namespace velmora::cli
