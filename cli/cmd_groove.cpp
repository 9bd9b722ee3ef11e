// velmora-cli groove: the NC program of a straight groove with rounded ends.
#include "cli/cli.h"

#include "calculators/logic/groove.h"
#include "calculators/logic/options.h"
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

int runGroove(const QStringList &args) {
    const Options opts(args, {});
    const QStringList known = {QStringLiteral("start"), QStringLiteral("length"),   QStringLiteral("width"),
                               QStringLiteral("angle"), QStringLiteral("approach"), QStringLiteral("direction"),
                               QStringLiteral("centres")};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("groove reads no files")};

    calc::GrooveInput in;
    if (opts.has(QStringLiteral("start")) && !calc::parseCoordinatePair(opts.value(QStringLiteral("start")), in.x0, in.y0))
        throw UsageError{QStringLiteral("--start: '%1' is no pair X,Y (or X;Y)").arg(opts.value(QStringLiteral("start")))};
    in.length = field(opts, QStringLiteral("length"), in.length);
    in.width = field(opts, QStringLiteral("width"), in.width);
    in.angle = field(opts, QStringLiteral("angle"), in.angle);
    in.approach = opts.value(QStringLiteral("approach"), in.approach);
    if (!QStringList({"1", "2", "3", "4"}).contains(in.approach))
        throw UsageError{QStringLiteral("--approach: '%1' is not one of 1, 2, 3, 4").arg(in.approach)};
    const QString dir = opts.value(QStringLiteral("direction"), QStringLiteral("climb"));
    if (dir == QLatin1String("climb"))
        in.direction = 0;
    else if (dir == QLatin1String("conventional"))
        in.direction = 1;
    else
        throw UsageError{QStringLiteral("--direction: '%1' is not one of climb, conventional").arg(dir)};
    const QString centres = opts.value(QStringLiteral("centres"), QStringLiteral("relative"));
    if (centres == QLatin1String("relative"))
        in.centres = 0;
    else if (centres == QLatin1String("absolute"))
        in.centres = 1;
    else
        throw UsageError{QStringLiteral("--centres: '%1' is not one of relative, absolute").arg(centres)};
    try {
        writeLines(calc::grooveNcLines(calc::grooveText(in)));
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "groove", "NC blocks milling a straight groove with rounded ends",
    "velmora-cli groove [options]\n"
    "\n"
    "Prints the blocks \"Drazky\" inserts into a program: a separator and a\n"
    "comment, rapid move, plunge to Z-3 at F100, approach with cutter radius\n"
    "compensation, the two sides and the two half circles, departure.\n"
    "\n"
    "  --start X,Y              centre of the start arc (default 0,0); with \",\"\n"
    "                           between them use \".\" in the numbers, or X;Y\n"
    "  --length L               distance between the two arc centres (default 25)\n"
    "  --width W                groove width (default 14)\n"
    "  --angle A                direction in degrees (default 0)\n"
    "  --approach 1..4          approach point: 1 and 4 on the right-hand side\n"
    "                           at the end and the start, 2 and 3 on the\n"
    "                           left-hand side at the end and the start (default 2)\n"
    "  --direction climb|conventional   G41 with G3 arcs, or G42 with G2 arcs\n"
    "                           (default climb)\n"
    "  --centres relative|absolute      I and J from the arc start, or the arc\n"
    "                           centres themselves (default relative)",
    runGroove);

} // namespace velmora::cli
