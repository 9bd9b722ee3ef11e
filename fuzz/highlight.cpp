// The highlighters' scanners on any text: tokens cover each line in order, a
// token never crosses a line end, and the style bytes the editor gets from
// UTF-8 text agree with the tokens of the same lines.
#include "common/codec.h"
#include "common/textfile.h"
#include "fuzz/fuzz_check.h"
#include "nctext/logic/highlight.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

const velmora::KeywordLists &lists() {
    static const velmora::KeywordLists l = [] {
        velmora::KeywordLists k;
        for (const char *w : {"G01", "L", "CYCL", "G17.1"})
            k.first.add(QString::fromLatin1(w));
        k.first.addGenerated('Q', 0, 500);
        k.second.add(QStringLiteral("M30"));
        k.first.finish();
        k.second.finish();
        return k;
    }();
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    const QString text = decodeCp1250(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList lines = splitLines(text);
    const QByteArray utf8 = joinLines(lines).toUtf8();
    for (Syntax s : {Syntax::ISO, Syntax::ISO2, Syntax::Dialog}) {
        std::vector<quint8> expected;
        for (const QString &line : lines) {
            int next = 0;
            for (const Token &t : scanLine(s, line, &lists())) {
                FUZZ_CHECK(t.start == next && t.length > 0);
                FUZZ_CHECK(t.cls != TokenClass::Plain && int(t.cls) < kTokenClassCount);
                next += t.length;
                for (int i = t.start; i < next; ++i)
                    expected.insert(expected.end(), size_t(line.mid(i, 1).toUtf8().size()), quint8(t.cls));
            }
            FUZZ_CHECK(next == line.size());
            expected.insert(expected.end(), 2, quint8(TokenClass::Plain));
        }
        std::vector<quint8> styles(size_t(utf8.size()), 0xFF);
        styleUtf8(s, utf8.constData(), utf8.size(), &lists(), styles.data());
        FUZZ_CHECK(styles == expected);
        // Raw bytes that are not UTF-8: every byte still gets a class.
        std::vector<quint8> raw(size, 0xFF);
        styleUtf8(s, reinterpret_cast<const char *>(data), qsizetype(size), &lists(), raw.data());
        for (quint8 c : raw)
            FUZZ_CHECK(c < kTokenClassCount);
    }
    return 0;
}
