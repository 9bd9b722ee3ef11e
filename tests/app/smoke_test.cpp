// Opens the main window on a real X server with the shipped example program and keeps a screenshot.
#include "common/language.h"
#include "shell/logic/userio.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

#include <gtest/gtest.h>

using namespace velmora;

TEST(WindowSmoke, MainWindowWithAProgramOnTheScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (the test command runs it under xvfb-run)";
    test::ScratchFolder folder;
    for (const char *f : {"Language/Cestina.lng", "priklady/ukazka_iso.nc", "pripony.ext", "sablony/iso.sab", "sablony/dialog.sab"}) {
        QDir().mkpath(QFileInfo(folder.file(f)).path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_PROGRAM_DIR "/") + f, folder.file(f))) << f;
    }
    setCurrentLanguageFile("Cestina.lng");
    ScriptedUserIO io;
    TFEditor w(&io);
    w.buildTemplatePanel();
    w.applyStoredLayout();
    w.openStartupFiles({folder.file("priklady/ukazka_iso.nc")});
    w.finishStartup();
    w.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    ASSERT_NE(w.activeDocument(), nullptr);
    EXPECT_GT(w.activeDocument()->lineCount(), 5);
    EXPECT_EQ(w.menuBar()->actions().value(0)->text(), "Soubor");
    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral(VELMORA_SHOT)));
    // Something is drawn: many different colours, not one empty surface.
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 7)
        for (int x = 0; x < shot.width(); x += 7)
            colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 8);
    EXPECT_TRUE(io.shown.isEmpty());
    setCurrentLanguageFile(QString());
}
