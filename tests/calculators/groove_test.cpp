#include "calculators/logic/groove.h"
#include "common/numbers.h"

#include <QRegularExpression>
#include "printers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velmora;
using namespace velmora::calc;

namespace {
const QString kSep = "(" + QString("*").repeated(45) + ")";
}

TEST(Groove, SequencesForEveryApproachAndDirection) {
    // Defaults: C0 (0,0), C1 (25,0), P1 (25,-7), P2 (25,7), P3 (0,7), P4 (0,-7).
    struct Case {
        int direction;
        const char *approach;
        QStringList lines;
    } cases[] = {
        {0, "1", {"N1 G0 X25 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G1 G41 X25 Y-7", "N1 G3 X25 Y7 I0 J7", "N1 G1 X0 Y7",
                  "N1 G3 X0 Y-7 I0 J-7", "N1 G1 X25 Y-7", "N1 G1 G40 X25 Y0"}},
        {0, "2", {"N1 G0 X25 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G1 G41 X25 Y7", "N1 X0 Y7", "N1 G3 X0 Y-7 I0 J-7",
                  "N1 G1 X25 Y-7", "N1 G3 X25 Y7 I0 J7", "N1 G1 G40 X25 Y0"}},
        {0, "3", {"N1 G0 X0 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G1 G41 X0 Y7", "N1 G3 X0 Y-7 I0 J-7", "N1 G1 X25 Y-7",
                  "N1 G3 X25 Y7 I0 J7", "N1 G1 X0 Y7", "N1 G1 G40 X0 Y0"}},
        {0, "4", {"N1 G0 X0 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G41 X0 Y-7", "N1 X25 Y-7", "N1 G3 X25 Y7 I0 J7",
                  "N1 G1 X0 Y7", "N1 G3 X0 Y-7 I0 J-7", "N1 G1 G40 X0 Y0"}},
        {1, "1", {"N1 G0 X25 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G42 X25 Y-7", "N1 G1 X0 Y-7", "N1 G2 X0 Y7 I0 J7",
                  "N1 G1 X25 Y7", "N1 G2 X25 Y-7 I0 J-7", "N1 G1 G40 X0 Y0"}},
        {1, "2", {"N1 G0 X25 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G42 X25 Y7", "N1 G2 X25 Y-7 I0 J-7", "N1 G1 X0 Y-7",
                  "N1 G2 X0 Y7 I0 J7", "N1 G1 X25 Y7", "N1 G1 G40 X0 Y0"}},
        {1, "3", {"N1 G0 X0 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G42 X0 Y7", "N1 X25 Y7", "N1 G2 X25 Y-7 I0 J-7",
                  "N1 G1 X0 Y-7", "N1 G2 X0 Y7 I0 J7", "N1 G1 G40 X0 Y0"}},
        {1, "4", {"N1 G0 X0 Y0", "N1 Z2.", "N1 G1 Z-3. F100", "N1 G42 X0 Y-7", "N1 G2 X0 Y7 I0 J7", "N1 G1 X25 Y7",
                  "N1 G2 X25 Y-7 I0 J-7", "N1 G1 X0 Y-7", "N1 G40 X0 Y0", "N1 G0 Z2."}},
    };
    for (const Case &c : cases) {
        GrooveInput in;
        in.direction = c.direction;
        in.approach = c.approach;
        EXPECT_EQ(grooveText(in), QStringList({kSep, "( X: 0; Y: 0; Uhel: 0 )"}) + c.lines)
            << "direction " << c.direction << " approach " << c.approach;
    }
    // anything else: the comment lines only
    GrooveInput other;
    other.approach = "5";
    EXPECT_EQ(grooveText(other).size(), 2);
    other.approach = "1";
    other.direction = 2;
    EXPECT_EQ(grooveText(other).size(), 2);
}

TEST(Groove, AbsoluteCentresAndNcForm) {
    GrooveInput in;
    in.centres = 1;
    const QStringList text = grooveText(in);
    EXPECT_EQ(text[7], "N1 G3 X0 Y-7 I0 J0");
    EXPECT_EQ(text[9], "N1 G3 X25 Y7 I25 J0");

    in.centres = 0;
    const QStringList nc = grooveNcLines(grooveText(in));
    EXPECT_EQ(nc[1], "( X: 0; Y: 0; Uhel: 0 )");
    EXPECT_EQ(nc[2], "N1 G0 X25. Y0.");
    EXPECT_EQ(nc[4], "N1 G1 Z-3. F100");
    EXPECT_EQ(nc[7], "N1 G3 X0. Y-7. I0. J-7.");
    EXPECT_EQ(grooveNcLine("N1 G1 X12,5 Y3 I-1,25"), "N1 G1 X12.5 Y3. I-1.25");
}

