// Tool lists: the Mazak, Heidenhain and unformatted listings, the tool list
// file, and moving a list into a new 407/426 table.
#include "common/textfile.h"
#include "tooltables/logic/tablesession.h"
#include "tooltables/logic/toollists.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QStringList lines(std::initializer_list<const char *> l) {
    QStringList out;
    for (const char *s : l)
        out << QString::fromUtf8(s);
    return out;
}

const ToolListOptions kFirst{false, false};
const ToolListOptions kLast{true, false};

QStringList heiden(const QStringList &program, const ToolListOptions &o, const QList<ToolListItem> &tree = {}) {
    return heidenhainListing(program, "P.H", o, [&](const QString &w) { return treeNamesTool(tree, w); }).children;
}

ToolTable builtTemplate() {
    ToolTable t(ToolTableKind::Tnc407);
    EXPECT_TRUE(t.load(loadTextFile(QStringLiteral(VELMORA_PROGRAM_DIR "/0000.tnc")).lines));
    return t;
}

} // namespace

TEST(MazakListing, ToolAndOffsetNearAComment) {
    const QStringList program = lines({"%", "(FREZA D20)", "T01 T00 M06", "G0 X0", "G0 Y0", "S1000 M3",
                                       "G43 H01 Z100.", "X10", "X20", "M30"});
    const ToolListing l = mazakListing(program, "DIL.EIA", kFirst);
    EXPECT_EQ(l.top, QString::fromUtf8("Nástroje z programu MAZAK :DIL.EIA"));
    // The H lands in column 36.
    ASSERT_EQ(l.children, QStringList{"T01 FREZA D20" + QString(22, u' ') + "H01"});
    EXPECT_EQ(l.children[0].indexOf(u'H'), 35);

    // The window follows the tool line: a G43 right after it is not looked at.
    QStringList early = program;
    early[3] = "G43 H01 Z100.";
    early[6] = "G0 Z50.";
    EXPECT_EQ(mazakListing(early, "X", kFirst).children, QStringList{"T01 FREZA D20"});
}

TEST(MazakListing, FieldWidthsHeadsAndWindowEdges) {
    const struct {
        const char *tool;
        const char *child;
    } words[] = {{"T12 M6", "T12 A"}, {"T123 M6", "T123A"}, {"T1234 M6", "T1234A"}, {"T5", "T5  A"}};
    for (const auto &w : words)
        EXPECT_EQ(mazakListing(lines({"%", "(A)", w.tool, "X1", "M30"}), "X", kFirst).children,
                  QStringList{w.child})
            << w.tool;

    // Head changes; the 45 degree head leaves the H field out until the next head change.
    // (After a tool line the window skips three lines, so the G43 lines stand five below the comments.)
    QStringList program = lines({"%", "M943", "(VRTAK D8)", "T02 M6"});
    program << "X0" << "X0" << "X0" << "G43 H02";
    for (int k = 8; k <= 16; ++k)
        program << "X0";
    program << "M941" << "(FREZA D10)" << "T03 M6" << "X0" << "X0" << "X0" << "G43 H03" << "X0" << "X0" << "M30";
    const QStringList c = mazakListing(program, "X", kFirst).children;
    ASSERT_EQ(c.size(), 4);
    EXPECT_EQ(c[0], QString::fromUtf8("ŠIKMÁ HLAVA 45°"));
    EXPECT_EQ(c[1], "T02 VRTAK D8");
    EXPECT_EQ(c[2], QString::fromUtf8("VERTIKÁLNÍ HLAVA "));
    EXPECT_EQ(c[3], "T03 FREZA D10" + QString(22, u' ') + "H03");

    // A comment on the first line, and a tool line that is the last line, list nothing.
    EXPECT_TRUE(mazakListing(lines({"(A)", "T1 M6", "X0", "M30"}), "X", kFirst).children.isEmpty());
    EXPECT_TRUE(mazakListing(lines({"%", "(A)", "T1 M6"}), "X", kFirst).children.isEmpty());
    EXPECT_TRUE(mazakListing({}, "X", kFirst).children.isEmpty());
}

TEST(MazakListing, LastLineOfACommentRun) {
    const QStringList program = lines({"%", "(OPERACE 1)", "(FREZA D20)", "T01 M6", "X0", "M30"});
    EXPECT_EQ(mazakListing(program, "X", kFirst).children, QStringList{"T01 OPERACE 1"});
    EXPECT_EQ(mazakListing(program, "X", kLast).children, QStringList{"T01 FREZA D20"});
    // A run of comments that reaches the end lists nothing and stops.
    EXPECT_TRUE(mazakListing(lines({"%", "X0", "(A)", "(B)"}), "X", kLast).children.isEmpty());
}

