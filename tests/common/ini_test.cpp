#include "common/colour.h"
#include "common/ini.h"
#include "common/language.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Ini, ReadingRule) {
    test::ScratchFolder dir;
    dir.write("s.ini", test::cp1250Lines({
                           "[Editor]",
                           "EnterText=N1 ",
                           "Quoted=\"N1 \"",
                           "Spaces =   a b   ",
                           "Eq=x=y",
                           "Empty=",
                           "Dup=first",
                           "Dup=second",
                           "Bool=5",
                           "BoolZero=0",
                           "Hex=$10",
                           "NotInt=abc",
                           "Czech=Přečíslovat",
                           "[editor]",
                           "Other=hidden by the first section of the name",
                           "[Color]",
                           "G=clRed",
                       }));
    IniFile ini(dir.file("s.ini"));
    const struct {
        const char *section, *key, *def, *expected;
    } cases[] = {
        {"Editor", "EnterText", "", "N1"},
        {"editor", "entertext", "", "N1"},
        {"Editor", "Quoted", "", "N1 "},
        {"Editor", "Spaces", "", "a b"},
        {"Editor", "Eq", "", "x=y"},
        {"Editor", "Empty", "def", ""},
        {"Editor", "Dup", "", "first"},
        {"Editor", "Missing", "N1 ", "N1"},
        {"Editor", "Missing", "  x  ", "  x"},
        {"Nosection", "G", "d", "d"},
        {"Editor", "Other", "none", "none"},
        {"COLOR", "g", "", "clRed"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, QString::fromUtf8(c.def)), QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    EXPECT_EQ(ini.readString("Editor", "Czech"), QStringLiteral("Přečíslovat"));
    EXPECT_TRUE(ini.readBool("Editor", "Bool", false));
    EXPECT_FALSE(ini.readBool("Editor", "BoolZero", true));
    EXPECT_TRUE(ini.readBool("Editor", "Missing", true));
    EXPECT_EQ(ini.readInteger("Editor", "Hex", 0), 16);
    EXPECT_EQ(ini.readInteger("Editor", "NotInt", 7), 7);
    EXPECT_EQ(ini.sections(), QStringList({"Editor", "Color"}));
}

TEST(Ini, LongValuesAreCutAt2047Characters) {
    test::ScratchFolder dir;
    IniFile ini(dir.file("s.ini"));
    ASSERT_TRUE(ini.writeString("A", "k", QString(3000, 'x')));
    EXPECT_EQ(ini.readString("A", "k").size(), 2047);
}

