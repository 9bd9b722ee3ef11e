// The settings file rules the shell relies on: recent files, the block prefix, file-dialog filters.
#include "common/ini.h"
#include "shell/logic/setup.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Setup, RecentFilesShiftOnlyFilledKeysAndKeepDuplicates) {
    test::ScratchFolder folder;
    IniFile ini = setupIni();
    for (const char *p : {"/a.nc", "/b.nc", "/b.nc", "/c.nc", "/d.nc", "/e.nc", "/f.nc"})
        addRecentFile(ini, QString::fromLatin1(p));
    EXPECT_EQ(readRecentFiles(), (QStringList{"/f.nc", "/e.nc", "/d.nc", "/c.nc", "/b.nc"}));
    // Empty keys are not copied down: with only key "1" set, key "2" gets it and "3" stays empty.
    IniFile fresh(folder.file("other.ini"));
    fresh.writeString("LastOpen", "1", "/x.nc");
    addRecentFile(fresh, "/y.nc");
    EXPECT_EQ(fresh.readString("LastOpen", "1"), "/y.nc");
    EXPECT_EQ(fresh.readString("LastOpen", "2"), "/x.nc");
    EXPECT_EQ(fresh.readString("LastOpen", "3"), "");
    clearRecentFiles(ini);
    EXPECT_TRUE(readRecentFiles().isEmpty());
    EXPECT_TRUE(ini.hasKey("LastOpen", "5"));
}

TEST(Setup, BlockPrefixAndDefaultsOfAMissingFile) {
    test::ScratchFolder folder;
    EXPECT_EQ(blockPrefix(), "N1");
    const EditorOptions o = readEditorOptions();
    EXPECT_TRUE(o.trim);
    EXPECT_EQ(o.background, clCream);
    EXPECT_EQ(o.fontSize, 10);
    EXPECT_EQ(defaultHighlighterChoice(), 3);
    EXPECT_EQ(readWorkingFolders(), QStringList(7, "c:\\"));
    EXPECT_EQ(readFolderCaptions().value(5), "Geometrie");
    folder.write("SetupCNC.ini", "[Editor]\r\nEnterText=N5 \r\n");
    EXPECT_EQ(blockPrefix(), "N5");
    folder.write("SetupCNC.ini", "[editor]\r\nentertext=\"N5 \"\r\n");
    EXPECT_EQ(blockPrefix(), "N5 ");
}

TEST(Setup, DialogFiltersBecomeQtFilters) {
    struct Case {
        QString in, out;
    } cases[] = {
        {"Programy Mazak (*.EIA)|*.EIA|Všechny programy (*.*)|*.*", "Programy Mazak (*.EIA);;Všechny programy (*.*)"},
        {"NC|*.nc;*.h|", "NC (*.nc *.h)"},
        {"Geometrie(*.kge)|*.kge|Vše(*.*)|*.*|", "Geometrie (*.kge);;Vše (*.*)"},
        {"Text (*.txt)", "Text (*.txt)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(qtFileFilter(c.in), c.out) << c.in.toStdString();
}