TEST(HeidenhainListing, ToolsNearComments) {
    // A tool found above a comment moves the scan four lines on.
    const QStringList program = lines({"%DIL4 G71 *", "N10 G30 G17 X+0 Y+0 Z-40 *", "N20 G31 X+100 Y+100 Z+0 *",
                                       "N30 G00 Z+100 *", "N40 T1 G17 S1000 *", ";FREZA VALCOVA D20 *",
                                       "N50 G00 X+0 Y+0 *", "N60 X+10 *", "N70 X+20 *", "N80 X+30 *",
                                       "N90 T12 G17 S800 *", ";VRTAK D8 *", "N100 X+1 *", "N110 X+2 *",
                                       "N120 X+3 *", "N99999 M30 *"});
    const ToolListing l =
        heidenhainListing(program, "DIL4.H", kFirst, [](const QString &) { return false; });
    EXPECT_EQ(l.top, QString::fromUtf8("Nástroje z programu Heidenhain :DIL4.H"));
    EXPECT_EQ(l.children, QStringList({"T1 ;FREZA VALCOVA D20 *", "T12 ;VRTAK D8 *"}));
    // Formatted: characters 2-19 of the comment.
    EXPECT_EQ(heiden(program, {false, true}), QStringList({"T1 FREZA VALCOVA D20 ", "T12 VRTAK D8 *"}));
    // A comment within the first four lines lists nothing.
    EXPECT_TRUE(heiden(lines({"%A *", "N1 T1 *", ";FREZA *", "N2 X1 *", "N3 X2 *", "N4 X3 *", "N5 M30 *"}), kFirst)
                    .isEmpty());
}

TEST(HeidenhainListing, AToolAlreadyInTheTreeIsNotListedAgain) {
    const QStringList program = lines({"%A *", "N1 *", "N2 *", "N3 *", "N4 T1 *", ";FREZA D20 *", "N5 *", "N6 *",
                                       "N7 *", "N8 T12 *", ";VRTAK D8 *", "N9 *", "N10 *", "N11 *", "N12 T1 *",
                                       ";FREZA D20 *", "N13 *", "N14 *", "N15 *", "N16 M30 *"});
    // T1 again later: left out. T12 is a tool of its own although it begins with "T1".
    EXPECT_EQ(heiden(program, kFirst), QStringList({"T1 ;FREZA D20 *", "T12 ;VRTAK D8 *"}));
    // With T12 already in the tree, T1 is still a different tool; a program
    // named PART1 does not hide tool T1 either.
    QList<ToolListItem> tree{{0, QString::fromUtf8("Nástroje z programu Heidenhain :PART1.H")}, {1, "T12 ;VRTAK *"}};
    EXPECT_EQ(heiden(program, kFirst, tree), QStringList({"T1 ;FREZA D20 *"}));
    tree.append({1, "T1 ;X"});
    EXPECT_TRUE(heiden(program, kFirst, tree).isEmpty());
}

TEST(HeidenhainListing, ToolWordsAreTheWordsTheTreeNames) {
    const char *texts[] = {"T1 FREZA", "T12 ;VRTAK", "PART1.H", "X T1.5-2 Y", "T", "TT3", "(T7)", "T3T4", "T-1.", ""};
    const char *words[] = {"T", "T1", "T12", "T1.", "T1.5", "T1.5-", "T1.5-2", "T3", "T4", "T7", "T-", "T-1", "T-1.", "T2"};
    for (const char *t : texts) {
        QSet<QString> set;
        addToolWords(t, set);
        for (const char *w : words)
            EXPECT_EQ(set.contains(w), nodeNamesTool(t, w)) << t << " / " << w;
    }
}

TEST(UnformattedListing, EveryCommentOfEveryLine) {
    const QStringList program = lines({"G0 X0 ;NAJEZD *", "(A) \"B\"", "", "X1 (NEUZAVRENA", "\"C", "M30 ;KONEC"});
    const ToolListing l = unformattedListing(program, "X.NC");
    EXPECT_EQ(l.top, QString::fromUtf8("Neformát. nástroje z programu :X.NC"));
    // The last line counts too.
    EXPECT_EQ(l.children, QStringList({";NAJEZD ", "A", "B", "NEUZAVRENA", "C", ";KONE"}));

    // Leading blanks would read back as levels of the tool list file: they are left out.
    QList<ToolListItem> tree, back;
    appendListing(tree, unformattedListing(lines({"T1 (  VRTAK 8)", "\"\tX\""}), "Y.NC"));
    EXPECT_EQ(tree[1].text, "VRTAK 8");
    EXPECT_EQ(tree[2].text, "X");
    QString error;
    ASSERT_TRUE(parseToolListFile(toolListFileLines(tree), back, &error)) << error.toStdString();
    EXPECT_EQ(back, tree);
}

