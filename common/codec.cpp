#include "common/codec.h"

#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {
namespace {

// Unicode of the bytes 80..FF; the undefined ones map to the C1 control of the same value.
constexpr char16_t kHigh[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<qint16, 0x10000> toByte{};
    Tables() {
        toByte.fill(-1);
        for (int b = 0; b < 256; ++b) {
            const char16_t u = b < 128 ? char16_t(b) : kHigh[b - 128];
            toUnicode[b] = u;
            toByte[u] = qint16(b);
        }
    }
};

const Tables &tables() {
    static const Tables t;
    return t;
}

} // namespace

void decodeCp1250(QByteArrayView bytes, QString &out) {
    const auto &map = tables().toUnicode;
    out.resize(bytes.size());
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *src = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Runs of ASCII, which most program text is, are widened 16 bytes at a time.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        if (_mm_movemask_epi8(v) != 0) {
            for (qsizetype k = i; k < i + 16; ++k)
                dst[k] = map[src[k]];
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i + 8), _mm_unpackhi_epi8(v, zero));
    }
#endif
    for (; i < n; ++i)
        dst[i] = map[src[i]];
}

QString decodeCp1250(QByteArrayView bytes) {
    QString out;
    decodeCp1250(bytes, out);
    return out;
}

bool encodeCp1250(QStringView text, QByteArray &out, qsizetype *badIndex) {
    const auto &map = tables().toByte;
    out.resize(text.size());
    char *dst = out.data();
    const char16_t *src = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const qint16 b = map[src[i]];
        if (b < 0) {
            if (badIndex)
                *badIndex = i;
            out.truncate(i);
            return false;
        }
        dst[i] = char(b);
    }
    return true;
}

int cp1250Byte(QChar c) { return tables().toByte[c.unicode()]; }

bool isCp1250(QChar c) { return cp1250Byte(c) >= 0; }

} // namespace velmora
