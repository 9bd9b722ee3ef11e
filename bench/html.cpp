// The HTML export of a program with colours.
#include "nctext/logic/html.h"

#include <benchmark/benchmark.h>

using namespace velmora;

static QStringList program(int lines) {
    QStringList out;
    out.reserve(lines);
    for (int i = 0; i < lines; ++i)
        out << QStringLiteral("N%1 G01 X+12.345 Y-67.89 Z-5 F200 S1200 M3 (hrubování <čep> & \"díra\")").arg(i * 10);
    return out;
}

static void BM_ExportHtml(benchmark::State &state) {
    const Syntax s = Syntax(state.range(0));
    const QStringList lines = program(100000);
    KeywordLists lists;
    lists.first.add(QStringLiteral("G01"));
    lists.second.add(QStringLiteral("M3"));
    lists.first.finish();
    lists.second.finish();
    HtmlExportOptions o;
    o.syntax = s;
    o.style = defaultSyntaxStyle(s);
    o.lists = &lists;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray html = exportHtml(lines, o);
        bytes += html.size();
        benchmark::DoNotOptimize(html.constData());
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
    state.counters["html_bytes"] = benchmark::Counter(double(bytes) / double(state.iterations()));
}
BENCHMARK(BM_ExportHtml)->Arg(int(Syntax::None))->Arg(int(Syntax::ISO))->Arg(int(Syntax::Dialog))->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
