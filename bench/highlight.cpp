// The highlighters' line scanners: tokens of one line, and the style bytes of
// the editor's UTF-8 text as the lexers hand them to Scintilla.
#include "nctext/logic/highlight.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace velmora;

namespace {

KeywordLists lists(Syntax s) {
    KeywordLists l;
    for (const char *w : {"G0", "G00", "G01", "G02", "G03", "G17", "G40", "G41", "G90", "L", "CALL", "TOOL", "FMAX", "CYCL", "DEF"})
        l.first.add(QString::fromLatin1(w));
    if (s == Syntax::ISO) {
        l.first.addGenerated('D', 0, 512);
        l.first.addGenerated('H', 0, 512);
        l.second.addGenerated('T', 0, 160);
    } else {
        l.first.addGenerated('Q', 0, 500);
    }
    for (const char *w : {"M3", "M5", "M30", "M6", "M8", "M9"})
        l.second.add(QString::fromLatin1(w));
    l.first.finish();
    l.second.finish();
    return l;
}

QString line(Syntax s, int i) {
    if (s == Syntax::Dialog)
        return QStringLiteral("%1 L X+12.345 Y-67,89 R0 FMAX M3 ; hrubování čepu").arg(i);
    return QStringLiteral("N%1 G01 X+12.345 Y-67.89 Z-5 F200 S1200 M3 (hrubování)").arg(i * 10);
}

// One million lines as the editor holds them.
const QByteArray &document(Syntax s) {
    static QByteArray texts[4];
    QByteArray &t = texts[int(s)];
    if (t.isEmpty()) {
        QString all;
        for (int i = 0; i < 1000000; ++i)
            all += line(s, i) + QStringLiteral("\r\n");
        t = all.toUtf8();
    }
    return t;
}

void BM_ScanLine(benchmark::State &state) {
    const Syntax s = Syntax(state.range(0));
    const KeywordLists l = lists(s);
    const QString text = line(s, 12345);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanLine(s, text, &l));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScanLine)->Arg(int(Syntax::ISO))->Arg(int(Syntax::ISO2))->Arg(int(Syntax::Dialog));

// What the lexer does for one screen: 60 lines somewhere in a million-line document.
void BM_StyleScreen(benchmark::State &state) {
    const Syntax s = Syntax(state.range(0));
    const KeywordLists l = lists(s);
    const QByteArray &doc = document(s);
    const qsizetype from = doc.indexOf('\n', doc.size() / 2) + 1;
    qsizetype to = from;
    for (int i = 0; i < 60; ++i)
        to = doc.indexOf('\n', to) + 1;
    std::vector<quint8> styles(size_t(to - from));
    for (auto _ : state)
        styleUtf8(s, doc.constData() + from, to - from, &l, styles.data());
    state.SetBytesProcessed(state.iterations() * (to - from));
}
BENCHMARK(BM_StyleScreen)->Arg(int(Syntax::ISO))->Arg(int(Syntax::ISO2))->Arg(int(Syntax::Dialog));

// The worst case: Scintilla asks for the whole document at once (a jump to its end).
void BM_StyleMillionLines(benchmark::State &state) {
    const Syntax s = Syntax(state.range(0));
    const KeywordLists l = lists(s);
    const QByteArray &doc = document(s);
    std::vector<quint8> styles(size_t(doc.size()));
    for (auto _ : state)
        styleUtf8(s, doc.constData(), doc.size(), &l, styles.data());
    state.SetBytesProcessed(state.iterations() * doc.size());
}
BENCHMARK(BM_StyleMillionLines)->Arg(int(Syntax::ISO))->Arg(int(Syntax::ISO2))->Arg(int(Syntax::Dialog))->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
