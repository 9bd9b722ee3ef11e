// Comparing two 1,000,000-line program files, reading included.
#include "common/textfile.h"
#include "nctext/logic/compare.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

static void BM_CompareFiles(benchmark::State &state) {
    QTemporaryDir dir;
    QStringList a, b;
    for (int i = 0; i < state.range(0); ++i) {
        a << QStringLiteral("N%1 G01 X+12.345 Y-67.89 Z-5 F200").arg(i * 10);
        b << (i % 1000 == 0 ? QStringLiteral("n%1 g01 x+12.345 Y-67.89 Z-6 F200").arg(i * 10) : a.last().toLower());
    }
    const QString fa = dir.filePath("a.nc"), fb = dir.filePath("b.nc");
    saveTextFile(fa, a);
    saveTextFile(fb, b);
    for (auto _ : state) {
        const CompareResult r = compareFiles(fa, fb);
        if (r.report.size() != 8 + 3 * 1000)
            state.SkipWithError("unexpected report");
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CompareFiles)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The line-by-line part alone, on lines already read.
static void BM_CompareLines(benchmark::State &state) {
    QStringList a, b;
    for (int i = 0; i < state.range(0); ++i) {
        a << QStringLiteral("N%1 G01 X+12.345 Y-67.89 Z-5 F200").arg(i * 10);
        b << (i % 1000 == 0 ? QStringLiteral("n%1 g01 x+12.345 Y-67.89 Z-6 F200").arg(i * 10) : a.last().toLower());
    }
    for (auto _ : state) {
        CompareResult r;
        compareLines(a, b, r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CompareLines)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
