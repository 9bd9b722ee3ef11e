// Decoding and encoding Windows-1250 text, and splitting it into lines.
#include "common/codec.h"
#include "common/textfile.h"

#include <benchmark/benchmark.h>

static QByteArray program(int lines) {
    QByteArray out;
    for (int i = 0; i < lines; ++i)
        out += "N" + QByteArray::number(i * 10) + " G01 X+12.345 Y-67.89 Z-5 F200 ; \xe8\xe1st\r\n";
    return out;
}

static void BM_Decode(benchmark::State &state) {
    const QByteArray bytes = program(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::decodeCp1250(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Decode);

static void BM_Encode(benchmark::State &state) {
    const QString text = velmora::decodeCp1250(program(100000));
    QByteArray out;
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::encodeCp1250(text, out));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_Encode);

static void BM_DecodeAndSplit(benchmark::State &state) {
    const QByteArray bytes = program(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::splitLines(velmora::decodeCp1250(bytes)));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeAndSplit);

// What opening a program does: Windows-1250 bytes straight into the editor's UTF-8 with CR LF.
static void BM_DecodeToEditorText(benchmark::State &state) {
    const QByteArray bytes = program(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::cp1250ToUtf8Crlf(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeToEditorText);

BENCHMARK_MAIN();
