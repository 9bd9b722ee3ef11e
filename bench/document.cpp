// Opening a 1,000,000-line program in the main window: reading, decoding and showing it,
// and the start-up of the main window itself.
#include "shell/widgets/document.h"
#include "shell/widgets/tfeditor.h"
#include "shell/logic/userio.h"
#include "common/programfolder.h"
#include "nctext/logic/renumber.h"
#include "nctext/widgets/commands.h"
#include "shell/widgets/host.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <string>

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

// A field of /proc/self/status in MB ("VmHWM", "VmRSS").
double statusMb(const char *field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

// Starts a new peak: VmHWM becomes the current resident size.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Closes a document without its question and frees it at once.
void closeUnsaved(velmora::TFEditor &w, velmora::Document *doc) {
    doc->setModified(false);
    w.closeDocument(doc);
    QApplication::processEvents();
    // Closed documents are deleted by the event loop, which a benchmark does not run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

static void BM_OpenMillionLineProgram(benchmark::State &state) {
    const QString path = writeProgram(scratch().filePath("big.nc"), 1000000);
    velmora::ScriptedUserIO io;
    velmora::TFEditor w(&io);
    w.show();
    QApplication::processEvents();
    const double before = statusMb("VmRSS");
    double peak = 0, open = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        state.ResumeTiming();
        velmora::Document *doc = w.openDocument(path);
        // Shown and scrolled to the end once, as a user would look at it.
        QApplication::processEvents();
        doc->setCaret(doc->lineCount(), 1);
        QApplication::processEvents();
        benchmark::DoNotOptimize(doc->lineCount());
        state.PauseTiming();
        peak = statusMb("VmHWM");
        open = statusMb("VmRSS");
        closeUnsaved(w, doc);
        state.ResumeTiming();
    }
    state.counters["rss_before_MB"] = before;
    state.counters["peak_MB"] = peak;
    state.counters["rss_open_MB"] = open;
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_OpenMillionLineProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// The renumbering command of the main window on the opened program: reading
// the lines, renumbering, writing back the changed lines as one undo step.
// Counters: the process's resident size with the program open, its peak during
// the command and its size afterwards (the undo step holds the old and new text).
static void BM_RenumberCommandMillionLines(benchmark::State &state) {
    const QString path = writeProgram(scratch().filePath("big.nc"), 1000000);
    velmora::ScriptedUserIO io;
    velmora::TFEditor w(&io);
    w.show();
    velmora::RenumberOptions o;
    o.first = QStringLiteral("5");
    o.to = velmora::EndMarker::Whole;
    double open = 0, peak = 0, after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        velmora::Document *doc = w.openDocument(path);
        QApplication::processEvents();
        open = statusMb("VmRSS");
        resetPeak();
        state.ResumeTiming();
        velmora::renumberDocument(w.host(), doc, o, false);
        QApplication::processEvents();
        state.PauseTiming();
        peak = statusMb("VmHWM");
        after = statusMb("VmRSS");
        if (!doc->line(999999).startsWith(QStringLiteral("N9999995 ")))
            state.SkipWithError("not renumbered");
        closeUnsaved(w, doc);
        state.ResumeTiming();
    }
    state.counters["rss_open_MB"] = open;
    state.counters["peak_MB"] = peak;
    state.counters["rss_after_MB"] = after;
}
BENCHMARK(BM_RenumberCommandMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

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