TEST(ToolListFile, LevelsAndTheirLimits) {
    const QList<ToolListItem> items{{0, "A :X"}, {1, "T1 FREZA"}, {2, "DETAIL"}, {1, "T2"}, {0, "B"}};
    const QStringList file = toolListFileLines(items);
    EXPECT_EQ(file, QStringList({"A :X", "\tT1 FREZA", "\t\tDETAIL", "\tT2", "B"}));
    QList<ToolListItem> back;
    QString error;
    ASSERT_TRUE(parseToolListFile(file, back, &error)) << error.toStdString();
    EXPECT_EQ(back, items);

    // Blanks count as levels like tabs.
    ASSERT_TRUE(parseToolListFile({"A", " B", "  C", "\t D"}, back, &error));
    EXPECT_EQ(back, (QList<ToolListItem>{{0, "A"}, {1, "B"}, {2, "C"}, {2, "D"}}));

    const struct {
        QStringList file;
        const char *error;
    } bad[] = {
        {{"A", "\t\tB"}, "Invalid level (2) for item \"B\""},
        {{"\tA"}, "Invalid level (1) for item \"A\""},
        {{"A", "\tB", "\t\t\t\tC"}, "Invalid level (4) for item \"C\""},
    };
    for (const auto &b : bad) {
        QList<ToolListItem> kept{{0, "KEPT"}};
        EXPECT_FALSE(parseToolListFile(b.file, kept, &error));
        EXPECT_EQ(error, b.error);
        EXPECT_EQ(kept, (QList<ToolListItem>{{0, "KEPT"}}));
    }
}

TEST(MoveToolList, NodesBecomeToolsInTreeOrder) {
    ToolTableSession s(ToolTableKind::Tnc407);
    ASSERT_EQ(s.create(builtTemplate().lines(), "0000.tnc"), TableProblem::None);
    const QStringList before = s.table().lines();
    const QStringList nodes{QString::fromUtf8("Nástroje z programu Heidenhain :DIL4.H"), "T5 ;FREZA D20 *",
                            "T7 ;VRTAK 12,5 *", QString::fromUtf8("Nástroje z programu MAZAK :B.EIA"),
                            "T01 FREZA D10" + QString(22, u' ') + "H01"};
    EXPECT_EQ(s.moveToolList(nodes), 2); // the second top-level node and the Mazak line with its H field are cut
    EXPECT_EQ(s.tableName(), "DIL4.tnc");
    EXPECT_TRUE(s.isModified());
    const ToolTable &t = s.table();
    const struct {
        int tool;
        QString name, radius;
    } expected[] = {
        {1, ";FREZA D20 ", "+10"},
        {2, ";VRTAK 12,5 ", "+6,25"},
        {3, "z programu MAZAK :B.EI", "+0"}, // the first word and the last character dropped, cut to 17
        {4, "FREZA D10" + QString(22, u' ') + "H0", "+5"},
        {5, "", "+0"},
    };
    for (const auto &e : expected) {
        EXPECT_EQ(t.name(e.tool + 2), e.name.left(17).leftJustified(17)) << e.tool;
        EXPECT_EQ(t.radius(e.tool + 2), e.radius.leftJustified(12)) << e.tool;
    }
    EXPECT_EQ(t.line(8), before[8]);
    EXPECT_EQ(t.line(103), before[103]);
    EXPECT_EQ(t.line(0), before[0]);
}

TEST(MoveToolList, MoreThanHundredNodesFillToolHundred) {
    ToolTableSession s(ToolTableKind::Tnc407);
    s.create(builtTemplate().lines(), "0000.tnc");
    QStringList nodes{"PROGRAM"};
    for (int j = 1; j <= 120; ++j)
        nodes << QStringLiteral("T%1 N%1X").arg(j);
    s.moveToolList(nodes);
    EXPECT_EQ(s.tableName(), "PROGRAM.tnc"); // no ":" and no "."
    EXPECT_EQ(s.table().name(102).trimmed(), "N100");
    EXPECT_EQ(s.table().line(103), "[END]");
    EXPECT_EQ(s.table().lines().size(), kToolTableLines);
}
