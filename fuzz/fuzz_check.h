#pragma once
// A property check for the fuzz targets: a broken property aborts with a message,
// which libFuzzer reports as a finding and the regression test as a failure.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

#include "common/codec.h"
#include "common/textfile.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// The bytes of one fuzz input, taken from the front: a few choice bytes, then text.
class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : p_(data), n_(size) {}
    // The next byte (0 once the input is used up).
    uint8_t byte() {
        if (!n_)
            return 0;
        --n_;
        return *p_++;
    }
    // A choice among `count` alternatives.
    int choice(int count) { return byte() % count; }
    // The next `len` bytes (fewer at the end) as Windows-1250 text.
    QString text(size_t len) {
        len = len < n_ ? len : n_;
        const QString t = velmora::decodeCp1250(QByteArrayView(reinterpret_cast<const char *>(p_), qsizetype(len)));
        p_ += len;
        n_ -= len;
        return t;
    }
    // A short text: its length is the next byte modulo `maxLen + 1`.
    QString shortText(int maxLen) { return text(size_t(byte() % (maxLen + 1))); }
    // Everything left, as the lines of a file.
    QStringList lines() { return velmora::splitLines(text(n_)); }
    QByteArrayView rest() const { return QByteArrayView(reinterpret_cast<const char *>(p_), qsizetype(n_)); }

private:
    const uint8_t *p_;
    size_t n_;
};
