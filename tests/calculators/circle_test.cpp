#include "calculators/logic/circle.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include "printers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velmora;
using namespace velmora::calc;

namespace {

QStringList pointLines(const QStringList &report) {
    QStringList out;
    bool in = false;
    for (const QString &l : report) {
        if (l.startsWith('W'))
            in = false;
        else if (in)
            out << l;
        else if (l.startsWith('*'))
            in = true;
    }
    return out;
}

const OverlapQuestion never = [] {
    ADD_FAILURE() << "unexpected overlap question";
    return false;
};

} // namespace

TEST(Circle, DefaultGroupReportTreeAndBlocks) {
    CircleCalculator c(CircleTexts::czech());
    c.calculate(CircleInput{}, never);
    const QStringList points = pointLines(c.report());
    const QStringList expected = {"43,301", "25", "12,941", "48,296", "-25", "43,301", "-48,296", "12,941",
                                  "-43,301", "-25", "-12,941", "-48,296", "25", "-43,301", "48,296", "-12,941"};
    ASSERT_EQ(points.size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(points[i], expected[2 * i].leftJustified(21) + expected[2 * i + 1]);
    EXPECT_EQ(c.report().first(), QString("WM").repeated(18));
    EXPECT_EQ(c.report()[1], "Roztečná kružnice   : 100");
    EXPECT_EQ(c.report()[10], "  X                    Y");

    ASSERT_EQ(c.tree().size(), 9);
    EXPECT_EQ(c.tree()[0].text, "2- Roztečná kružnice : 100"); // the pitch circle took number 1
    EXPECT_EQ(c.tree()[4].text, "Souřadnice středu X : 0");
    EXPECT_EQ(c.tree()[8].text, "Rovina : XY");

    EXPECT_EQ(circleBlocks(c.report(), CircleTexts::czech(), "N1"),
              QStringList({"(Souřadnice - otvory pr. :8)", "N1 X43.301 Y25.", "N1 X12.941 Y48.296", "N1 X-25. Y43.301",
                           "N1 X-48.296 Y12.941", "N1 X-43.301 Y-25.", "N1 X-12.941 Y-48.296", "N1 X25. Y-43.301",
                           "N1 X48.296 Y-12.941"}));
    ASSERT_EQ(c.shapes().size(), 9);
    EXPECT_TRUE(c.shapes()[0].dashed);
    EXPECT_EQ(c.shapes()[0].points.size(), 50);
    EXPECT_NEAR(c.shapes()[1].points[0].x(), 0.43301 + 0.04, 1e-4); // 1/100 of real size, hole radius 4
}

TEST(Circle, PolarAndPlanes) {
    CircleCalculator c(CircleTexts::czech());
    CircleInput in;
    in.polar = true;
    in.centre1 = "12.5";
    c.calculate(in, never);
    const QStringList blocks = circleBlocks(c.report(), CircleTexts::czech(), "N1");
    ASSERT_EQ(blocks.size(), 10);
    EXPECT_EQ(blocks[0], "; Pol. souřadnice - otvory pr. :8");
    EXPECT_EQ(blocks[1], "N1 I12.5 J0");
    EXPECT_EQ(blocks[2], "N1 G10 R50. H30.");
    EXPECT_EQ(blocks[3], "N1 G10 R50. H75.");
    EXPECT_EQ(blocks[9], "N1 G10 R50. H345.");
    EXPECT_EQ(c.tree()[4].text, "Souřadnice středu X : 12,5");

    struct PlaneCase {
        Plane plane;
        const char *first, *header, *block;
    } planes[] = {{Plane::XZ, "Souřadnice středu X : 0", "  X                    Z", "N1 X43.301 Z25."},
                  {Plane::YZ, "Souřadnice středu Y : 0", "  Y                    Z", "N1 Y43.301 Z25."}};
    for (const PlaneCase &p : planes) {
        CircleCalculator k(CircleTexts::czech());
        CircleInput cin;
        cin.plane = p.plane;
        k.calculate(cin, never);
        EXPECT_EQ(k.report()[5], p.first);
        EXPECT_EQ(k.report()[10], p.header);
        EXPECT_EQ(circleBlocks(k.report(), CircleTexts::czech(), "N1")[1], p.block);
    }
    // a polar circle in XZ gets its pole in the words of that plane
    CircleCalculator k(CircleTexts::czech());
    CircleInput cin;
    cin.plane = Plane::XZ;
    cin.polar = true;
    cin.centre2 = "-4,5";
    k.calculate(cin, never);
    EXPECT_EQ(circleBlocks(k.report(), CircleTexts::czech(), "N1")[1], "N1 I0 K-4.5");
}

TEST(Circle, RunningAngleCarriesNoBinaryNoise) {
    CircleCalculator c(CircleTexts::czech());
    CircleInput in;
    in.polar = true;
    in.holes = "4";
    in.startAngle = "-0,3";
    in.stepAngle = "0,1";
    c.calculate(in, never);
    const QStringList blocks = circleBlocks(c.report(), CircleTexts::czech(), "N1");
    EXPECT_EQ(blocks.mid(2), QStringList({"N1 G10 R50. H-0.3", "N1 G10 R50. H-0.2", "N1 G10 R50. H-0.1", "N1 G10 R50. H0."}));
}

TEST(Circle, OverlapQuestionAndEmptyCircle) {
    CircleCalculator c(CircleTexts::czech());
    CircleInput in;
    in.startAngle = "0";
    in.holes = "9";
    c.calculate(in, never); // the ninth hole at 360 degrees asks nothing
    EXPECT_EQ(pointLines(c.report()).size(), 9);

    int asked = 0;
    in.holes = "12";
    c.calculate(in, [&] { return ++asked < 2; }); // Yes for the tenth, No for the eleventh
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(pointLines(c.report()).size(), 9 + 10);
    EXPECT_EQ(c.tree()[9].text, "12- Roztečná kružnice : 100");

    CircleCalculator e(CircleTexts::czech());
    in.holes = "0";
    e.calculate(in, never);
    EXPECT_TRUE(e.report().isEmpty());
    EXPECT_TRUE(e.tree().isEmpty());
    EXPECT_EQ(e.shapes().size(), 1); // the pitch circle alone
    EXPECT_TRUE(circleBlocks(e.report(), CircleTexts::czech(), "N1").isEmpty());
}

TEST(Circle, BadFieldAddsNothing) {
    CircleCalculator c(CircleTexts::czech());
    c.calculate(CircleInput{}, never);
    CircleInput bad;
    bad.holes = "8,5";
    try {
        c.calculate(bad, never);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'8,5' is not a valid integer value");
    }
    bad.holes = "8";
    bad.diameter = "1e";
    EXPECT_THROW(c.calculate(bad, never), ConversionError);
    EXPECT_EQ(c.tree().size(), 9);
    EXPECT_EQ(c.shapes().size(), 9);
}

TEST(Circle, EditDeleteRecalculateAndGeometryFile) {
    const CircleTexts t = CircleTexts::czech();
    CircleCalculator c(t);
    c.calculate(CircleInput{}, never);
    CircleInput second;
    second.diameter = "60";
    second.holes = "3";
    c.calculate(second, never);
    EXPECT_EQ(c.tree()[9].text, "11- Roztečná kružnice : 60");
    const QStringList report = c.report();

    // Hidden circles are those of the chosen group only.
    c.setGroupHidden(9, true);
    int hidden = 0;
    for (const Shape &s : c.shapes())
        hidden += s.hidden;
    EXPECT_EQ(hidden, 4);
    c.showAll();

    // Edit without automatic recalculation empties the report and leaves it
    // stale: the windows recalculate before they insert.
    EXPECT_FALSE(c.reportIsStale());
    ASSERT_TRUE(c.editNode(1, "4", false, never));
    EXPECT_EQ(c.tree()[1].text, "Počet otvorů : 4");
    EXPECT_TRUE(circleBlocks(c.report(), t, "N1").isEmpty());
    EXPECT_TRUE(c.reportIsStale());
    EXPECT_FALSE(c.editNode(7, "x", false, never)); // the style node holds no ":"
    ASSERT_TRUE(c.editNode(1, "8", false, never));

    // Round trip through a .kge file, then recalculation from the loaded tree.
    QTemporaryDir dir;
    const QString path = dir.filePath("kruh.kge");
    ASSERT_TRUE(saveTextFile(path, geoFileLines(c.tree())).ok);
    const LoadResult loaded = loadTextFile(path);
    ASSERT_TRUE(loaded.ok);
    EXPECT_TRUE(loaded.lines[1].startsWith('\t'));
    CircleCalculator d(t);
    d.setTree(geoTreeFromLines(loaded.lines));
    EXPECT_EQ(d.tree(), c.tree());
    EXPECT_TRUE(d.reportIsStale());
    d.recalculate(never);
    EXPECT_FALSE(d.reportIsStale());
    EXPECT_EQ(d.report(), report);
    EXPECT_EQ(d.shapes().size(), 9 + 4);

    // Deleting the first group with automatic recalculation renumbers the second.
    d.deleteGroup(0, true, never);
    ASSERT_EQ(d.tree().size(), 9);
    EXPECT_EQ(d.tree()[0].text, "2- Roztečná kružnice : 60");
    EXPECT_EQ(pointLines(d.report()).size(), 3);
    // Without it, the report keeps the deleted group and the preview loses it.
    c.recalculate(never);
    ASSERT_EQ(c.report(), report);
    c.deleteGroup(0, false, never);
    EXPECT_EQ(c.shapes().size(), 4);
    EXPECT_EQ(c.report(), report);
    EXPECT_TRUE(c.reportIsStale());
}

TEST(Circle, BlockPrefixIsWrittenUnchanged) {
    CircleCalculator c(CircleTexts::czech());
    CircleInput in;
    in.holes = "1";
    c.calculate(in, never);
    EXPECT_EQ(circleBlocks(c.report(), CircleTexts::czech(), "N1 ")[1], "N1  X43.301 Y25.");
}

TEST(Circle, TextsFallBackWhenTheLanguageFileCannotTellTheStylesApart) {
    // no language file applied: every text reads "Error"
    const CircleTexts t = CircleTexts::fromLanguage();
    EXPECT_EQ(t.polarYes, CircleTexts::czech().polarYes);
    CircleTexts bad = CircleTexts::czech();
    bad.polarNo = bad.polarYes + " ne"; // would read as polar
    EXPECT_FALSE(bad.usable());
    EXPECT_TRUE(CircleTexts::czech().usable());
}

TEST(Circle, NcWordsCarryNoExponent) {
    const struct {
        const char *text, *expected;
    } cases[] = {{"1,5E-7", "0,00000015"}, {"-2E-5", "-0,00002"}, {"2E16", "20000000000000000"}, {"1,25E2", "125"},
                 {"-3,5", "-3,5"},         {"1.5E-3", "0.0015"},  {"E5", "E5"},                {"x1E2", "x1E2"}};
    for (const auto &c : cases)
        EXPECT_EQ(withoutExponent(c.text), c.expected) << c.text;

    CircleCalculator c(CircleTexts::czech());
    CircleInput in;
    in.polar = true;
    in.holes = "1";
    in.startAngle = "0,00001";
    in.centre1 = "1E-5";
    c.calculate(in, never);
    const QStringList blocks = circleBlocks(c.report(), CircleTexts::czech(), "N1");
    EXPECT_EQ(blocks[1], "N1 I0.00001 J0");
    EXPECT_EQ(blocks[2], "N1 G10 R50. H0.00001");
}

TEST(Circle, AValueTooLargeForAnNcWordIsAFieldError) {
    const QString hundredDigits = "1" + QString(100, u'0');
    const QString huge = "17" + QString(307, u'0'); // 1,7E308: the X words would be infinite
    const struct {
        const char *what;
        std::function<void(CircleInput &)> set;
        QString named; // the field text the message names
    } cases[] = {
        {"a diameter of a hundred digits", [&](CircleInput &in) { in.diameter = hundredDigits; }, hundredDigits},
        {"a centre that overflows", [&](CircleInput &in) { in.centre1 = huge; in.diameter = "1" + QString(308, u'0'); }, huge},
        {"a second centre coordinate", [&](CircleInput &in) { in.centre2 = "-1000000000000000"; }, "-1000000000000000"},
        {"a start angle", [&](CircleInput &in) { in.startAngle = "1E15"; }, "1E15"},
        {"steps that add up", [&](CircleInput &in) { in.stepAngle = "200000000000000"; in.polar = true; }, "200000000000000"},
    };
    for (const auto &c : cases) {
        CircleInput in;
        c.set(in);
        // Typed into the fields: nothing is added.
        CircleCalculator typed(CircleTexts::czech());
        try {
            typed.calculate(in, never);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), "'" + c.named + "' is not a valid floating point value") << c.what;
        }
        EXPECT_TRUE(typed.report().isEmpty()) << c.what;
        EXPECT_TRUE(typed.tree().isEmpty()) << c.what;
        // The same group from a geometry file, recalculated: the same message, no blocks.
        CircleCalculator ok(CircleTexts::czech());
        ok.calculate(CircleInput{}, never);
        GeoTree tree = ok.tree();
        ASSERT_TRUE(setNodeValue(tree[0].text, in.diameter));
        ASSERT_TRUE(setNodeValue(tree[2].text, in.startAngle));
        ASSERT_TRUE(setNodeValue(tree[3].text, in.stepAngle));
        ASSERT_TRUE(setNodeValue(tree[4].text, in.centre1));
        ASSERT_TRUE(setNodeValue(tree[5].text, in.centre2));
        if (in.polar)
            tree[7].text = CircleTexts::czech().polarYes;
        CircleCalculator loaded(CircleTexts::czech());
        loaded.setTree(geoTreeFromLines(geoFileLines(tree)));
        EXPECT_THROW(loaded.recalculate(never), ConversionError) << c.what;
        EXPECT_TRUE(circleBlocks(loaded.report(), CircleTexts::czech(), "N1").isEmpty()) << c.what;
    }
    // The largest values still fit, and their words carry neither exponent nor infinity.
    CircleInput big;
    big.diameter = "999999999999998";
    big.centre1 = "-1";
    big.stepAngle = "100000000000000";
    big.holes = "3";
    CircleCalculator c(CircleTexts::czech());
    c.calculate(big, [] { return true; });
    const QStringList blocks = circleBlocks(c.report(), CircleTexts::czech(), "N1");
    ASSERT_EQ(blocks.size(), 4);
    for (const QString &b : blocks)
        EXPECT_FALSE(b.contains(QRegularExpression("[0-9.][eE][-+]?[0-9]|inf|nan", QRegularExpression::CaseInsensitiveOption)))
            << b.toStdString();
}
