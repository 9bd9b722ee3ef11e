// The simulator window with its OpenGL path view on a real X server (xvfb-run).
#include "shell/logic/userio.h"
#include "simulator/widgets/pathview.h"
#include "simulator/widgets/simdialogs.h"
#include "simulator/widgets/tform1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::sim;

namespace {

void settle(int ms = 200) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

bool needsX() { return QGuiApplication::platformName() != QLatin1String("xcb") || !openGlAvailable(); }

QStringList pocket() {
    QStringList p{QStringLiteral("%KAPSA G71 *"), QStringLiteral("N10 G90 G17 T1 S2000"), QStringLiteral("N20 G00 X0 Y0 Z5"),
                  QStringLiteral("N30 G01 Z-2 F200")};
    for (int i = 0; i < 10; ++i) {
        const int a = 5 * i;
        p << QStringLiteral("N%1 G41 G01 X%2 Y%2").arg(40 + 10 * i).arg(-a);
        p << QStringLiteral("G01 X%1").arg(100 + a);
        p << QStringLiteral("G03 X%1 Y%2 I%3 J%4").arg(100 + a).arg(60 + a).arg(100 + a).arg(30);
        p << QStringLiteral("G01 X%1").arg(-a);
    }
    p << QStringLiteral("N900 G40 G00 Z100") << QStringLiteral("N910 M30") << QStringLiteral("N920 %KAPSA G71 *");
    return p;
}

TEST(SimulatorView, DrawsThePathAndPicksASegment) {
    if (needsX())
        GTEST_SKIP() << "needs an X server with OpenGL (the test command runs it under xvfb-run)";
    QTemporaryDir dir;
    SimModule module;
    ScriptedUserIO io;
    TForm1 form(module, io, dir.filePath(QStringLiteral("Simdra.ini")));
    TFSetup setup(&form);
    setup.readSettings(dir.filePath(QStringLiteral("Simdra.ini")));
    TFInfo info(io, &form);
    TFHelp help(&form);
    form.setDialogs(&setup, &info, &help);
    form.setProgram(pocket());
    form.resize(1280, 900);
    form.show();
    settle();
    form.action(QStringLiteral("Plynule1"))->trigger();
    PathView *view = form.view();
    ASSERT_TRUE(view);
    view->camera().setDistance(260);
    view->cameraChanged();
    settle(500);
    const QImage frame = view->grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    int red = 0, white = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QColor c = frame.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60;  // left compensation
            white += c.red() > 230 && c.green() > 230 && c.blue() > 230; // rapid moves
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(white, 20);
    form.grab().save(QStringLiteral(SIM_SHOT));
    // The whole screen too, with the floating "Pozice" panel.
    form.findChild<QWidget *>(QStringLiteral("PageControl1"))->setProperty("currentIndex", 2);
    settle(100);
    QGuiApplication::primaryScreen()->grabWindow(0).save(QStringLiteral(SIM_SHOT).replace(QStringLiteral(".png"), QStringLiteral("_screen.png")));

    // The feed move of line 10 (to X105 at Y-5 from X-5) picked at its middle.
    const SegmentStore &segs = form.simulation().segments();
    long feed = -1;
    for (size_t i = 0; i < segs.size(); ++i)
        if (segs[i].line == 10 && segs[i].count == 2)
            feed = long(i);
    ASSERT_GE(feed, 0);
    const Point3f *p = segs.points(segs[size_t(feed)]);
    double sx, sy;
    ASSERT_TRUE(view->camera().project({(p[0].x + p[1].x) / 2.0, (p[0].y + p[1].y) / 2.0, (p[0].z + p[1].z) / 2.0},
                                       view->width(), view->height(), sx, sy));
    EXPECT_EQ(view->segmentAt(QPoint(int(std::lround(sx)), int(std::lround(sy)))), feed);
    EXPECT_EQ(view->segmentAt(QPoint(2, 2)), -1);

    // Picking with "Zjistit souřadnice přímek" on opens the information window with the segment's texts.
    form.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
    QString start, type;
    QTimer::singleShot(100, &info, [&] {
        start = info.text("LStartX");
        type = info.text("LTyp");
        info.accept();
    });
    form.pick(QPoint(int(std::lround(sx)), int(std::lround(sy))));
    EXPECT_EQ(start, "-5");
    EXPECT_EQ(type, "posuv levá korekce");
    EXPECT_EQ(segs[size_t(feed)].colour, clRed); // its colour back
}

TEST(SimulatorView, ReducedPathWhileMoving) {
    if (needsX())
        GTEST_SKIP() << "needs an X server with OpenGL";
    QStringList prog{QStringLiteral("%P G71 *"), QStringLiteral("G90 G17 G01 F1000")};
    for (int i = 0; i < 60000; ++i)
        prog << QStringLiteral("X%1 Y%2").arg((i * 37) % 200).arg((i * 53) % 150);
    prog << QStringLiteral("M30") << QStringLiteral("%P");
    QTemporaryDir dir;
    SimModule module;
    ScriptedUserIO io;
    TForm1 form(module, io, dir.filePath(QStringLiteral("Simdra.ini")));
    TFSetup setup(&form);
    form.setDialogs(&setup, nullptr, nullptr);
    form.setProgram(prog);
    form.resize(1200, 900);
    form.show();
    settle();
    form.action(QStringLiteral("Plynule1"))->trigger();
    PathView *view = form.view();
    QElapsedTimer t;
    t.start();
    while (!view->reducedReady() && t.elapsed() < 20000)
        settle(50);
    ASSERT_TRUE(view->reducedReady());
    view->camera().turn(3);
    view->cameraChanged();
    settle(60);
    EXPECT_TRUE(view->lastFrameReduced());
    settle(600); // at rest the whole path again
    EXPECT_FALSE(view->lastFrameReduced());
}

} // namespace
