// The simulation engine on a generated 1,000,000-line Heidenhain ISO program
// (rapid and feed moves, arcs, Q assignments, D functions, a counted loop in
// every group of 13 lines), the memory of its segments, and the command-line
// tool beside LinuxCNC's rs274 on the RS274NGC twin of the same program.
//
// The two programs are written to $TMPDIR (default /tmp) as velmora_sim.nc and
// velmora_sim.ngc; hyperfine runs the two commands side by side:
//   hyperfine 'B/Velmora/velmora-cli simulate --run --summary /tmp/velmora_sim.nc'
//             'rs274 -g /tmp/velmora_sim.ngc /tmp/rs274.out'
#include "common/codec.h"
#include "common/textfile.h"
#include "bench/simprogram.h"
#include "simulator/logic/interpreter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

using namespace velmora;
using namespace velmora::sim;
using namespace velmora::bench;

namespace {

QString tempFile(const char *name) {
    const QByteArray dir = qgetenv("TMPDIR");
    return (dir.isEmpty() ? QStringLiteral("/tmp") : QString::fromLocal8Bit(dir)) + QLatin1Char('/') + QLatin1String(name);
}

const QStringList &program() {
    static const QStringList p = heidenhainProgram(1000000);
    return p;
}

void writeFiles() {
    static bool written = false;
    if (written)
        return;
    written = true;
    saveTextFile(tempFile("velmora_sim.nc"), program());
    QFile f(tempFile("velmora_sim.ngc"));
    if (f.open(QIODevice::WriteOnly))
        f.write(ngcTwin(1000000));
}

class NoMarks final : public RunHooks {
public:
    bool stopMarkAt(int) override { return false; }
};

void BM_SimulateMillionLineProgram(benchmark::State &state) {
    const StringListProgram text(program());
    NoMarks hooks;
    qint64 blocks = 0;
    size_t segments = 0, bytes = 0;
    for (auto _ : state) {
        SimModule module;
        Simulation sim(module, text);
        sim.reset();
        const RunResult r = sim.run(&hooks, -1);
        blocks = r.blocks;
        segments = sim.segments().size();
        bytes = sim.segments().bytes();
        benchmark::DoNotOptimize(sim.totalTime());
    }
    state.counters["blocks"] = double(blocks);
    state.counters["blocks_per_s"] = benchmark::Counter(double(blocks) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["segments"] = double(segments);
    state.counters["segments_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_SimulateMillionLineProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// A million straight feed moves: memory of the segment store.
void BM_SegmentsOfMillionStraightMoves(benchmark::State &state) {
    QStringList lines{QStringLiteral("%S G71 *"), QStringLiteral("G90 G01 F100")};
    for (int i = 0; i < 1000000; ++i)
        lines << QStringLiteral("X%1 Y%2").arg(i % 1000).arg(i / 1000);
    lines << QStringLiteral("M30") << QStringLiteral("%S G71 *");
    const StringListProgram text(lines);
    NoMarks hooks;
    size_t bytes = 0, segments = 0;
    for (auto _ : state) {
        SimModule module;
        Simulation sim(module, text);
        sim.reset();
        sim.run(&hooks, -1);
        bytes = sim.segments().bytes();
        segments = sim.segments().size();
    }
    state.counters["segments"] = double(segments);
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["bytes_per_segment"] = double(bytes) / double(segments);
}
BENCHMARK(BM_SegmentsOfMillionStraightMoves)->Unit(benchmark::kMillisecond)->Iterations(2);

// Wall time of a command, started from this process.
double runCommand(const QString &program, const QStringList &args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    return double(t.nsecsElapsed()) / 1e9;
}

void BM_CliSimulateRunSummary(benchmark::State &state) {
    writeFiles();
    const QString cli = QStringLiteral(VELMORA_CLI);
    for (auto _ : state) {
        const double s = runCommand(cli, {QStringLiteral("simulate"), QStringLiteral("--run"), QStringLiteral("--summary"),
                                          tempFile("velmora_sim.nc")});
        if (s < 0) {
            state.SkipWithError("velmora-cli failed");
            break;
        }
        state.SetIterationTime(s);
    }
}
BENCHMARK(BM_CliSimulateRunSummary)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Rs274Twin(benchmark::State &state) {
    writeFiles();
    const QString rs274 = QStandardPaths::findExecutable(QStringLiteral("rs274"));
    if (rs274.isEmpty()) {
        state.SkipWithError("rs274 (Debian package linuxcnc-uspace) is not installed");
        return;
    }
    for (auto _ : state) {
        const double s = runCommand(rs274, {QStringLiteral("-g"), tempFile("velmora_sim.ngc"), tempFile("rs274.out")});
        if (s < 0) {
            state.SkipWithError("rs274 failed");
            break;
        }
        state.SetIterationTime(s);
    }
}
BENCHMARK(BM_Rs274Twin)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
