#include "common/ini.h"
#include "common/numbers.h"
#include "nctext/logic/renumber.h"
#include "tests/support/testutil.h"

#include "tests/nctext/printers.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

RenumberOptions iso(RenumberStyle style, const char *first, const char *step, EndMarker to = EndMarker::M30) {
    RenumberOptions o;
    o.style = style;
    o.first = QString::fromUtf8(first);
    o.step = QString::fromUtf8(step);
    o.to = to;
    return o;
}

QStringList run(QStringList lines, const RenumberOptions &o, int from = 0, int to = -1) {
    renumber(lines, o, from, to);
    return lines;
}

} // namespace

TEST(Renumber, ExistingNumbersUpToTheMarker) {
    const struct {
        const char *name;
        RenumberOptions options;
        QStringList in, out;
    } cases[] = {
        {"stops after M30", iso(RenumberStyle::Renumber, "10", "10"),
         {"N5 G0 X0", "N7 G1 X10", "N9 M30", "N11 G0 X0"},
         {"N10 G0 X0", "N20 G1 X10", "N30 M30", "N11 G0 X0"}},
        {"header line takes the first number twice", iso(RenumberStyle::Renumber, "100", "10"),
         {"%PGM N12 :7", "N3 G0", ":44 X1", ":4 N8 Y2"},
         {"%PGM N100 :100", "N110 G0", ":120 X1", ":4 N130 Y2"}},
        {"a ':' line keeps the first number pending", iso(RenumberStyle::Renumber, "1", "2"),
         {":55", "G0 X1", "N40 G1", "", "N41"}, {":55", "G0 X1", "N1 G1", "", "N3"}},
        {"M2 is a substring test", iso(RenumberStyle::Renumber, "10", "10", EndMarker::M2),
         {"N1 G0", "N2 M25", "N3 G1"}, {"N10 G0", "N20 M25", "N3 G1"}},
        {"marker on an unnumbered line stops", iso(RenumberStyle::Renumber, "10", "10"),
         {"N1 G0", "G1 M30", "N3 G1"}, {"N10 G0", "G1 M30", "N3 G1"}},
        {"whole program", iso(RenumberStyle::Renumber, "0", "5", EndMarker::Whole),
         {"N1 M30", "N1 M30", "N1"}, {"N0 M30", "N5 M30", "N10"}},
        {"first number as typed", iso(RenumberStyle::Renumber, "007", "1"), {"N3", "N4"}, {"N007", "N8"}},
        {"blanks around the first number are not written", iso(RenumberStyle::Renumber, " 10 ", "10"),
         {"N1 G0", "N2"}, {"N10 G0", "N20"}},
        {"remove", iso(RenumberStyle::Remove, "10", "10"),
         {"N120   G1 X5", ":1234", "%PGM", "G0 N5", "N7 M30", "N8 G0"},
         {"G1 X5", "", "%PGM", "G0 N5", "M30", "N8 G0"}},
        {"create", iso(RenumberStyle::Create, "10", "5"),
         {"G0 X0", "(comment)", ";x", "", " ", "\"q", "G1 X1", "N3 G2", "M30", "G0"},
         {"N10G0 X0", "(comment)", ";x", "", " ", "\"q", "N15G1 X1", "N20N3 G2", "N25M30", "G0"}},
        {"create does not test the first line for the marker", iso(RenumberStyle::Create, "1", "1"),
         {"M30", "G0", "M30", "G1"}, {"N1M30", "N2G0", "N3M30", "G1"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(run(c.in, c.options), c.out) << c.name;
}

TEST(Renumber, PeltonPageWrapsAtTheMaximum) {
    RenumberOptions o = iso(RenumberStyle::Renumber, "998", "1", EndMarker::Whole);
    o.page = RenumberPage::Pelton;
    o.max = "999";
    EXPECT_EQ(run({"N1", "N2", "N3", "N4"}, o), QStringList({"N998", "N999", "N1", "N2"}));
    // The same fields on the ISO page do not wrap.
    o.page = RenumberPage::Iso;
    EXPECT_EQ(run({"N1", "N2", "N3"}, o), QStringList({"N998", "N999", "N1000"}));
}

TEST(Renumber, SelectionLimitsTheRange) {
    const QStringList in{"N1", "N2", "N3", "N4"};
    EXPECT_EQ(run(in, iso(RenumberStyle::Renumber, "10", "10"), 1, 2), QStringList({"N1", "N10", "N20", "N4"}));
    // One line (no selection: the caret line only).
    EXPECT_EQ(run(in, iso(RenumberStyle::Renumber, "10", "10"), 3, 3), QStringList({"N1", "N2", "N3", "N10"}));
    EXPECT_EQ(run(in, iso(RenumberStyle::Remove, "10", "10"), 0, 0), QStringList({"", "N2", "N3", "N4"}));
}

TEST(Renumber, HeidenhainVariants) {
    RenumberOptions o;
    o.page = RenumberPage::Heidenhain;
    o.first = "not a number"; // the ISO fields are ignored on this page
    o.variant = HeidenhainVariant::Tnc426;
    EXPECT_EQ(run({"0 BEGIN PGM X MM", "1 CYCL DEF 200 VRTANI", "Q200=2", "Q201=-20", "5 L Z+100 R0 FMAX"}, o),
              QStringList({"0  BEGIN PGM X MM", "1  CYCL DEF 200 VRTANI", "   Q200=2", "   Q201=-20",
                           "2  L Z+100 R0 FMAX"}));

    // Continuation lines line up with their block for 2- and 3-digit numbers, not beyond.
    QStringList many;
    for (int i = 0; i < 1010; ++i)
        many << QStringLiteral("%1 L X+%1").arg(i);
    many[11] = "Q1=1";   // block 10
    many[102] = "Q2=2";  // block 100
    many[1004] = "Q3=3"; // block 1001
    const QStringList out = run(many, o);
    EXPECT_EQ(out[11], "    Q1=1");
    EXPECT_EQ(out[12], "11  L X+12");
    EXPECT_EQ(out[102], "     Q2=2");
    EXPECT_EQ(out[1004], "Q3=3");
    EXPECT_EQ(out[1005], "1002  L X+1005");

    o.variant = HeidenhainVariant::Tnc407;
    QStringList lines(8, "1 L");
    lines[3] = "L X+0";
    lines[7] = "/12 L X+0";
    lines[5] = "";
    const QStringList r = run(lines, o);
    EXPECT_EQ(r[3], "3  L X+0");
    EXPECT_EQ(r[7], "/7 L X+0");
    EXPECT_EQ(r[5], "5  ");
    EXPECT_EQ(r[6], "6 L");
}

TEST(Renumber, FieldErrorsLeaveTheLinesUnchanged) {
    const QStringList in{"N1 G0", "N2 G1"};
    const struct {
        RenumberStyle style;
        RenumberPage page;
        const char *first, *step, *max, *bad;
    } cases[] = {
        {RenumberStyle::Renumber, RenumberPage::Iso, "1O", "10", "999", "1O"},
        {RenumberStyle::Renumber, RenumberPage::Iso, "10", "", "999", ""},
        {RenumberStyle::Remove, RenumberPage::Iso, "10", "x", "999", "x"},
        {RenumberStyle::Create, RenumberPage::Iso, "1.5", "10", "999", "1.5"},
        {RenumberStyle::Renumber, RenumberPage::Pelton, "10", "10", "9,9", "9,9"},
    };
    for (const auto &c : cases) {
        RenumberOptions o = iso(c.style, c.first, c.step);
        o.page = c.page;
        o.max = QString::fromUtf8(c.max);
        QStringList lines = in;
        try {
            renumber(lines, o);
            ADD_FAILURE() << c.bad;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(c.bad)));
        }
        EXPECT_EQ(lines, in);
    }
}

TEST(Renumber, SettingsRoundTripAndDefaults) {
    test::ScratchFolder folder;
    const QString ini = folder.file("SetupCNC.ini");
    const RenumberSettings d = readRenumberSettings(ini);
    EXPECT_EQ(d.first, "10");
    EXPECT_EQ(d.step, "10");
    EXPECT_EQ(d.to, 0);
    EXPECT_EQ(d.variant, 0);
    EXPECT_EQ(d.max, "999");

    folder.write("SetupCNC.ini", test::cp1250Lines({"[Editor]", "EnterText=N1 ", "[precislovani]", "prvni=5"}));
    RenumberSettings s = readRenumberSettings(ini);
    EXPECT_EQ(s.first, "5");
    s.step = "2";
    s.to = 2;
    s.variant = 1;
    s.max = "500";
    ASSERT_TRUE(writeRenumberSettings(ini, s));
    const RenumberSettings r = readRenumberSettings(ini);
    EXPECT_EQ(r.first, "5");
    EXPECT_EQ(r.step, "2");
    EXPECT_EQ(r.to, 2);
    EXPECT_EQ(r.variant, 1);
    EXPECT_EQ(r.max, "500");
    EXPECT_EQ(IniFile(ini).readString("Editor", "EnterText"), "N1");
}
