// The tool sheet text and the page layout rules of the line printer.
#include "common/textfile.h"
#include "tooltables/logic/toolsheet.h"
#include "tooltables/logic/tooltable.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora;

TEST(ToolSheet, HeadingAndOneBlockPerNamedTool) {
    ToolTable t(ToolTableKind::Tnc407);
    ASSERT_TRUE(t.load(loadTextFile(QStringLiteral(VELMORA_PROGRAM_DIR "/0000.tnc")).lines));
    t.setName(3, "FREZA D20");
    t.setRadius(3, "+10");
    t.setName(4, "AB");           // a blank in the third character: no tool
    t.setName(5, " FREZA");       // a blank in the first one
    t.setName(102, "VRTAK 12,5");
    t.setRadius(102, "+6,25");
    const ToolSheet sheet = toolSheet(t, "DIL4.tnc", "DIL4.H");

    const QString stars(70, u'*'), rule(71, u'_');
    const QStringList heading{
        "Velmora verze : 1.1",
        "",
        QString::fromUtf8("      N á s t r o j o v ý   l i s t  pro  Rendal"),
        "",
        "",
        stars,
        QString::fromUtf8("Č. výkresu :                         Č. tabulek  :DIL4.tnc"),
        QString::fromUtf8("                                     Č. programu :DIL4.H"),
        stars,
        "",
        QString::fromUtf8("Poloha       Název                       Poloměr         Poznámka "),
        rule,
    };
    // "  " and the number padded to 13 characters, the name padded to 41, the radius.
    const QStringList tools{
        "", QString("  1    ").leftJustified(13) + QString("FREZA D20").leftJustified(28) + "+10" + QString(9, u' '), "", rule,
        "", QString("  100  ").leftJustified(13) + QString("VRTAK 12,5").leftJustified(28) + "+6,25" + QString(7, u' '), "",
        rule,
    };
    EXPECT_EQ(sheet.lines, heading + tools);
    EXPECT_EQ(sheet.toolCount, 2);
    // The rows line up under the heading: names under "Název", radii under "Poloměr".
    const QString head = sheet.lines[10];
    for (const QString &row : {sheet.lines[13], sheet.lines[17]}) {
        EXPECT_EQ(row.indexOf(QRegularExpression("[A-Z]")), head.indexOf(QString::fromUtf8("Název"))) << row.toStdString();
        EXPECT_EQ(row.indexOf(u'+'), head.indexOf(QString::fromUtf8("Poloměr"))) << row.toStdString();
    }

    // No document open: nothing after the program label.
    EXPECT_EQ(toolSheet(t, "X.tnc", QString()).lines[7], QString::fromUtf8("                                     Č. programu :"));
}

TEST(LinePrinterLayout, WrapBreaksAtTheLastBreakCharacter) {
    const auto chars = [](const QString &s) { return int(s.size()); };
    const struct {
        const char *line;
        int width;
        QStringList parts;
    } cases[] = {
        {"short", 10, {"short"}},
        {"FREZA VALCOVA D20", 10, {"FREZA ", "VALCOVA ", "D20"}},
        {"AAAAAAAAAAAAAAA", 6, {"AAAAAA", "AAAAAA", "AAA"}}, // nothing to break at
        {"12.5-X\tY", 4, {"12.", "5-X\t", "Y"}},
        {"", 5, {""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrapLine(c.line, c.width, chars), c.parts) << c.line;
}

TEST(LinePrinterLayout, PrintableRectangleAndPages) {
    // A4 at 600 dpi (4961 x 7016 dots), 15 mm margins (354 dots), offsets of 50 dots.
    PrintRect r = printRect(15, 15, 15, 15, 600, 600, 4961, 7016, 50, 50, 4861, 6916);
    EXPECT_EQ(r.left, 304);
    EXPECT_EQ(r.top, 304);
    EXPECT_EQ(r.right, 4961 - 354 - 50);
    EXPECT_EQ(r.bottom, 7016 - 354 - 50);
    // Margins inside the unprintable border start just beyond it.
    r = printRect(1, 1, 0, 0, 600, 600, 4961, 7016, 50, 50, 4861, 6916);
    EXPECT_EQ(r.left, 51);
    EXPECT_EQ(r.top, 51);
    EXPECT_EQ(r.right, 4861 + 51 - 1);
    EXPECT_EQ(r.bottom, 6916 + 51 - 1);

    EXPECT_EQ(linesPerPage(1000, 100, false), 10);
    EXPECT_EQ(linesPerPage(1000, 100, true), 8);
    EXPECT_EQ(linesPerPage(50, 100, true), 1); // never less than one line
    EXPECT_EQ(pageCount(0, 10), 0);
    EXPECT_EQ(pageCount(10, 10), 1);
    EXPECT_EQ(pageCount(11, 10), 2);
}
