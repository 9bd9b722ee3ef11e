// velmora-cli circle: the NC blocks of holes on a pitch circle.
#include "cli/cli.h"

#include "calculators/logic/circle.h"
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

int runCircle(const QStringList &args) {
    const Options opts(args, {QStringLiteral("polar"), QStringLiteral("yes")});
    const QStringList known = {QStringLiteral("diameter"), QStringLiteral("holes"),         QStringLiteral("start-angle"),
                               QStringLiteral("step-angle"), QStringLiteral("centre"),      QStringLiteral("hole-diameter"),
                               QStringLiteral("polar"),    QStringLiteral("plane"),         QStringLiteral("decimals"),
                               QStringLiteral("prefix"),   QStringLiteral("yes")};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("circle reads no files")};

    calc::CircleInput in;
    in.diameter = field(opts, QStringLiteral("diameter"), in.diameter);
    in.holes = QString::number(opts.integer(QStringLiteral("holes"), 8));
    in.startAngle = field(opts, QStringLiteral("start-angle"), in.startAngle);
    in.stepAngle = field(opts, QStringLiteral("step-angle"), in.stepAngle);
    in.holeDiameter = field(opts, QStringLiteral("hole-diameter"), in.holeDiameter);
    if (opts.has(QStringLiteral("centre")) &&
        !calc::parseCoordinatePair(opts.value(QStringLiteral("centre")), in.centre1, in.centre2))
        throw UsageError{QStringLiteral("--centre: '%1' is no pair C1,C2 (or C1;C2)").arg(opts.value(QStringLiteral("centre")))};
    in.polar = opts.has(QStringLiteral("polar"));
    if (opts.has(QStringLiteral("plane")) && !calc::planeFromName(opts.value(QStringLiteral("plane")), in.plane))
        throw UsageError{QStringLiteral("--plane: '%1' is not one of xy, xz, yz").arg(opts.value(QStringLiteral("plane")))};
    const int decimals = opts.integer(QStringLiteral("decimals"), calc::geometryDecimals());
    if (decimals < 2 || decimals > 4)
        throw UsageError{QStringLiteral("--decimals: give 2, 3 or 4")};
    const QString prefix = opts.value(QStringLiteral("prefix"), calc::blockPrefix());

    const calc::CircleTexts texts = calc::CircleTexts::czech();
    calc::CircleCalculator calculator(texts, decimals);
    const bool yes = opts.has(QStringLiteral("yes"));
    bool stopped = false;
    try {
        calculator.calculate(in, [&] {
            stopped = !yes;
            return yes;
        });
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    if (stopped)
        writeError(QStringLiteral("velmora-cli circle: the holes beyond 361 degrees would overlap; "
                                  "stopped before them (--yes goes on)"));
    writeLines(calc::circleBlocks(calculator.report(), texts, prefix));
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "circle", "NC blocks of holes on a pitch circle",
    "velmora-cli circle [options]\n"
    "\n"
    "Prints the blocks \"Vypocet bodu na kruznici\" inserts into a program: a\n"
    "comment with the hole diameter, then one block per hole, Cartesian in the\n"
    "plane chosen or Heidenhain ISO polar (G10 R H around the centre as pole).\n"
    "\n"
    "  --diameter D       pitch-circle diameter (default 100)\n"
    "  --holes N          number of holes (default 8)\n"
    "  --start-angle A    angle of the first hole in degrees (default 30)\n"
    "  --step-angle S     angle between holes (default 45)\n"
    "  --centre C1,C2     centre in the plane's two coordinates (default 0,0);\n"
    "                     with \",\" between them use \".\" in the numbers, or\n"
    "                     write C1;C2\n"
    "  --hole-diameter D  hole diameter, written into the comment (default 8)\n"
    "  --polar            polar blocks (pole I J in XY, I K in XZ, J K in YZ)\n"
    "  --plane xy|xz|yz   machining plane (default xy)\n"
    "  --decimals 2|3|4   rounding of the coordinates (default 3)\n"
    "  --prefix TEXT      block prefix (default: EnterText of SetupCNC.ini, N1)\n"
    "  --yes              go on when holes pass 361 degrees and would overlap;\n"
    "                     without it the holes stop there",
    runCircle);

} // namespace velmora::cli
