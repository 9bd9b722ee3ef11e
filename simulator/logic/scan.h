#pragma once
// Fast scans over UTF-16 block texts: a block is read many times (its G and M
// words, then every other letter), so the searches and the number conversion
// are the interpreter's inner loop.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::sim::scan {

constexpr size_t npos = size_t(-1);

// The first `c` at or after `from`, or npos.
inline size_t find(std::u16string_view t, char16_t c, size_t from = 0) {
    const char16_t *p = t.data();
    const size_t n = t.size();
    size_t i = from;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(short(c));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const int m = _mm_movemask_epi8(_mm_cmpeq_epi16(v, needle));
        if (m)
            return i + size_t(__builtin_ctz(unsigned(m)) >> 1);
    }
#endif
    for (; i < n; ++i)
        if (p[i] == c)
            return i;
    return npos;
}

// Characters a word value is made of: "+", "-", ",", "." and the digits.
struct ValueChars {
    std::array<bool, 128> is{};
    constexpr ValueChars() {
        is[size_t('+')] = is[size_t('-')] = is[size_t(',')] = is[size_t('.')] = true;
        for (char c = '0'; c <= '9'; ++c)
            is[size_t(c)] = true;
    }
};
inline constexpr ValueChars kValueChars{};
inline bool isValueChar(char16_t c) { return c < 128 && kValueChars.is[c]; }

// A decimal of the form [sign] digits [, digits] with at most 19 significant
// digits, converted exactly as a correctly rounded conversion does it; false
// when the text has another form (the caller then takes the general rule).
inline bool shortDecimal(std::u16string_view t, double &out) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    size_t i = 0;
    const size_t n = t.size();
    bool negative = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool comma = false;
    for (; i < n; ++i) {
        const char16_t c = t[i];
        if (c >= u'0' && c <= u'9') {
            if (mantissa == 0 && c == u'0') { // leading zeros carry no digits
                if (comma)
                    ++fraction;
                ++digits;
                continue;
            }
            if (digits >= 19)
                return false;
            mantissa = mantissa * 10 + uint64_t(c - u'0');
            ++digits;
            if (comma)
                ++fraction;
        } else if (c == u',' && !comma) {
            comma = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || mantissa > (uint64_t(1) << 53) || fraction > 22)
        return false;
    double v = double(mantissa);
    if (fraction)
        v /= kPow10[fraction];
    out = negative ? -v : v;
    return true;
}

} // namespace velmora::sim::scan
