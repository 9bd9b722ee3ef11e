// Blocks, words, modal state, Q parameters, D functions, labels, calls and repeats.
#include "simfixture.h"

#include <cmath>

using namespace velmora::sim;
using velmora::sim::test::Sim;
using velmora::sim::test::lines;

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Interpreter, WordValues) {
    // Each case: the blocks before, the block, and the X it gives (G90, no datum).
    const struct {
        const char *setup;
        const char *block;
        double x;
    } cases[] = {
        {"", "G90 X+10", 10},
        {"", "G90 X 12.5", 12.5},
        {"", "G90 X-,5", -0.5},
        {"D00 Q3 P01 2.5", "G90 X-Q3", -2.5},
        {"D00 Q3 P01 2.5", "G90 XQ3", 2.5},
        {"D00 Q3 P01 -2.5", "G90 X-Q3", 2.5},
        {"D00 Q3 P01 2.5", "G90 X+Q3", 2.5},    // other characters before the Q are dropped
        {"D00 Q44 P01 7", "G90 X Q300", 7},     // Q numbers are taken modulo 256
        {"D00 Q3 P01 2.5", "G90 XQ3.5", 2.5},   // reading ends after the Q's digits
        {"", "G90 X5 Y1.2.3", 5},               // the failing Y leaves the X already read
    };
    for (const auto &c : cases) {
        QStringList blocks;
        if (*c.setup)
            blocks << QString::fromLatin1(c.setup);
        blocks << QString::fromLatin1(c.block);
        Sim s(blocks);
        s.stepAll();
        EXPECT_DOUBLE_EQ(s.c().X, c.x) << c.block;
    }
}

TEST(Interpreter, FirstBlockOfTheExamples) {
    Sim s(lines({"N10 G01 X+10 Y-5,5 F200"}));
    s.state().absolute = true;
    s.steps(1);
    EXPECT_EQ(s.sim.caret(), 2);
    EXPECT_DOUBLE_EQ(s.c().X, 10);
    EXPECT_DOUBLE_EQ(s.c().Y, -5.5);
    EXPECT_DOUBLE_EQ(s.c().F, 200);
    EXPECT_TRUE(s.state().linear);
    EXPECT_FALSE(s.state().rapid);
    const PositionTexts p = s.sim.positionTexts();
    EXPECT_EQ(p.current[0], "01");
    EXPECT_EQ(p.current[1], "10");
    EXPECT_EQ(p.current[2], "-5,5");
    EXPECT_EQ(p.current[3], "600");
    EXPECT_TRUE(s.recorder.messages.empty());
}

TEST(Interpreter, AbsoluteIncrementalDatumMirroringRotation) {
    const struct {
        std::initializer_list<const char *> blocks;
        double x, y, rotation;
    } cases[] = {
        {{"G91 X5", "G91 X5"}, 10, 0, 0},
        {{"G91 X5 R7", "G90 Y1"}, 5, 1, 0},
        {{"G28 X", "G90 X10"}, -10, 0, 0},
        {{"G28 X Y", "G90 X10 Y4"}, -10, -4, 0},
        {{"G28 X", "G28", "G90 X10"}, 10, 0, 0},
        {{"G54 X100", "G90 X10"}, 110, 0, 0},
        {{"G54 X100", "G90 X10", "G90 IX5"}, 115, 0, 0},
        {{"G54 X100 Y-20", "G28 Y", "G90 X10 Y5"}, 110, -25, 0},
        {{"G90 G73 H30"}, 0, 0, 30},
        {{"G90 G73 H30", "G91 G73 H15"}, 0, 0, 45},
        {{"G90 G73 H30", "G90 H90"}, 0, 0, 30}, // a pending rotation is used once
    };
    for (const auto &c : cases) {
        Sim s(lines(c.blocks));
        s.stepAll();
        EXPECT_DOUBLE_EQ(s.c().X, c.x) << *c.blocks.begin();
        EXPECT_DOUBLE_EQ(s.c().Y, c.y) << *c.blocks.begin();
        EXPECT_DOUBLE_EQ(s.c().rotation, c.rotation) << *c.blocks.begin();
        EXPECT_TRUE(s.recorder.messages.empty()) << s.recorder.texts().join(" | ").toStdString();
    }
    Sim incremental(lines({"G91 X5 R7 P01 3"}));
    incremental.stepAll();
    EXPECT_EQ(incremental.c().R, 0); // R and P words are not read in incremental mode
    EXPECT_EQ(incremental.c().P[0], 0);
}