TEST(Groove, Geometry) {
    GrooveInput in;
    in.angle = "90";
    GrooveGeometry g = grooveGeometry(in);
    EXPECT_EQ(g.c1, QPointF(0, 25));
    EXPECT_EQ(g.p1, QPointF(7, 25));
    EXPECT_EQ(g.p2, QPointF(-7, 25));
    EXPECT_EQ(g.p3, QPointF(-7, 0));
    EXPECT_EQ(g.p4, QPointF(7, 0));

    in.angle = "-90"; // taken as 270, also in the comment
    g = grooveGeometry(in);
    EXPECT_EQ(g.alpha, 270);
    EXPECT_EQ(g.p1, QPointF(-7, -25));
    EXPECT_EQ(g.p3, QPointF(7, 0));
    EXPECT_EQ(grooveText(in)[1], "( X: 0; Y: 0; Uhel: 270 )");

    in.angle = "1,5°";
    EXPECT_THROW(grooveGeometry(in), ConversionError);
}

TEST(Groove, NoBinaryNoiseInNumbers) {
    // Contour points and centre words are differences of 3-place values.
    const struct {
        const char *x, *y, *angle;
    } cases[] = {{"10,1", "5,3", "30"}, {"-3,7", "0,2", "137"}, {"0,1", "0,7", "211"}, {"2,2", "-1,1", "333"}};
    const QRegularExpression longFraction("[.,]\\d{4,}");
    for (const auto &c : cases) {
        GrooveInput in;
        in.x0 = c.x;
        in.y0 = c.y;
        in.angle = c.angle;
        in.width = "10,3";
        in.length = "20,7";
        for (int dir : {0, 1})
            for (const char *ap : {"1", "2", "3", "4"}) {
                in.direction = dir;
                in.approach = ap;
                for (const QString &line : grooveText(in))
                    EXPECT_FALSE(line.contains(longFraction)) << line.toStdString();
            }
    }
    GrooveInput in;
    in.x0 = "0,1";
    in.angle = "30";
    in.width = "10";
    in.length = "20";
    in.approach = "1";
    // C1 (17,421; 10), P1 (19,921; 5,67): I = -2,5, J = 4,33
    EXPECT_EQ(grooveText(in)[6], "N1 G3 X14,921 Y14,33 I-2,5 J4,33");

    GrooveInput tiny; // a start centre too small for the general format without exponent
    tiny.x0 = "0,00001";
    tiny.approach = "3";
    EXPECT_EQ(grooveNcLines(grooveText(tiny))[2], "N1 G0 X0.00001 Y0.");
}

TEST(Groove, TreeGroupRoundTrip) {
    GrooveInput in;
    in.x0 = "3";
    in.angle = "-45";
    in.approach = "4";
    in.direction = 1;
    in.centres = 1;
    GeoTree tree = grooveGroup(in, GrooveCaptions::czech());
    ASSERT_EQ(tree.size(), 9);
    EXPECT_EQ(tree[0].text, "Drážky");
    EXPECT_EQ(tree[5].text, "Úhel : -45");
    EXPECT_EQ(tree[7].text, "Směr : 1");
    tree += grooveGroup(GrooveInput{}, GrooveCaptions::czech());
    const QList<GrooveInput> back = groovesFromTree(tree);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(grooveText(back[0]), grooveText(in));
    EXPECT_EQ(grooveText(back[1]), grooveText(GrooveInput{}));

    ASSERT_TRUE(setNodeValue(tree[8].text, "x"));
    try {
        groovesFromTree(tree);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'x' is not a valid integer value");
    }
}

TEST(Groove, AValueTooLargeForAnNcWordIsAFieldError) {
    const struct {
        const char *what;
        std::function<void(GrooveInput &)> set;
        const char *named;
    } cases[] = {
        {"a length of a hundred digits", [](GrooveInput &in) { in.length = "1" + QString(100, u'0'); }, nullptr},
        {"a start far out", [](GrooveInput &in) { in.y0 = "-999999999999999"; }, "-999999999999999"},
        {"a width", [](GrooveInput &in) { in.width = "3E15"; }, "3E15"},
        {"an angle", [](GrooveInput &in) { in.angle = "1E20"; }, "1E20"},
    };
    for (const auto &c : cases) {
        GrooveInput in;
        c.set(in);
        try {
            grooveText(in);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ConversionError &e) {
            const QString named = c.named ? QString(c.named) : in.length;
            EXPECT_EQ(e.message(), "'" + named + "' is not a valid floating point value") << c.what;
        }
    }
}
