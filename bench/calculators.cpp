// The calculators' arithmetic and NC text: a large hole circle with its report
// and blocks, a long row of holes, and groove programs.
#include "calculators/logic/circle.h"
#include "calculators/logic/groove.h"
#include "calculators/logic/linepoints.h"

#include <benchmark/benchmark.h>

using namespace velmora::calc;

static void BM_CircleGroupAndBlocks(benchmark::State &state) {
    const CircleTexts texts = CircleTexts::czech();
    CircleInput in;
    in.holes = QString::number(state.range(0));
    in.startAngle = QStringLiteral("0");
    in.stepAngle = QString::number(360.0 / double(state.range(0)), 'f', 6).replace(QLatin1Char('.'), QLatin1Char(','));
    for (auto _ : state) {
        CircleCalculator c(texts);
        c.calculate(in, [] { return true; });
        benchmark::DoNotOptimize(circleBlocks(c.report(), texts, QStringLiteral("N1")));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CircleGroupAndBlocks)->Arg(100)->Arg(10000);

static void BM_LineRecalculate(benchmark::State &state) {
    const LineTexts texts = LineTexts::czech();
    LineCalculator c(texts);
    LineInput in;
    in.holes = QString::number(state.range(0));
    for (int g = 0; g < 10; ++g)
        c.calculate(in);
    for (auto _ : state) {
        c.recalculate();
        benchmark::DoNotOptimize(lineBlocks(c.report(), texts, QStringLiteral("N1")));
    }
    state.SetItemsProcessed(state.iterations() * 10 * state.range(0));
}
BENCHMARK(BM_LineRecalculate)->Arg(1000);

static void BM_GrooveProgram(benchmark::State &state) {
    GrooveInput in;
    in.x0 = QStringLiteral("12,5");
    in.angle = QStringLiteral("37");
    for (auto _ : state) {
        for (int dir : {0, 1})
            for (const char *ap : {"1", "2", "3", "4"}) {
                in.direction = dir;
                in.approach = QString::fromLatin1(ap);
                benchmark::DoNotOptimize(grooveNcLines(grooveText(in)));
            }
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_GrooveProgram);

BENCHMARK_MAIN();
