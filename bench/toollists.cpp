// Tool listings of large programs, the tool list file, and tool table edits.
#include "common/textfile.h"
#include "common/programfolder.h"
#include "tooltables/logic/tablesession.h"
#include "tooltables/logic/toollists.h"
#include "tooltables/logic/toolsheet.h"

#include <benchmark/benchmark.h>

using namespace velmora;

// A Heidenhain ISO program of about n lines: a tool change with its comment
// every 20 lines, cycling through `tools` different tools.
static QStringList heidenhainProgram(int n, int tools) {
    QStringList lines{QStringLiteral("%DIL G71 *")};
    for (int i = 1; lines.size() < n; ++i) {
        lines << QStringLiteral("N%1 T%2 G17 S1000 *").arg(i * 10).arg(i % tools + 1)
              << QStringLiteral(";FREZA VALCOVA D%1 *").arg(i % tools + 1);
        for (int k = 0; k < 18; ++k)
            lines << QStringLiteral("N%1 G01 X+%2 Y-5 F200 *").arg(i * 10 + k).arg(k);
    }
    lines << QStringLiteral("N99999 M30 *");
    return lines;
}

static QStringList mazakProgram(int n) {
    QStringList lines{QStringLiteral("%")};
    for (int i = 1; lines.size() < n; ++i) {
        lines << QStringLiteral("(FREZA D%1)").arg(i % 40 + 1) << QStringLiteral("T%1 T00 M06").arg(i % 40 + 1);
        for (int k = 0; k < 3; ++k)
            lines << QStringLiteral("G0 X%1").arg(k);
        lines << QStringLiteral("G43 H%1 Z100.").arg(i % 40 + 1);
        for (int k = 0; k < 14; ++k)
            lines << QStringLiteral("G1 X%1. Y5. F200").arg(k);
    }
    lines << QStringLiteral("M30");
    return lines;
}

static void BM_HeidenhainListing(benchmark::State &state) {
    const QStringList program = heidenhainProgram(int(state.range(0)), int(state.range(1)));
    const ToolListOptions o{false, false};
    for (auto _ : state) {
        ToolListing l = heidenhainListing(program, QStringLiteral("DIL.H"), o, {});
        benchmark::DoNotOptimize(l);
    }
    state.SetItemsProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_HeidenhainListing)->Args({1000000, 100})->Args({1000000, 5000})->Unit(benchmark::kMillisecond);

static void BM_MazakListing(benchmark::State &state) {
    const QStringList program = mazakProgram(int(state.range(0)));
    const ToolListOptions o{true, false};
    for (auto _ : state) {
        ToolListing l = mazakListing(program, QStringLiteral("DIL.EIA"), o);
        benchmark::DoNotOptimize(l);
    }
    state.SetItemsProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_MazakListing)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_ToolListFileRoundTrip(benchmark::State &state) {
    QList<ToolListItem> items;
    for (int i = 0; i < state.range(0); ++i)
        items.append({i % 50 == 0 ? 0 : 1, QStringLiteral("T%1 ;FREZA VALCOVA D20 *").arg(i)});
    for (auto _ : state) {
        QList<ToolListItem> back;
        QString error;
        parseToolListFile(toolListFileLines(items), back, &error);
        benchmark::DoNotOptimize(back);
    }
    state.SetItemsProcessed(state.iterations() * items.size());
}
BENCHMARK(BM_ToolListFileRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond);

// Inserting and deleting at tool 1 (every line moves) and the sheet of a full table.
static void BM_TableInsertDeleteAndSheet(benchmark::State &state) {
    QStringList lines{QStringLiteral("BEGIN 0000    .TNC"), QString(205, u' '), QString(205, u' ')};
    for (int n = 1; n <= 100; ++n)
        lines << QStringLiteral("%1").arg(n, -3) + QStringLiteral("  TOOL%1").arg(n, -15) + QString(185, u' ');
    lines << QStringLiteral("[END]");
    ToolTableSession s(ToolTableKind::Tnc407);
    s.create(lines, QStringLiteral("0000.tnc"));
    for (auto _ : state) {
        s.insertTool(1);
        s.deleteTool(1);
        ToolSheet sheet = toolSheet(s.table(), s.tableName(), QStringLiteral("DIL.H"));
        benchmark::DoNotOptimize(sheet);
    }
}
BENCHMARK(BM_TableInsertDeleteAndSheet)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
