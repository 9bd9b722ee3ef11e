// Windows-1250 codec and line splitting: every input round-trips byte for byte.
#include "common/codec.h"
#include "common/textfile.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = velmora::decodeCp1250(bytes);
    FUZZ_CHECK(text.size() == qsizetype(size));
    QByteArray back;
    FUZZ_CHECK(velmora::encodeCp1250(text, back));
    FUZZ_CHECK(back == bytes);
    // Lines joined with CR LF and split again give the same lines.
    const QStringList lines = velmora::splitLines(text);
    for (const QString &l : lines)
        FUZZ_CHECK(!l.contains(QLatin1Char('\r')) && !l.contains(QLatin1Char('\n')));
    FUZZ_CHECK(velmora::splitLines(velmora::joinLines(lines)) == lines);
    return 0;
}