TEST(Interpreter, FailingBlocks) {
    // Each case: a program, the messages it shows by single steps, in order.
    const struct {
        std::initializer_list<const char *> blocks;
        std::initializer_list<const char *> messages;
    } cases[] = {
        {{"G90 X1.2.3"}, {"'1,2,3' is not a valid floating point value"}},
        {{"G90 X-"}, {"'-' is not a valid floating point value"}},
        {{"G90 X"}, {"'' is not a valid floating point value"}},
        {{"G1.5 X1"}, {"'1,5' is not a valid integer value"}},
        {{"GQ X1"}, {"Chyba funkce.", "'' is not a valid integer value"}},
        {{"G90 XQ"}, {"'' is not a valid integer value"}}, // no box for coordinate words
        {{"G90 IY5"}, {"'' is not a valid floating point value"}}, // the I of IY is read as I
        {{"N9999 %DRAHA G71 *"}, {"'' is not a valid integer value"}}, // the D of DRAHA comes first
        {{"L3"}, {"'' is not a valid integer value"}}, // a call without its repeat count
        {{"G01 X10"}, {"Floating point division by zero"}}, // no feed yet
        {{"G91 G02 X10"}, {"'' is not a valid integer value"}}, // no plane yet
        {{"D04 Q1 P01 1 P02 0"}, {"Floating point division by zero"}},
        {{"D05 Q1 P01 -4"}, {"Invalid floating point operation"}},
        {{"D00 Q300 P01 1"}, {"Q parametr Q300 neexistuje, platné jsou Q0 až Q255"}},
        {{"G79 X10"}, {"Nedovolený pohyb s funkci G79"}},
        {{"G90 A90"}, {"Není vyplněn průměr pro osu A"}},
        {{"M30"}, {"Ok"}},
        {{"G30 X0 Y0 Z-40", "G31 X10 Y10 Z0", "G31 X10 Y10 Z0"}, {"A component named tovar already exists"}},
    };
    for (const auto &c : cases) {
        Sim s(lines(c.blocks));
        s.stepAll();
        QStringList expected;
        for (const char *m : c.messages)
            expected << QString::fromUtf8(m);
        EXPECT_EQ(s.recorder.texts(), expected) << *c.blocks.begin();
    }
}

TEST(Interpreter, FailureKeepsEarlierChangesAndTheCaret) {
    Sim s(lines({"G90 G01 X5 F100 Y1.2", "G90 X7 Z1.2.3", "G90 Y3"}));
    s.steps(2);
    EXPECT_EQ(s.sim.caret(), 3);
    EXPECT_DOUBLE_EQ(s.c().X, 7);
    EXPECT_DOUBLE_EQ(s.c().Z, 600);
    EXPECT_EQ(s.sim.segments().size(), 1u); // the failing block drew nothing
    s.steps(1);
    EXPECT_EQ(s.sim.caret(), 4);
    EXPECT_DOUBLE_EQ(s.c().Y, 3);
}

TEST(Interpreter, GAndMWordsAreRemovedAsTheyAreRead) {
    // G98 turns its G into "POD": the D of POD reads 98 and is no D function.
    Sim label(lines({"N10 G98 L5 F300"}));
    label.stepAll();
    EXPECT_TRUE(label.recorder.messages.empty());
    EXPECT_DOUBLE_EQ(label.c().F, 300);
    // A tool change ends the block at G17; the tool node holds the block as it was then.
    Sim tool(lines({"N20 G90 G17 T3 S500 ; drill"}));
    tool.stepAll();
    EXPECT_EQ(tool.state().toolCounter, 1);
    ASSERT_EQ(tool.sim.toolNodes().size(), 1u);
    EXPECT_EQ(tool.sim.toolNodes()[0].caption, QStringLiteral("Nástroj - #1"));
    EXPECT_EQ(tool.sim.toolNodes()[0].child, QStringLiteral("N20  G17 T3 S500 "));
    EXPECT_EQ(tool.c().S, 0); // nothing after G17 is read
    // M codes: M89 calls the cycle in every block, M99 in its own block only and
    // turns the modal call off. A called drilling cycle adds its move down and its symbol.
    Sim m(lines({"G90 G81 P01 2 P02 -10 P05 100 M89", "G90 X5 M99", "G90 X6"}));
    m.steps(1);
    EXPECT_TRUE(m.state().modalCycleCall);
    EXPECT_EQ(m.sim.segments().size(), 3u);
    m.steps(1);
    EXPECT_FALSE(m.state().modalCycleCall);
    EXPECT_EQ(m.sim.segments().size(), 6u);
    m.steps(1);
    EXPECT_EQ(m.sim.segments().size(), 7u);
    EXPECT_TRUE(m.recorder.messages.empty());
}

