// velmora-cli drill-point: the point length of a twist drill.
#include "cli/cli.h"

#include "calculators/logic/cutting.h"
#include "common/numbers.h"

namespace velmora::cli {
namespace {

int runDrillPoint(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &n : opts.names())
        if (n != QLatin1String("diameter") && n != QLatin1String("angle"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("drill-point reads no files")};
    const double d = opts.number(QStringLiteral("diameter"), 15);
    const double a = opts.number(QStringLiteral("angle"), 118);
    try {
        writeLines({formatGeneral(calc::drillPoint(d, a), u'.')});
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "drill-point", "point length of a twist drill",
    "velmora-cli drill-point [--diameter D] [--angle A]\n"
    "\n"
    "Prints the length of the conical point, (D / 2) / tan(A / 2), rounded to\n"
    "3 places, as \"Vypocet vrchliku\" computes it.\n"
    "\n"
    "  --diameter D  drill diameter (default 15)\n"
    "  --angle A     point angle in degrees (default 118)",
    runDrillPoint);

} // namespace velmora::cli
