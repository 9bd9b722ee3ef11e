// Diameters read from tool names: never negative or infinite, and the radius
// text written into a table is "+" and half of it.
#include "fuzz/fuzz_check.h"
#include "tooltables/logic/tooltable.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    const QChar mark = in.choice(2) ? u',' : u'.';
    const QString name = in.text(size);
    const double d = DiameterFromName(name);
    FUZZ_CHECK(std::isfinite(d) && d >= 0);
    bool hasDigit = false;
    for (QChar c : name)
        hasDigit = hasDigit || (c >= u'0' && c <= u'9');
    if (!hasDigit)
        FUZZ_CHECK(d == 0);
    const QString radius = radiusTextFromName(name, mark);
    FUZZ_CHECK(radius.startsWith(QLatin1Char('+')));
    QString plain = radius.mid(1);
    plain.replace(mark, QLatin1Char('.'));
    bool ok = false;
    const double r = plain.toDouble(&ok);
    FUZZ_CHECK(ok);
    FUZZ_CHECK(std::fabs(r - d / 2) <= 1e-9 * std::max(1.0, d));
    // A dropped node text is the node text or a tail of it.
    const QString dropped = droppedToolText(name);
    FUZZ_CHECK(name.endsWith(dropped));
    return 0;
}