TEST(Interpreter, QParametersAndAssignments) {
    const struct {
        std::initializer_list<const char *> blocks;
        int q;
        double value;
        const char *shown;
    } cases[] = {
        {{"D06 Q1 P01 30"}, 1, 0.5, "0,5"},
        {{"D13 Q2 P01 1 P02 1"}, 2, kPi / 4, "0,785398163397448"},
        {{"D00 Q4 P01 2.50"}, 4, 2.5, "2,50"}, // D0 shows the value as written
        {{"D01 Q5 P01 2 P02 3"}, 5, 5, "5"},
        {{"D02 Q5 P01 2 P02 3"}, 5, -1, "-1"},
        {{"D03 Q5 P01 2 P02 3"}, 5, 6, "6"},
        {{"D04 Q5 P01 3 P02 2"}, 5, 1.5, "1,5"},
        {{"D05 Q5 P01 16"}, 5, 4, "4"},
        {{"D07 Q5 P01 60"}, 5, 0.5, "0,5"},
        {{"D08 Q5 P01 3 P02 4"}, 5, 5, "5"},
        {{"Q1 = 2+3*4"}, 1, 14, "14"},
        {{"Q1 = 5 *"}, 1, 0, "0"},
        {{"Q1 = foo"}, 1, 0, "0"},
        {{"D00 Q2 P01 -3", "Q1 = Q2 * 2"}, 1, -6, "-6"},
        {{"D00 Q1 P01 4", "Q7 = Q1 + Q1"}, 7, 8, "8"},
        {{"D00 Q2 P01 3", "D00 Q3 P01 7", "Q5 = Q1+Q2"}, 5, 7, "7"}, // "1+" is dropped at the Q of Q2
        {{"D00 Q1 P01 0.1", "Q1 = Q1 * 3"}, 1, 0.3, "0,3"},
        {{"Q9 = 1 + 2 + 3/0 + 4"}, 9, 3, "3"},
        {{"N10 G01 Q6 = 1.5 ; comment"}, 6, 1.5, "1,5"},
    };
    for (const auto &c : cases) {
        Sim s(lines(c.blocks));
        s.stepAll();
        EXPECT_NEAR(s.module.q[size_t(c.q)], c.value, 1e-12) << *c.blocks.begin();
        EXPECT_EQ(s.sim.qText(c.q), QString::fromLatin1(c.shown)) << *c.blocks.begin();
        EXPECT_TRUE(s.sim.qWritten().test(size_t(c.q)));
    }
    Sim header(lines({"D00 Q0 P01 12"}));
    EXPECT_EQ(header.sim.qHeader(), "Hodnota");
    header.stepAll();
    EXPECT_EQ(header.sim.qHeader(), "12");
    EXPECT_EQ(header.sim.qText(1), "");
}

TEST(Interpreter, MessageBoxOfAnAssignment) {
    // Written in lower case: upper-case MSGBOX holds a G and an M, which are read as such.
    Sim s(lines({"Q1 = msgbox(vymena nastroje) + 2", "Q2 = MSGBOX(x)"}));
    s.stepAll();
    // The preview of line 3 after the first step fails on it already, then its execution.
    ASSERT_EQ(s.recorder.messages.size(), 3u);
    EXPECT_EQ(s.recorder.messages[0].kind, MessageKind::Message);
    EXPECT_EQ(s.recorder.messages[0].line, 2);
    EXPECT_EQ(s.recorder.messages[0].text, "vymena nastroje");
    EXPECT_EQ(s.module.q[1], 0); // the argument is no number: error, partial value 0
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(s.recorder.messages[size_t(i)].kind, MessageKind::Error);
        EXPECT_EQ(s.recorder.messages[size_t(i)].line, 3);
        EXPECT_EQ(s.recorder.messages[size_t(i)].text, "'' is not a valid integer value");
    }
}

TEST(Interpreter, JumpsToLabels) {
    // D09 to D12 jump to the last label line of the number; the next block follows it.
    QStringList prog;
    for (int i = 2; i <= 45; ++i)
        prog << QStringLiteral("N%1 G90 Z%1").arg(i);
    prog[12 - 2] = QStringLiteral("N12 G98 L5");
    prog[40 - 2] = QStringLiteral("N40 G98 L5 ; second label");
    prog[3 - 2] = QStringLiteral("D09 P01 1 P02 1 P03 5");
    const struct {
        const char *jump;
        int caret;
    } cases[] = {{"D09 P01 1 P02 1 P03 5", 40}, {"D09 P01 1 P02 2 P03 5", 3},  {"D10 P01 1 P02 2 P03 5", 40},
                 {"D11 P01 2 P02 1 P03 5", 40}, {"D12 P01 2 P02 1 P03 5", 3}, {"D09 P01 1 P02 1 P03 6", 3}};
    for (const auto &c : cases) {
        prog[3 - 2] = QString::fromLatin1(c.jump);
        Sim s(prog);
        s.sim.setCaret(2);
        s.steps(1);
        EXPECT_EQ(s.sim.caret(), c.caret) << c.jump;
        s.steps(1);
        EXPECT_EQ(s.sim.caret(), c.caret + 1);
        EXPECT_TRUE(s.recorder.messages.empty());
    }
}

