#include "simulator/logic/infovalues.h"

#include "common/numbers.h"
#include "simulator/logic/fparith.h"

#include <cmath>

namespace velmora::sim {

InfoValues infoValues(const QString start[3], const QString end[3], const QString &feed) {
    InfoValues out;
    try {
        double d[3];
        for (int i = 0; i < 3; ++i) {
            d[i] = std::fabs(fp::sub(parseFloat(start[i]), parseFloat(end[i])));
            out.difference[i] = formatGeneral(d[i]);
        }
        const double length = std::sqrt(fp::add(fp::add(fp::mul(d[0], d[0]), fp::mul(d[1], d[1])), fp::mul(d[2], d[2])));
        out.time = formatGeneral(fp::div(length, parseFloat(feed)));
        out.timeOk = true;
    } catch (const ConversionError &e) {
        out.error = e.message();
    } catch (const FpError &e) {
        out.error = QString::fromLatin1(fpFaultMessage(e.fault));
    }
    return out;
}

} // namespace velmora::sim
