// Opening a 1,000,000-line program in the main window: reading, decoding and showing it,
// and the start-up of the main window itself.
#include "shell/widgets/document.h"
#include "shell/widgets/tfeditor.h"
#include "shell/logic/userio.h"
#include "common/programfolder.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// About 28 bytes a line, like a long ISO program.
QString writeProgram(const QString &path, int lines) {
    QByteArray out;
    out.reserve(lines * 30);
    for (int i = 0; i < lines; ++i)
        out += "N" + QByteArray::number(i * 10) + " G01 X+12.345 Y-67.89 F200\r\n";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(out);
    return path;
}

QTemporaryDir &scratch() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

static void BM_OpenMillionLineProgram(benchmark::State &state) {
    const QString path = writeProgram(scratch().filePath("big.nc"), 1000000);
    velmora::ScriptedUserIO io;
    velmora::TFEditor w(&io);
    w.show();
    for (auto _ : state) {
        velmora::Document *doc = w.openDocument(path);
        // Shown and scrolled to the end once, as a user would look at it.
        QApplication::processEvents();
        doc->setCaret(doc->lineCount(), 1);
        QApplication::processEvents();
        benchmark::DoNotOptimize(doc->lineCount());
        state.PauseTiming();
        doc->setModified(false);
        w.closeDocument(doc);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_OpenMillionLineProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_MainWindowStartUp(benchmark::State &state) {
    velmora::ScriptedUserIO io;
    for (auto _ : state) {
        velmora::TFEditor w(&io);
        w.buildTemplatePanel();
        w.applyStoredLayout();
        w.finishStartup();
        w.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MainWindowStartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    velmora::setProgramFolder(scratch().path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
