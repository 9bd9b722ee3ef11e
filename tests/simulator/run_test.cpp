// Continuous runs, stop marks, running to a block, times, tool changes, the path tree and picking.
#include "simfixture.h"

#include <cmath>

using namespace velmora::sim;
using velmora::sim::test::Marks;
using velmora::sim::test::Sim;
using velmora::sim::test::lines;

namespace {

QStringList numbered(int count) {
    QStringList out{QStringLiteral("%P G71 *")};
    for (int i = 2; i <= count; ++i)
        out << QStringLiteral("N%1 G91 X1").arg(i);
    return out;
}

TEST(Run, EndsBeforeTheLastLine) {
    Sim s(numbered(5), false);
    Marks marks;
    const RunResult r = s.sim.run(&marks);
    EXPECT_EQ(r.blocks, 3);
    EXPECT_EQ(s.sim.caret(), 4);
    EXPECT_DOUBLE_EQ(s.c().X, 3); // lines 2, 3 and 4
    EXPECT_TRUE(s.state().stop);
}

TEST(Run, StopMarks) {
    Sim s(numbered(6), false);
    Marks marks;
    marks.lines = {3};
    s.sim.run(&marks);
    EXPECT_EQ(s.sim.caret(), 3); // the marked block runs, then the run stops
    EXPECT_DOUBLE_EQ(s.c().X, 2);
    const RunResult again = s.sim.run(&marks);
    EXPECT_EQ(again.blocks, 0); // a run started on a marked line stops at once
    EXPECT_EQ(s.sim.caret(), 3);
    s.sim.step();
    EXPECT_EQ(s.sim.caret(), 4);
    EXPECT_DOUBLE_EQ(s.c().X, 3);
}

TEST(Run, EndsAtTheEndOfProgramErrorsAndFailures) {
    const struct {
        std::initializer_list<const char *> blocks;
        int caret;
        bool failed;
    } cases[] = {
        {{"G91 X1", "M30", "G91 X1", "G91 X1", "G91 X1"}, 3, false},
        {{"G91 X1", "G79 X5", "G91 X1", "G91 X1", "G91 X1"}, 3, false},
        {{"G91 X1", "G91 X1,,1", "G91 X1", "G91 X1", "G91 X1"}, 3, true},
        {{"G91 X1", "G90 A5", "G91 X1", "G91 X1", "G91 X1"}, 3, false},
    };
    for (const auto &c : cases) {
        Sim s(lines(c.blocks));
        Marks marks;
        const RunResult r = s.sim.run(&marks);
        EXPECT_EQ(s.sim.caret(), c.caret) << *(c.blocks.begin() + 1);
        EXPECT_EQ(r.failed, c.failed) << *(c.blocks.begin() + 1);
        EXPECT_EQ(s.recorder.messages.size(), 1u);
    }
    // In single steps the user goes on after them.
    Sim s(lines({"M30", "G91 X1"}));
    s.stepAll();
    EXPECT_DOUBLE_EQ(s.c().X, 1);
}

TEST(Run, LetsInputThroughAndStopsAtTheBlockLimit) {
    // An endless loop: the label jumps back to itself.
    Sim s(lines({"N10 G98 L1", "N20 G91 X1", "N30 D09 P01 0 P02 0 P03 1", "N40 G91 X1", "N50 G91 X1"}));
    Marks marks;
    const RunResult r = s.sim.run(&marks, 1000);
    EXPECT_TRUE(r.limitReached);
    EXPECT_EQ(r.blocks, 1000);
    EXPECT_EQ(marks.inputChecks, 3);
    ASSERT_EQ(s.recorder.messages.size(), 1u);
    EXPECT_EQ(s.recorder.messages[0].kind, MessageKind::Info);
    EXPECT_TRUE(s.recorder.messages[0].text.contains(QStringLiteral("1000")));
}

TEST(Run, FindBlockComparesTheNumberAsText) {
    Sim s(lines({"N200 G91 X1", "N020 G91 X1", "N20.5 G91 X1", "N20 G91 X1", "N20 G91 X2"}));
    EXPECT_EQ(s.sim.findBlock(QStringLiteral("20")), 5);
    EXPECT_EQ(s.sim.findBlock(QStringLiteral("20,5")), 4);
    EXPECT_EQ(s.sim.findBlock(QStringLiteral("7")), 0);
    EXPECT_EQ(s.sim.findInProgram(QStringLiteral("N020 G91 X1")), 3);
    EXPECT_EQ(s.sim.findInProgram(QStringLiteral("N999")), 6); // none: the last line
}

TEST(Run, Times) {
    const struct {
        std::initializer_list<const char *> blocks;
        double total;
        double rapid, drilling, tapping;
    } cases[] = {
        {{"G90 G01 X100 F200"}, 0.5, 0, 0, 0},
        {{"G90 G00 X100"}, 0.01, 0.01, 0, 0},
        {{"G90 G17 G00 X10 Y0 Z600", "G03 X0 Y10 I0 J0 F100"}, 0.001 + 90 * 2 * M_PI * 10 / 360 / 100, 0.001, 0, 0},
        {{"G90 G17 G00 X10 Y0 Z600", "G02 X0 Y10 I0 J0 F100"}, 0.001 + 270 * 2 * M_PI * 10 / 360 / 100, 0.001, 0, 0},
        {{"G90 G83 P01 2 P02 -20 P05 100", "G79"}, 0.18 + 0.0018, 0, 0.1818, 0},
        {{"G90 G84 P01 2 P02 -20 P04 1,5 F100 S500", "G79"}, 20 / 1.5 - 2 + 1.8, 0, 0, 20 / 1.5 - 2 + 1.8},
        {{"G90 G85 P01 2 P02 -20 P04 1,5 F100 S500", "G79"}, 2 - 20 / 750.0 + 1.8, 0, 0, 2 - 20 / 750.0 + 1.8},
        {{"G90 G17 T1", "G17 T2"}, 1, 0, 0, 0},
    };
    for (const auto &c : cases) {
        Sim s(lines(c.blocks));
        s.stepAll();
        EXPECT_NEAR(s.sim.totalTime(), c.total, 1e-4) << *c.blocks.begin();
        EXPECT_NEAR(s.sim.rapidTime(), c.rapid, 1e-4) << *c.blocks.begin();
        EXPECT_NEAR(s.sim.drillingTime(), c.drilling, 1e-9) << *c.blocks.begin();
        EXPECT_NEAR(s.sim.tappingTime(), c.tapping, 1e-9) << *c.blocks.begin();
        EXPECT_TRUE(s.recorder.messages.empty()) << s.recorder.texts().join(" | ").toStdString();
    }
    // The settings texts are converted at every use, with the decimal comma.
    Sim s(lines({"G90 G00 X100", "G90 G00 X0", "G90 G00 X0"}));
    s.sim.rapidText = QStringLiteral("20000");
    s.steps(1);
    s.sim.rapidText = QStringLiteral("12.5");
    s.steps(1);
    s.sim.rapidText = QStringLiteral("2,5");
    s.steps(1);
    EXPECT_NEAR(s.sim.totalTime(), 0.005 + 40, 1e-9);
    EXPECT_EQ(s.recorder.texts(), QStringList{QStringLiteral("'12.5' is not a valid floating point value")});
    EXPECT_EQ(s.sim.segments().size(), 2u); // the failing move added no segment
}

TEST(Run, ToolChangesAndThePathTree) {
    Sim s(lines({"G90 G17 T1", "G01 X10 F100", "G01 Y10", "G17 T2 ; second", "G01 X0", "G17 T3 G01 X5"}));
    s.stepAll();
    EXPECT_EQ(s.state().toolCounter, 3);
    EXPECT_DOUBLE_EQ(s.sim.toolChangeTotal(), 1.5);
    ASSERT_EQ(s.sim.toolNodes().size(), 3u);
    EXPECT_EQ(s.sim.toolNodes()[1].caption, QStringLiteral("Nástroj - #2"));
    EXPECT_EQ(s.sim.toolNodes()[1].child, QStringLiteral("G17 T2 "));
    EXPECT_EQ(s.sim.findInProgram(s.sim.toolNodes()[2].child), 7);

    s.sim.setToolVisible(1, false);
    const SegmentStore &segs = s.sim.segments();
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_FALSE(segs[0].visible);
    EXPECT_FALSE(segs[1].visible);
    EXPECT_TRUE(segs[2].visible);
    s.sim.setKindVisible(KindFeed, true); // the last action decides
    EXPECT_TRUE(segs[0].visible);
    s.sim.setKindVisible(KindRapid, false);
    EXPECT_TRUE(segs[0].visible);

    s.sim.reset();
    EXPECT_TRUE(s.sim.toolNodes().empty());
    EXPECT_EQ(s.state().toolCounter, 0);
    EXPECT_EQ(s.sim.toolChangeTotal(), 0);
}

TEST(Run, PickInfoOfATwoPointSegment) {
    Sim s(lines({"G90 G01 X3.123456 Y4 F150 S800", "G42 G01 Z-2", "G00 X0"}));
    s.sim.rapidText = QStringLiteral("15000");
    s.stepAll();
    const PickInfo feed = s.sim.pickInfo(0);
    EXPECT_EQ(feed.start[2], "600");
    EXPECT_EQ(feed.end[0], "3,1235");
    EXPECT_EQ(feed.type, "posuv");
    EXPECT_EQ(feed.s, "800");
    EXPECT_EQ(feed.f, "150");
    EXPECT_EQ(s.sim.pickInfo(1).type, "posuv pravá korekce");
    const PickInfo rapid = s.sim.pickInfo(2);
    EXPECT_EQ(rapid.type, "rychloposuv");
    EXPECT_EQ(rapid.f, "15000");
}

TEST(Run, ResetKeepsTheQValues) {
    Sim s(lines({"D00 Q1 P01 5", "Q2 = Q1 + 1"}));
    s.steps(1);
    s.sim.reset();
    EXPECT_EQ(s.sim.qText(1), "");
    s.steps(1);
    EXPECT_EQ(s.module.q[2], 6);
}

} // namespace
