// Sending a 1 MB program through a real pseudo-terminal pair (socat) to a peer
// that reads it on another thread: the throughput, and the sender's CPU time
// per kilobyte (the benchmark's CPU time is the sending thread's).
#include "comm/logic/session.h"
#include "comm/logic/tcomm.h"
#include "comm/logic/transfer.h"
#include "tests/comm/ptypair.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <thread>

using namespace velmora;
using namespace velmora::comm;

static void BM_SendOneMegabyteThroughPty(benchmark::State &state) {
    test::PtyPair pty;
    if (!pty.ok()) {
        state.SkipWithError(qPrintable(pty.error()));
        return;
    }
    test::Peer peer(pty.peer());
    QStringList lines;
    qsizetype bytes = 0;
    for (int i = 0; bytes < 1024 * 1024; ++i) {
        lines << QStringLiteral("N%1 G1 X%2.125 Y-%3.5 Z-2. F800").arg(i * 10).arg(i % 500).arg(i % 300);
        bytes += lines.last().size() + 2;
    }
    MachineSettings m;
    SendPlan plan;
    makeSendPlan(lines, m, plan);
    TComm port;
    PortSettings s;
    s.deviceName = pty.ours();
    if (!port.setSettings(s) || !port.open()) {
        state.SkipWithError(qPrintable(port.lastError()));
        return;
    }
    for (auto _ : state) {
        QByteArray received;
        std::thread reader([&] { received = peer.read(bytes, 1000, 60000); });
        const SendResult r = sendThrough(port, plan);
        reader.join();
        if (!r.complete() || received.size() != bytes)
            state.SkipWithError("the peer did not get the whole program");
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_SendOneMegabyteThroughPty)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
