#include "calculators/logic/options.h"
#include "calculators/logic/settings.h"

#include "../support/testutil.h"
#include "printers.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::calc;

TEST(CalculatorSettings, DefaultsWithoutSettingsFile) {
    test::ScratchFolder folder;
    const GeometrySettings g = readGeometrySettings();
    EXPECT_EQ(g.background, clSilver);
    EXPECT_EQ(g.pitch, clRed);
    EXPECT_EQ(g.hole, clBlue);
    EXPECT_FALSE(g.autoRecalc);
    EXPECT_EQ(geometryDecimals(), 3);
    EXPECT_EQ(blockPrefix(), "N1"); // the default "N1 " loses its trailing blank
    EXPECT_EQ(geometryFolder(), QDir::homePath()); // "c:\" names no folder here
}

TEST(CalculatorSettings, StoredValues) {
    test::ScratchFolder folder;
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Geometrie]", "Podklad=clWhite", "RKruznice=$00008000", "Kruznice=nonsense",
                                                    "Auto=1", "[Editor]", "EnterText=\"N5 \"",
                                                    "[Adresar]", "Geometrie=" + folder.path()}));
    const GeometrySettings g = readGeometrySettings();
    EXPECT_EQ(g.background, clWhite);
    EXPECT_EQ(g.pitch, clGreen);
    EXPECT_EQ(g.hole, clBlue); // no colour: the default
    EXPECT_TRUE(g.autoRecalc);
    EXPECT_EQ(blockPrefix(), "N5 "); // quoted: the blank stays
    EXPECT_EQ(geometryFolder(), folder.path());
}

TEST(CalculatorSettings, TheRoundingIsChosenForTheRunAndNeverStored) {
    test::ScratchFolder folder;
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Geometrie]", "Zaokrouhleni=4"}));
    EXPECT_EQ(geometryDecimals(), 3); // a key in the file is no choice
    setGeometryDecimals(2);
    EXPECT_EQ(geometryDecimals(), 2);
    setGeometryDecimals(7);
    EXPECT_EQ(geometryDecimals(), 2);
    EXPECT_EQ(folder.read("SetupCNC.ini"), test::cp1250Lines({"[Geometrie]", "Zaokrouhleni=4"}));
    setGeometryDecimals(3);
}

TEST(CalculatorOptions, CoordinatePairs) {
    const struct {
        const char *text;
        bool ok;
        const char *first, *second;
    } cases[] = {
        {"12.5,-3", true, "12,5", "-3"}, {"12,5;-3", true, "12,5", "-3"}, {"1.5;2.25", true, "1,5", "2,25"},
        {"0,0", true, "0", "0"},         {"1,5,2", false, "", ""},        {"7", false, "", ""},
        {"a,1", false, "", ""},          {"1;2;3", false, "", ""},
    };
    for (const auto &c : cases) {
        QString a, b;
        EXPECT_EQ(parseCoordinatePair(c.text, a, b), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(a, c.first) << c.text;
            EXPECT_EQ(b, c.second) << c.text;
        }
    }
}
