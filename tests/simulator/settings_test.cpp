// Plugin/Simdra.ini as the simulator window and its settings dialog read and write it.
#include "simulator/logic/simsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::sim;

TEST(SimdraSettings, DefaultsDifferForTheCurrentLine) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Simdra.ini")); // no file
    const SimdraSettings window = SimdraSettings::forWindow(ini);
    const SimdraSettings dialog = SimdraSettings::forDialog(ini);
    EXPECT_EQ(window.currentLine, clYellow);
    EXPECT_EQ(dialog.currentLine, clWhite);
    EXPECT_EQ(dialog.rapidMachine, "10000");
    EXPECT_EQ(dialog.toolChange, "0,5");
    EXPECT_EQ(window.background, clGray);
    EXPECT_EQ(window.leftComp, clRed);
    EXPECT_EQ(window.rightComp, clYellow);
    EXPECT_EQ(window.noneComp, clBlue);
    EXPECT_EQ(window.rapid, clWhite);
}

TEST(SimdraSettings, WrittenKeyByKeyAndReadBack) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Plugin/Simdra.ini"));
    SimdraSettings s;
    s.background = clBlack;
    s.rapid = clAqua;
    s.currentLine = colorFromRgb(1, 2, 3);
    s.rapidMachine = QStringLiteral("20000");
    s.toolChange = QStringLiteral("1,25");
    QString error;
    ASSERT_TRUE(s.write(ini, &error)) << error.toStdString();
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Heidenhain]\r\nBackground=clBlack\r\nLeftComp=clRed\r\nRightComp=clYellow\r\n"
                                      "NoneComp=clBlue\r\nRapid=clAqua\r\nRapidMaschine=20000\r\nToolChange=1,25\r\n"
                                      "CurentLine=$00030201\r\n"));
    const SimdraSettings back = SimdraSettings::forDialog(ini);
    EXPECT_EQ(back.background, clBlack);
    EXPECT_EQ(back.currentLine, colorFromRgb(1, 2, 3));
    EXPECT_EQ(back.toolChange, "1,25");
}
