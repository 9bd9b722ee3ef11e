// velmora-cli speed: the spindle speed of the speed calculator.
#include "cli/cli.h"

#include "calculators/logic/cutting.h"
#include "calculators/logic/options.h"
#include "common/numbers.h"

namespace velmora::cli {
namespace {

int runSpeed(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &n : opts.names())
        if (n != QLatin1String("vc") && n != QLatin1String("diameter") && n != QLatin1String("round"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("speed reads no files")};
    const double vc = opts.number(QStringLiteral("vc"), 100);
    const double d = opts.number(QStringLiteral("diameter"), 10);
    calc::SpeedRounding rounding = calc::SpeedRounding::Tens;
    const QString r = opts.value(QStringLiteral("round"), QStringLiteral("tens"));
    if (!calc::speedRoundingFromName(r, rounding))
        throw UsageError{QStringLiteral("--round: '%1' is not one of none, whole, tens").arg(r)};
    try {
        writeLines({formatGeneral(calc::roundSpeed(calc::spindleSpeed(vc, d), rounding), u'.')});
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "speed", "spindle speed from cutting speed and diameter",
    "velmora-cli speed [--vc V] [--diameter D] [--round none|whole|tens]\n"
    "\n"
    "Prints the spindle speed n = vc * 1000 / (D * pi) as \"Vypocet otacek\"\n"
    "computes it, with \".\" as the decimal mark: the value the window writes\n"
    "after S.\n"
    "\n"
    "  --vc V        cutting speed in m/min (default 100)\n"
    "  --diameter D  diameter in mm (default 10)\n"
    "  --round R     none; whole (halves to even); tens (halves up, 1275 gives\n"
    "                1280); default tens",
    runSpeed);

} // namespace velmora::cli
