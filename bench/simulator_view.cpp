// The simulator as a user runs it: Velmora's main window with the generated
// 1,000,000-line program open, "Simulace Heidenhain 407 ISO" chosen from its
// menu (the real Simdra plug-in), a continuous run up to the first frame of the
// whole path, the reduced path built, orbiting the path with the "6" key, full
// frames at rest, and the memory of the whole process. On a real X server with
// OpenGL (Mesa's software renderer under Xvfb):
//   xvfb-run -a -s "-screen 0 1600x1000x24" B/bench/bench_simulator_view
#include "bench/simprogram.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "plugin/widgets/install.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace velmora;

namespace {

// Resident and peak memory of this process in MB (VmRSS, VmHWM).
double statusMb(const char *key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(strlen(key))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

QWindow *pathView() {
    for (QWindow *w : QGuiApplication::allWindows())
        if (w->inherits("velmora::sim::PathView"))
            return w;
    return nullptr;
}

QWidget *simulatorWindow() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Form1") && w->isVisible())
            return w;
    return nullptr;
}

qint64 frames(QWindow *view) { return view->property("framesDrawn").toLongLong(); }

// Processes events until the view has drawn one more frame.
void waitForFrame(QWindow *view) {
    const qint64 before = frames(view);
    QElapsedTimer t;
    t.start();
    while (frames(view) == before && t.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (frames(view) == before)
            QThread::usleep(200);
    }
}

struct Figures {
    double runMs = 0, runAndFrameMs = 0, reducedMs = 0, orbitFps = 0, fullFrameMs = 0;
    int reducedFrames = 0;
    double rssRun = 0, peak = 0, viewMb = 0, rssOpen = 0, rssAfterRun = 0, rssAfterFrame = 0;
    qulonglong strips = 0;
    bool ok = false;
};

// Drives the simulator window from inside its modal loop.
void drive(Figures &f) {
    QWidget *form = simulatorWindow();
    QWindow *view = pathView();
    if (!form || !view) {
        if (form)
            form->close();
        return;
    }
    waitForFrame(view);
    f.rssOpen = statusMb("VmRSS:");
    QElapsedTimer t;
    t.start();
    form->findChild<QAction *>(QStringLiteral("Plynule1"))->trigger();
    f.runMs = double(t.nsecsElapsed()) / 1e6;
    f.rssAfterRun = statusMb("VmRSS:");
    waitForFrame(view);
    f.runAndFrameMs = double(t.nsecsElapsed()) / 1e6;
    f.rssAfterFrame = statusMb("VmRSS:");

    t.restart();
    while (!view->property("reducedReady").toBool() && t.elapsed() < 120000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    f.reducedMs = double(t.nsecsElapsed()) / 1e6;

    const int count = 40;
    t.restart();
    for (int i = 0; i < count; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"));
        QCoreApplication::sendEvent(view, &press);
        waitForFrame(view);
        f.reducedFrames += view->property("lastFrameReduced").toBool();
    }
    f.orbitFps = count / (double(t.nsecsElapsed()) / 1e9);

    QThread::msleep(400); // at rest: the whole path
    QApplication::processEvents();
    waitForFrame(view);
    t.restart();
    for (int i = 0; i < 3; ++i) {
        view->requestUpdate();
        waitForFrame(view);
    }
    f.fullFrameMs = double(t.nsecsElapsed()) / 1e6 / 3;
    f.strips = view->property("strips").toULongLong();
    f.viewMb = double(view->property("bytes").toULongLong()) / 1e6;
    f.rssRun = statusMb("VmRSS:");
    f.ok = true;
    form->close();
}

void BM_SimulatorInTheHost(benchmark::State &state) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !QOpenGLContext().create()) {
        state.SkipWithError("needs an X server with OpenGL: run it under xvfb-run");
        return;
    }
    setProgramFolder(QStringLiteral(VELMORA_PROGRAM_DIR));
    const QString file = QStringLiteral("/tmp/velmora_view.nc");
    saveTextFile(file, bench::heidenhainProgram(1000000));
    malloc_trim(0); // the generated lines are gone: only what the program holds counts
    for (auto _ : state) {
        ScriptedUserIO io;
        TFEditor w(&io);
        installPlugin(w.host());
        w.openStartupFiles({file});
        w.resize(1600, 1000);
        w.show();
        QApplication::processEvents();
        const double hostMb = statusMb("VmRSS:");

        QMenu *menu = w.host().menu(QStringLiteral("Simulace"));
        if (!menu || menu->actions().isEmpty()) {
            state.SkipWithError("Simdra is not in the program folder's Plugin/");
            return;
        }
        Figures f;
        // The run ends at M30 with the "Ok" box: answered as a user would.
        QTimer boxes;
        boxes.setInterval(20);
        QObject::connect(&boxes, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        boxes.start();
        QTimer::singleShot(0, [&] { drive(f); });
        menu->actions().first()->trigger();
        if (!f.ok) {
            for (const auto &m : io.shown)
                std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
            state.SkipWithError("the simulator window did not open with its view");
            return;
        }
        state.counters["host_with_program_MB"] = hostMb;
        state.counters["run_ms"] = f.runMs;
        state.counters["run_and_first_frame_ms"] = f.runAndFrameMs;
        state.counters["reduced_path_ms"] = f.reducedMs;
        state.counters["orbit_fps"] = f.orbitFps;
        state.counters["orbit_frames_reduced"] = f.reducedFrames;
        state.counters["full_frame_ms"] = f.fullFrameMs;
        state.counters["strips"] = double(f.strips);
        state.counters["view_MB"] = f.viewMb;
        state.counters["rss_with_window_MB"] = f.rssRun;
        state.counters["rss_window_open_MB"] = f.rssOpen;
        state.counters["rss_after_run_MB"] = f.rssAfterRun;
        state.counters["rss_after_first_frame_MB"] = f.rssAfterFrame;
        state.counters["peak_MB"] = statusMb("VmHWM:");
        w.activeDocument()->setModified(false);
    }
}
BENCHMARK(BM_SimulatorInTheHost)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
