// Reading texts from the current language file, and the small rules of language files.
#include "common/language.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LanguageText, LineBreakMarker) {
    const struct {
        QString value, expected;
    } cases[] = {
        {QStringLiteral("Soubor %s#13 existuje. Přepsat?"), QStringLiteral("Soubor %s\rexistuje. Přepsat?\r")},
        {QStringLiteral("Radek1#13Radek2"), QStringLiteral("Radek1\radek2\r")},  // the character after the marker goes
        {QStringLiteral("bez zlomu"), QStringLiteral("bez zlomu")},
        {QStringLiteral("#13"), QStringLiteral("\r")},
        {QStringLiteral("a#13"), QStringLiteral("a\r")},
        {QStringLiteral("a#13x#13 b"), QStringLiteral("a\r\rb\r")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(expandLineBreaks(c.value), c.expected) << c.value.toStdString();
}

TEST(LanguageText, FromTheCurrentFile) {
    test::ScratchFolder folder;
    folder.write(QStringLiteral("Language/Test.lng"),
                 test::cp1250Lines({"[Messages]", "Save1=Soubor %s#13 existuje.", "Empty=", "[Other]", "Save1=jiný"}));
    setCurrentLanguageFile(QString());
    EXPECT_EQ(languageText(QStringLiteral("Messages"), QStringLiteral("Save1")), QStringLiteral("Error"));

    setCurrentLanguageFile(QStringLiteral("test.LNG")); // file names match without regard to case
    EXPECT_EQ(languageText(QStringLiteral("messages"), QStringLiteral("SAVE1")), QStringLiteral("Soubor %s\rexistuje.\r"));
    EXPECT_EQ(languageText(QStringLiteral("Other"), QStringLiteral("Save1")), QStringLiteral("jiný"));
    EXPECT_EQ(languageText(QStringLiteral("Messages"), QStringLiteral("Empty")), QString());
    EXPECT_EQ(languageText(QStringLiteral("Messages"), QStringLiteral("Missing")), QStringLiteral("Error"));

    setCurrentLanguageFile(QStringLiteral("Gone.lng"));
    EXPECT_EQ(languageText(QStringLiteral("Messages"), QStringLiteral("Save1")), QStringLiteral("Error"));
    setCurrentLanguageFile(QString());
}

TEST(LanguageFileRules, DelimitedText) {
    const struct {
        QString text;
        QStringList expected;
    } cases[] = {
        {QStringLiteral("IS0,IS02,DIALOG,NIC"), {"IS0", "IS02", "DIALOG", "NIC"}},
        {QStringLiteral("Na 2 místa"), {"Na", "2", "místa"}},
        {QStringLiteral("\"Na 2, místa\",\"řekl \"\"ne\"\"\""), {"Na 2, místa", "řekl \"ne\""}},
        {QStringLiteral("  a ,  b  "), {"a", "b"}},
        {QStringLiteral("a,,b"), {"a", "", "b"}},
        {QStringLiteral("a,"), {"a", ""}},
        {QString(), {}},
        {QStringLiteral("\"bez konce"), {"bez konce"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitDelimitedText(c.text), c.expected) << c.text.toStdString();
}

TEST(LanguageFileRules, IndexedKeys) {
    const struct {
        const char *key;
        bool ok;
        const char *component;
        bool column;
        int index;
    } cases[] = {
        {"RadioGroup.items[2]", true, "RadioGroup", false, 2},
        {"RadioGroupStyle.Items[0]", true, "RadioGroupStyle", false, 0},
        {"ListView1.columns[1]", true, "ListView1", true, 1},
        {"ListViewFISO.colums[0]", true, "ListViewFISO", true, 0},
        {"RadioGroup.items[x]", false, "", false, -1},
        {"RadioGroup.lines[0]", false, "", false, -1},
        {"RadioGroup", false, "", false, -1},
        {".items[0]", false, "", false, -1},
    };
    for (const auto &c : cases) {
        IndexedKey k;
        ASSERT_EQ(parseIndexedKey(QString::fromLatin1(c.key), k), c.ok) << c.key;
        if (!c.ok)
            continue;
        EXPECT_EQ(k.component, QString::fromLatin1(c.component)) << c.key;
        EXPECT_EQ(k.column, c.column) << c.key;
        EXPECT_EQ(k.index, c.index) << c.key;
    }
}

TEST(LanguageFileRules, MenuItemNames) {
    EXPECT_EQ(languageItemName(QStringLiteral("Cestina.lng")), QStringLiteral("Cestina"));
    EXPECT_EQ(languageItemName(QStringLiteral("English.LNG")), QStringLiteral("English"));
    EXPECT_EQ(languageItemName(QStringLiteral("a.b.lng")), QStringLiteral("a.b"));
    EXPECT_EQ(languageItemName(QStringLiteral(".lng")), QString());
    EXPECT_EQ(languageItemName(QStringLiteral("readme.txt")), QString());
}

} // namespace
} // namespace velmora