TEST(Interpreter, SubprogramCallsReturnAfterTheEndLabel) {
    Sim s(lines({"N10 L3,0", "N20 G90 Y1", "N30 M30", "N40 G98 L3", "N50 G90 X5", "N60 G98 L0", "N70 G90 X9"}));
    // lines: 1 header, 2 call, 3, 4 M30, 5 label, 6, 7 end label, 8
    std::vector<int> executed;
    for (int i = 0; i < 5; ++i) {
        s.sim.step();
        executed.push_back(s.sim.caret());
    }
    EXPECT_EQ(executed, (std::vector<int>{5, 6, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(s.c().X, 5);
    EXPECT_DOUBLE_EQ(s.c().Y, 1);
    EXPECT_EQ(s.state().depth, 0);
    EXPECT_EQ(s.recorder.texts(), QStringList{QStringLiteral("Ok")});
}

TEST(Interpreter, RepeatsRunThePartAboveTheCall) {
    QStringList prog;
    for (int i = 2; i <= 22; ++i)
        prog << QStringLiteral("N%1 G91 X1").arg(i);
    prog[10 - 2] = QStringLiteral("N10 G98 L1");
    prog[20 - 2] = QStringLiteral("N20 L1,2");
    Sim s(prog);
    std::vector<int> executed;
    while (s.sim.caret() < 22) {
        s.sim.step();
        executed.push_back(s.sim.caret());
    }
    // The call puts the caret on the label line, so the next block is line 11.
    std::vector<int> expected;
    for (int i = 2; i <= 19; ++i)
        expected.push_back(i);
    expected.push_back(10);
    for (int i = 11; i <= 19; ++i)
        expected.push_back(i);
    expected.push_back(10);
    for (int i = 11; i <= 22; ++i)
        expected.push_back(i);
    EXPECT_EQ(executed, expected);
    // Lines 11 to 19 move by X1 three times in all, the other moving lines once.
    EXPECT_DOUBLE_EQ(s.c().X, 8 + 9 * 3 + 2);
    EXPECT_EQ(s.state().remainingRepeats, 0);
    EXPECT_EQ(s.state().depth, 0);
}

TEST(Interpreter, PreviewOfTheNextBlock) {
    Sim s(lines({"G90 G00 X1", "N20 G01 X12.5 Z-3 F100 ; next", "G30 X1 Y2"}));
    s.steps(1);
    PositionTexts p = s.sim.positionTexts();
    EXPECT_EQ(p.next[0], "01");
    EXPECT_EQ(p.next[1], "12,5");
    EXPECT_EQ(p.next[2], "0"); // no Y word: the field keeps its text
    EXPECT_EQ(p.next[3], "-3");
    EXPECT_TRUE(s.state().linear); // the preview sets the motion flag
    s.steps(1);
    p = s.sim.positionTexts();
    EXPECT_EQ(p.next[1], "12,5"); // G30 ends the preview before the coordinates
}

TEST(Interpreter, ResetSetsOnlyItsOwnState) {
    Sim s(lines({"G90 G18 G85 G73", "D00 Q1 P01 5", "G54 X3", "G91 G01 X1 F100"}));
    s.stepAll();
    EXPECT_EQ(s.sim.qText(1), "5");
    s.sim.reset();
    EXPECT_FALSE(s.state().absolute); // the last block switched to G91
    EXPECT_EQ(s.state().plane, 18);
    EXPECT_TRUE(s.state().rigidTapping);
    EXPECT_FALSE(s.state().rotationPending); // the G73 block's own coordinate step used it
    EXPECT_EQ(s.sim.qText(1), "");
    EXPECT_EQ(s.module.q[1], 5);
    EXPECT_DOUBLE_EQ(s.c().datumX, 0);
    EXPECT_DOUBLE_EQ(s.c().X, 0);
    EXPECT_DOUBLE_EQ(s.c().Z, 600);
    EXPECT_DOUBLE_EQ(s.c().F, 100);
    EXPECT_TRUE(s.state().rapid);
    EXPECT_FALSE(s.state().linear);
    EXPECT_EQ(s.sim.segments().size(), 0u);
    EXPECT_EQ(s.sim.caret(), 5);
}

} // namespace
