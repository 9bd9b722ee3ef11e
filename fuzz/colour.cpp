// Colour strings: whatever reads as a colour writes back to a text that reads as the same colour.
#include "common/codec.h"
#include "common/colour.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = velmora::decodeCp1250(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    velmora::ColorValue v = 0;
    if (velmora::colorFromString(text, v)) {
        velmora::ColorValue again = 0;
        FUZZ_CHECK(velmora::colorFromString(velmora::colorToString(v), again));
        FUZZ_CHECK(again == v);
    }
    if (size >= 4) {
        const velmora::ColorValue raw = data[0] | (data[1] << 8) | (data[2] << 16) | (velmora::ColorValue(data[3]) << 24);
        velmora::ColorValue again = 0;
        FUZZ_CHECK(velmora::colorFromString(velmora::colorToString(raw), again));
        FUZZ_CHECK(again == raw);
    }
    return 0;
}