TEST(Ini, WritingCreatesReplacesAndKeepsTheRest) {
    test::ScratchFolder dir;
    dir.write("s.ini", "; comment\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    IniFile ini(dir.file("s.ini"));
    ASSERT_TRUE(ini.writeString("a", "X", "10"));  // existing key, other case
    ASSERT_TRUE(ini.writeString("A", "w", "new")); // new key at the end of its section
    ASSERT_TRUE(ini.writeString("C", "v", " padded ")); // new section, value unchanged
    EXPECT_EQ(dir.read("s.ini"),
              QByteArray("; comment\r\n[A]\r\nX=10\r\ny=2\r\nw=new\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nv= padded \r\n"));
    ASSERT_TRUE(ini.eraseSection("A"));
    EXPECT_EQ(ini.sections(), QStringList({"B", "C"}));
    ASSERT_TRUE(ini.deleteKey("B", "z"));
    EXPECT_FALSE(ini.hasKey("B", "z"));
}

TEST(Ini, NamesWithBlanksAroundThemAreFoundAsWritten) {
    // A template tab's caption begins with a blank and is a key of section "Visible".
    test::ScratchFolder dir;
    IniFile ini(dir.file("s.ini"));
    ASSERT_TRUE(ini.writeBool("Visible", " ISO Heidenhain", false));
    ASSERT_TRUE(ini.writeBool(" Visible ", "Dialog ", true));
    EXPECT_EQ(dir.read("s.ini"), QByteArray("[Visible]\r\nISO Heidenhain=0\r\nDialog=1\r\n"));
    EXPECT_FALSE(ini.readBool("Visible", " ISO Heidenhain", true));
    EXPECT_TRUE(ini.hasKey("Visible", " ISO Heidenhain"));
    EXPECT_TRUE(ini.readBool("Visible", "Dialog", false));
    // Keys written by hand with the blank are found as well.
    dir.write("h.ini", "[Visible]\r\n ISO Heidenhain=0\r\n");
    EXPECT_FALSE(IniFile(dir.file("h.ini")).readBool("Visible", " ISO Heidenhain", true));
}

TEST(Ini, MissingFileGivesDefaultsAndIsCreatedOnFirstWrite) {
    test::ScratchFolder dir;
    IniFile ini(dir.file("new.ini"));
    EXPECT_EQ(ini.readInteger("Editor", "TabWidth", 8), 8);
    ASSERT_TRUE(ini.writeBool("Editor", "Line", true));
    EXPECT_EQ(dir.read("new.ini"), QByteArray("[Editor]\r\nLine=1\r\n"));
}

TEST(Ini, ParsedDataKeepsFileOrderAndDuplicates) {
    const IniData d = IniData::parse({"[L]", "a=1", "b = \"2\"", "a=3", "noequals", "[M]", "c=4"});
    ASSERT_EQ(d.sections.size(), 2);
    ASSERT_EQ(d.sections[0].entries.size(), 3);
    EXPECT_EQ(d.sections[0].entries[1].value, "2");
    EXPECT_EQ(d.sections[0].entries[2].value, "3");
    EXPECT_EQ(d.section("m")->entries[0].key, "c");
}

TEST(Colour, NamesHexAndDecimal) {
    const struct {
        const char *text;
        ColorValue value;
        const char *written;
    } cases[] = {
        {"clRed", 0x0000FF, "clRed"},
        {"$00FF8000", 0x00FF8000, "$00FF8000"},
        {"$000000FF", 0x0000FF, "clRed"},
        {"255", 0x0000FF, "clRed"},
        {"clCream", 0xF0FBFF, "clCream"},
        {"clBtnFace", 0xFF00000F, "clBtnFace"},
        {"clNone", 0x1FFFFFFF, "clNone"},
        {"$12345678", 0x12345678, "$12345678"},
    };
    for (const auto &c : cases) {
        ColorValue v = 0;
        ASSERT_TRUE(colorFromString(QString::fromLatin1(c.text), v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(colorToString(v), QString::fromLatin1(c.written)) << c.text;
    }
    ColorValue v;
    EXPECT_FALSE(colorFromString("clNoSuchColour", v));
    EXPECT_FALSE(colorFromString("$", v));
    EXPECT_EQ(colorOr("junk", clSilver), clSilver);
}

TEST(Language, LineBreakRule) {
    EXPECT_EQ(expandLineBreaks("Soubor %s#13 existuje. Přepsat?"), "Soubor %s\rexistuje. Přepsat?\r");
    EXPECT_EQ(expandLineBreaks("Radek1#13Radek2"), "Radek1\radek2\r");
    EXPECT_EQ(expandLineBreaks("bez zalomení"), "bez zalomení");
    EXPECT_EQ(expandLineBreaks("a#13"), "a\r");
}

TEST(Language, TextsComeFromTheCurrentFile) {
    test::ScratchFolder dir;
    dir.write("Language/Cestina.lng", test::cp1250Lines({"[Messages]", "Untitled=Bez názvu", "Two=a#13 b"}));
    setCurrentLanguageFile(QString());
    EXPECT_EQ(languageText("Messages", "Untitled"), "Error");
    setCurrentLanguageFile("cestina.LNG"); // found without regard to case
    EXPECT_EQ(languageText("Messages", "Untitled"), QStringLiteral("Bez názvu"));
    EXPECT_EQ(languageText("Messages", "Two"), "a\rb\r");
    EXPECT_EQ(languageText("Messages", "Missing"), "Error");
    setCurrentLanguageFile(QString());
}
