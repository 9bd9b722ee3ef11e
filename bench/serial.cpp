// Serial transfer: building the bytes of a program, and splitting received bytes into lines.
#include "comm/logic/transfer.h"

#include <benchmark/benchmark.h>

using namespace velmora::comm;

namespace {

QStringList program(int lines) {
    QStringList out;
    out.reserve(lines);
    for (int i = 0; i < lines; ++i)
        out << QStringLiteral("N%1 G1 X%2.125 Y-%3.5 Z-2. F800").arg(i * 10).arg(i % 500).arg(i % 300);
    return out;
}

void BM_MakeSendPlan(benchmark::State &state) {
    const QStringList lines = program(int(state.range(0)));
    MachineSettings m;
    m.chars = true;
    m.charBefore = QStringLiteral("#2");
    m.charAfter = QStringLiteral("#3");
    for (auto _ : state) {
        SendPlan plan;
        benchmark::DoNotOptimize(makeSendPlan(lines, m, plan));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MakeSendPlan)->Arg(1000)->Arg(100000);

void BM_ReceiveLines(benchmark::State &state) {
    QByteArray bytes;
    for (const QString &l : program(int(state.range(0))))
        bytes += l.toLatin1() + "\r\n";
    for (auto _ : state) {
        Receiver rx;
        // In chunks as a port delivers them.
        qsizetype lines = 0;
        for (qsizetype at = 0; at < bytes.size(); at += 4096)
            lines += rx.feed(bytes.mid(at, 4096), '\r').size();
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReceiveLines)->Arg(1000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
