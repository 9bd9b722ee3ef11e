// Renumbering, spacing and the coordinate check of a 1,000,000-line program.
#include "nctext/logic/coordinates.h"
#include "nctext/logic/renumber.h"

#include <benchmark/benchmark.h>

using namespace velmora;

static QStringList program(int n) {
    QStringList lines;
    lines.reserve(n + 2);
    lines << QStringLiteral("%PGM N0 :1234");
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("N%1 G01 X+12.345 Y-67.89 Z-5 F200").arg(i * 5);
    lines << QStringLiteral("N99 M30");
    return lines;
}

// Times `edit` on a fresh copy of `in` each round. The copy, and the freeing of
// the previous result, happen outside the timing; the first round grows the
// heap and is not timed.
template <typename Edit>
void timeOnCopies(benchmark::State &state, const QStringList &in, Edit edit) {
    QStringList lines;
    bool warm = false;
    for (auto _ : state) {
        state.PauseTiming();
        lines = in;
        if (!warm) {
            edit(lines);
            lines = in;
            warm = true;
        }
        state.ResumeTiming();
        edit(lines);
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * in.size());
}

static void BM_RenumberIso(benchmark::State &state) {
    const QStringList in = program(int(state.range(0)));
    RenumberOptions o;
    o.to = EndMarker::M30;
    timeOnCopies(state, in, [&](QStringList &l) { renumber(l, o); });
}
BENCHMARK(BM_RenumberIso)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_RenumberHeidenhain426(benchmark::State &state) {
    QStringList in;
    for (int i = 0; i < state.range(0); ++i)
        in << (i % 5 == 3 ? QStringLiteral("  Q200=2 ;BEZPECNA VZDALENOST") : QStringLiteral("%1 L X+10 Y+5 R0 FMAX").arg(i));
    RenumberOptions o;
    o.page = RenumberPage::Heidenhain;
    o.variant = HeidenhainVariant::Tnc426;
    timeOnCopies(state, in, [&](QStringList &l) { renumber(l, o); });
}
BENCHMARK(BM_RenumberHeidenhain426)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_Spacing(benchmark::State &state) {
    QStringList in;
    for (int i = 0; i < state.range(0); ++i)
        in << QStringLiteral("N%1G01X12.345Y-67.89Z-5F200").arg(i * 10);
    timeOnCopies(state, in, [&](QStringList &l) { applySpacing(l, QStringLiteral("1"), EndMarker::Whole); });
}
BENCHMARK(BM_Spacing)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_SpacingRemove(benchmark::State &state) {
    const QStringList in = program(int(state.range(0)));
    timeOnCopies(state, in, [&](QStringList &l) { applySpacing(l, QStringLiteral("0"), EndMarker::Whole); });
}
BENCHMARK(BM_SpacingRemove)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_CheckCoordinates(benchmark::State &state) {
    QStringList in = program(int(state.range(0)));
    for (int i = 0; i < in.size(); i += 1000)
        in[i] = QStringLiteral("G1 X100 Y0"); // a finding every 1000 lines
    for (auto _ : state)
        benchmark::DoNotOptimize(checkCoordinates(in));
    state.SetItemsProcessed(state.iterations() * in.size());
}
BENCHMARK(BM_CheckCoordinates)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
