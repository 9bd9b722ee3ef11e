#include "calculators/logic/linepoints.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <QTemporaryDir>
#include "printers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velmora;
using namespace velmora::calc;

TEST(LinePoints, DefaultGroup) {
    const LineTexts t = LineTexts::czech();
    LineCalculator c(t);
    c.calculate(LineInput{});
    ASSERT_EQ(c.report().size(), 10 + 15);
    EXPECT_EQ(c.report()[0], QString("WM").repeated(16));
    EXPECT_EQ(c.report()[8], "  X                 Y");
    EXPECT_EQ(c.report()[9], QString("*").repeated(32));
    EXPECT_EQ(c.report()[10], QString("0").leftJustified(21) + "0");
    EXPECT_EQ(c.report()[11], QString("17,321").leftJustified(21) + "10");
    EXPECT_EQ(c.report()[24], QString("242,487").leftJustified(21) + "140");
    EXPECT_EQ(c.tree()[0].text, "1- Průměr otvorů : 6");
    EXPECT_EQ(c.tree()[2].text, "Počáteční bod X : 0");

    const QStringList blocks = lineBlocks(c.report(), t, "N1");
    ASSERT_EQ(blocks.size(), 16);
    EXPECT_EQ(blocks[0], "(Souřadnice - otvory pr. :6)");
    EXPECT_EQ(blocks[1], "N1 X0. Y0.");
    EXPECT_EQ(blocks[2], "N1 X17.321 Y10.");
    EXPECT_EQ(blocks[3], "N1 X34.641 Y20.");
    EXPECT_EQ(blocks[4], "N1 X51.962 Y30.");
    EXPECT_EQ(blocks[15], "N1 X242.487 Y140.");
    EXPECT_EQ(c.shapes().size(), 15);
    EXPECT_EQ(c.shapes()[0].points.size(), 30);

    c.calculate(LineInput{});
    EXPECT_EQ(c.tree()[7].text, "16- Průměr otvorů : 6");
}

TEST(LinePoints, PlanesAnglesAndDecimals) {
    const LineTexts t = LineTexts::czech();
    LineCalculator c(t, 2);
    LineInput in;
    in.plane = Plane::YZ;
    in.angle = "90";
    in.holes = "2";
    in.x0 = "5";
    c.calculate(in);
    EXPECT_EQ(c.tree()[2].text, "Počáteční bod X : 5"); // the tree keeps the captions X and Y
    EXPECT_EQ(c.report()[2], "Počáteční bod Y : 5");
    EXPECT_EQ(lineBlocks(c.report(), t, "N1"),
              QStringList({"(Souřadnice - otvory pr. :6)", "N1 Y5. Z0.", "N1 Y5. Z20."}));

    LineCalculator two(t, 2);
    in.plane = Plane::XZ;
    in.angle = "30";
    two.calculate(in);
    EXPECT_EQ(lineBlocks(two.report(), t, "N1")[2], "N1 X22.32 Z10.");
}

TEST(LinePoints, ErrorsAndEmpty) {
    LineCalculator c(LineTexts::czech());
    LineInput in;
    in.holes = "0";
    c.calculate(in);
    EXPECT_TRUE(c.report().isEmpty() && c.tree().isEmpty() && c.shapes().isEmpty());
    in.holes = "3";
    in.spacing = "12.5"; // this window takes the decimal comma only
    try {
        c.calculate(in);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'12.5' is not a valid floating point value");
    }
    EXPECT_TRUE(c.tree().isEmpty());
}

TEST(LinePoints, DeleteKeepsOtherGroupAndFileRoundTrip) {
    const LineTexts t = LineTexts::czech();
    LineCalculator c(t);
    c.calculate(LineInput{});
    LineInput second;
    second.holes = "3";
    second.y0 = "50";
    c.calculate(second);
    c.deleteGroup(7, false);
    EXPECT_EQ(c.shapes().size(), 15); // every circle of the first group stays

    QTemporaryDir dir;
    const QString path = dir.filePath("rada.pge");
    LineCalculator d(t);
    d.calculate(LineInput{});
    d.calculate(second);
    ASSERT_TRUE(saveTextFile(path, geoFileLines(d.tree())).ok);
    LineCalculator e(t);
    e.setTree(geoTreeFromLines(loadTextFile(path).lines));
    EXPECT_EQ(e.tree(), d.tree());
    e.recalculate();
    EXPECT_EQ(e.report(), d.report());

    d.deleteGroup(0, true);
    EXPECT_EQ(d.tree()[0].text, "1- Průměr otvorů : 6");
    EXPECT_EQ(d.report().size(), 10 + 3);
}

TEST(LinePoints, HoleCountIsBounded) {
    // A mistyped count must not exhaust the memory: a clear error, nothing added.
    LineCalculator c(LineTexts::czech());
    LineInput in;
    in.holes = "150000000";
    EXPECT_THROW(c.calculate(in), TooManyHoles);
    EXPECT_TRUE(c.tree().isEmpty() && c.shapes().isEmpty());
    in.holes = QString::number(kMaxHoles);
    c.calculate(in);
    EXPECT_EQ(c.shapes().size(), kMaxHoles);
}

TEST(LinePoints, AValueTooLargeForAnNcWordIsAFieldError) {
    const struct {
        const char *what;
        std::function<void(LineInput &)> set;
        const char *named;
    } cases[] = {
        {"a first point of a hundred digits", [](LineInput &in) { in.x0 = "1" + QString(100, u'0'); }, nullptr},
        {"a spacing that adds up", [](LineInput &in) { in.spacing = "100000000000000"; }, "100000000000000"},
        {"the second coordinate", [](LineInput &in) { in.y0 = "-1E15"; }, "-1E15"},
    };
    for (const auto &c : cases) {
        LineInput in;
        c.set(in);
        LineCalculator l(LineTexts::czech());
        try {
            l.calculate(in);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ConversionError &e) {
            const QString named = c.named ? QString(c.named) : in.x0;
            EXPECT_EQ(e.message(), "'" + named + "' is not a valid floating point value") << c.what;
        }
        EXPECT_TRUE(l.report().isEmpty()) << c.what;
        EXPECT_TRUE(l.tree().isEmpty()) << c.what;
    }
}
