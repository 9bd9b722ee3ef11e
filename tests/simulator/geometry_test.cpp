// Where the tool goes and which segments a move draws: straight moves, arcs in the
// three planes, polar moves and helices, cycle symbols, the A axis, the workpiece box.
#include "simfixture.h"

#include <cmath>

using namespace velmora;
using namespace velmora::sim;
using velmora::sim::test::Sim;
using velmora::sim::test::lines;

namespace {

struct P {
    double x, y, z;
};

void expectPoint(const Point3f &p, P e, const char *what, double tol = 1e-4) {
    EXPECT_NEAR(p.x, e.x, tol) << what;
    EXPECT_NEAR(p.y, e.y, tol) << what;
    EXPECT_NEAR(p.z, e.z, tol) << what;
}

const Segment &last(const Sim &s, size_t fromEnd = 0) { return s.sim.segments()[s.sim.segments().size() - 1 - fromEnd]; }
const Point3f &pt(const Sim &s, const Segment &seg, int i) { return s.sim.segments().points(seg)[i]; }

TEST(Geometry, StraightRapidFromTheStartPosition) {
    Sim s(lines({"G90 G00 X10 Y10 Z5"}));
    s.stepAll();
    ASSERT_EQ(s.sim.segments().size(), 1u);
    const Segment &seg = last(s);
    EXPECT_EQ(seg.kind, KindRapid);
    EXPECT_EQ(seg.colour, clWhite);
    EXPECT_EQ(seg.count, 2);
    EXPECT_EQ(seg.line, 2);
    expectPoint(pt(s, seg, 0), {0, 0, 600}, "start");
    expectPoint(pt(s, seg, 1), {10, 10, 5}, "end");
    EXPECT_EQ(s.sim.segments().hintText(seg, 0), "0");
    EXPECT_EQ(s.sim.segments().hintText(seg, 1), "0");
}

TEST(Geometry, CartesianArcsInTheThreePlanes) {
    // G17: counter-clockwise the short way from (10, 0) to (0, 10) about the origin.
    Sim ccw(lines({"G90 G17 G00 X10 Y0 Z0", "G03 X0 Y10 I0 J0 F100"}));
    ccw.stepAll();
    const Segment &a = last(ccw);
    ASSERT_EQ(a.count, 21);
    EXPECT_EQ(a.kind, KindFeed);
    EXPECT_EQ(a.colour, clBlue);
    EXPECT_FALSE(ccw.sim.segments().hasHint(a));
    expectPoint(pt(ccw, a, 0), {10, 0, 0}, "start", 1e-3);
    expectPoint(pt(ccw, a, 10), {7.0711, 7.0711, 0}, "middle", 1e-3);
    expectPoint(pt(ccw, a, 20), {0, 10, 0}, "end", 1e-3);
    for (int i = 0; i < 21; ++i)
        EXPECT_TRUE(pt(ccw, a, i).x > -1e-3 && pt(ccw, a, i).y > -1e-3) << i;
    EXPECT_FALSE(ccw.state().counterClockwise); // the arc flag acts in its own block only

    // G02 with the same ends runs clockwise the long way, through (0, -10) and (-10, 0).
    Sim cw(lines({"G90 G17 G00 X10 Y0 Z0", "G02 X0 Y10 I0 J0 F100"}));
    cw.stepAll();
    const Segment &b = last(cw);
    float minX = 1e9f, minY = 1e9f;
    for (int i = 0; i < 21; ++i) {
        minX = std::min(minX, pt(cw, b, i).x);
        minY = std::min(minY, pt(cw, b, i).y);
    }
    EXPECT_LT(minX, -9.8f);
    EXPECT_LT(minY, -9.8f);
    expectPoint(pt(cw, b, 20), {0, 10, 0}, "end", 1e-3);

    // G18: the same offsets in the X-Z plane with G02 run the short way; Y is the block's.
    Sim xz(lines({"G90 G18 G00 X10 Y5 Z0", "G02 X0 Z10 I0 K0 F100"}));
    xz.stepAll();
    const Segment &c = last(xz);
    expectPoint(pt(xz, c, 0), {10, 5, 0}, "start", 1e-3);
    expectPoint(pt(xz, c, 10), {7.0711, 5, 7.0711}, "middle", 1e-3);
    expectPoint(pt(xz, c, 20), {0, 5, 10}, "end", 1e-3);

    // G19: Y-Z plane with the senses of G18, X moving from the previous X to the new one (a helix).
    Sim yz(lines({"G90 G19 G00 X0 Y10 Z0", "G02 X4 Y0 Z10 J0 K0 F100"}));
    yz.stepAll();
    const Segment &d = last(yz);
    expectPoint(pt(yz, d, 0), {0, 10, 0}, "start", 1e-3);
    expectPoint(pt(yz, d, 20), {4, 0, 10}, "end", 1e-3);
    expectPoint(pt(yz, d, 10), {2, 7.0711, 7.0711}, "middle", 1e-3);
}

TEST(Geometry, CompensationDecidesTheKind) {
    const struct {
        const char *comp;
        uint8_t kind;
        ColorValue colour;
    } cases[] = {{"G40", KindFeed, clBlue},
                 {"G41", KindFeedLeft, clRed},
                 {"G42", KindFeedRight, clYellow},
                 {"G41 G42", KindFeedLeft, clRed}};
    for (const auto &c : cases) {
        Sim s(QStringList{QStringLiteral("G90 %1 G01 X5 F100").arg(QLatin1String(c.comp))});
        s.stepAll();
        EXPECT_EQ(last(s).kind, c.kind) << c.comp;
        EXPECT_EQ(last(s).colour, c.colour) << c.comp;
    }
}

TEST(Geometry, PolarMovesAndHelices) {
    // G11: a feed move to the point at R 10, H 90 about the pole (0, 0).
    Sim line(lines({"G90 G01 I0 J0 F100", "G11 R10 H90"}));
    line.stepAll();
    ASSERT_EQ(line.sim.segments().size(), 2u);
    EXPECT_EQ(last(line).kind, KindFeed);
    expectPoint(pt(line, last(line), 1), {0, 10, 600}, "polar end");
    EXPECT_NEAR(line.c().X, 0, 1e-9);
    EXPECT_NEAR(line.c().Y, 10, 1e-9);

    // G12 from H 0 to H 1080 with Z falling by 3: three full circles, each 1 lower.
    Sim helix(lines({"G90 G01 I0 J0 R10 H0 Z0 F100", "G12 H1080 Z-3"}));
    helix.stepAll();
    ASSERT_EQ(helix.sim.segments().size(), 4u);
    for (int turn = 0; turn < 3; ++turn) {
        const Segment &seg = helix.sim.segments()[size_t(1 + turn)];
        ASSERT_EQ(seg.count, 21);
        expectPoint(pt(helix, seg, 0), {10, 0, -double(turn)}, "turn start", 1e-3);
        expectPoint(pt(helix, seg, 5), {0, -10, -turn - 0.25}, "clockwise quarter", 1e-3);
        expectPoint(pt(helix, seg, 20), {10, 0, -double(turn) - 1}, "turn end", 1e-3);
    }
    EXPECT_EQ(helix.c().H, 0);   // above 360 it becomes 0
    EXPECT_EQ(helix.c().prevH, 0);
    EXPECT_DOUBLE_EQ(helix.c().Z, -3);
    // The time of a helix is that of its turns.
    EXPECT_NEAR(helix.sim.totalTime(), 600.0 / 100 + 3 * 360 * (2 * M_PI * 10 / 360) / 100, 1e-9);

    // G13 from H 350 to H 10: H becomes 370, the arc runs from 350 to 370 degrees.
    Sim ccw(lines({"G90 G01 I0 J0 R10 H350 Z0 F100", "G13 H10"}));
    ccw.stepAll();
    const Segment &arc = last(ccw);
    expectPoint(pt(ccw, arc, 0), {9.8481, -1.7365, 0}, "350", 1e-3);
    expectPoint(pt(ccw, arc, 10), {10, 0, 0}, "360", 1e-3);
    expectPoint(pt(ccw, arc, 20), {9.8481, 1.7365, 0}, "370", 1e-3);
    EXPECT_EQ(ccw.c().H, 0);
    EXPECT_NEAR(ccw.c().Y, 1.7365, 1e-3);

    // G12 and G13 with both angles 0 make a full circle.
    Sim full(lines({"G90 G01 I0 J0 R5 H0 Z0 F100", "G13 H0"}));
    full.stepAll();
    expectPoint(pt(full, last(full), 10), {-5, 0, 0}, "half way", 1e-3);
}

TEST(Geometry, CycleSymbols) {
    // A called drilling cycle: a rapid move down, then the circles at the bottom and at Z + P01 + P02.
    Sim drill(lines({"G90 G00 X5 Y5 Z10", "G83 P01 2 P02 -20 P05 100", "G90 Z-5 G79"}));
    drill.stepAll();
    ASSERT_EQ(drill.sim.segments().size(), 5u); // three rapid moves of the blocks, the move down, the symbol
    const Segment &down = last(drill, 1);
    EXPECT_EQ(down.kind, KindRapid);
    expectPoint(pt(drill, down, 0), {5, 5, 10}, "down from", 1e-5);
    expectPoint(pt(drill, down, 1), {5, 5, -5}, "down to", 1e-5);
    const Segment &sym = last(drill);
    EXPECT_EQ(sym.kind, KindDrilling);
    EXPECT_EQ(sym.colour, clGreen);
    ASSERT_EQ(sym.count, 42);
    expectPoint(pt(drill, sym, 0), {8, 5, -5}, "bottom circle", 1e-4);
    expectPoint(pt(drill, sym, 10), {2, 5, -5}, "bottom circle half", 1e-4);
    expectPoint(pt(drill, sym, 21), {8, 5, -23}, "top circle", 1e-4);

    // Tapping: radius 5, kind 5, no move down.
    Sim tap(lines({"G90 G00 X0 Y0 Z0", "G84 P01 2 P02 -20 P04 1.5 F100 S500", "G79"}));
    tap.stepAll();
    ASSERT_EQ(tap.sim.segments().size(), 4u); // three rapid moves and the symbol
    EXPECT_EQ(last(tap).kind, KindTapping);
    EXPECT_EQ(last(tap).colour, clMaroon);
    expectPoint(pt(tap, last(tap), 0), {5, 0, 0}, "tapping circle", 1e-4);

    // With M89 a block holding only a Q function repeats the symbol where the tool stands.
    Sim modal(lines({"G90 G00 X1 Y2 Z3", "G81 P01 2 P02 -10 P05 100 M89", "D00 Q1 P01 5"}));
    modal.stepAll();
    EXPECT_EQ(last(modal).kind, KindDrilling);
    expectPoint(pt(modal, last(modal), 21), {4, 2, -2}, "P01 of the Q block is the cycle's", 1e-4);
}

TEST(Geometry, AAxisArcOnTheCylinder) {
    Sim s(lines({"G90 A90 X50"}));
    s.sim.aDiameterText = QStringLiteral("40");
    s.stepAll();
    ASSERT_EQ(s.sim.segments().size(), 1u);
    const Segment &seg = last(s);
    EXPECT_EQ(seg.kind, KindFeed);
    EXPECT_EQ(seg.colour, clBlue);
    EXPECT_EQ(seg.rotation, 0.0f);
    expectPoint(pt(s, seg, 0), {0, 0, 20}, "A 0 on top", 1e-4);
    expectPoint(pt(s, seg, 10), {25, -14.1421, 14.1421}, "A 45", 1e-3);
    expectPoint(pt(s, seg, 20), {50, -20, 0}, "A 90", 1e-4);
    EXPECT_DOUBLE_EQ(s.c().prevX, 50);
    EXPECT_DOUBLE_EQ(s.c().prevY, 0);
    EXPECT_DOUBLE_EQ(s.c().prevZ, 20);
    EXPECT_DOUBLE_EQ(s.c().prevA, 90);
    EXPECT_EQ(s.sim.totalTime(), 0);
}

TEST(Geometry, WorkpieceBox) {
    const struct {
        const char *min, *max;
        double lo[3], hi[3];
    } cases[] = {{"G30 X0 Y0 Z-40", "G31 X100 Y50 Z0", {0, 0, -40}, {100, 50, 0}},
                 {"G30 X10 Y10 Z-20", "G31 X50 Y30 Z0", {10, 10, -20}, {50, 30, 0}}};
    for (const auto &c : cases) {
        Sim s(QStringList{QString::fromLatin1(c.min), QString::fromLatin1(c.max)});
        s.stepAll();
        ASSERT_TRUE(s.sim.box().has_value());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s.sim.box()->min[i], c.lo[i]);
            EXPECT_EQ(s.sim.box()->max[i], c.hi[i]);
        }
        EXPECT_EQ(s.sim.segments().size(), 0u);
        s.sim.reset();
        EXPECT_FALSE(s.sim.box().has_value());
    }
}

TEST(Geometry, RotationAndToolGoWithTheSegment) {
    Sim s(lines({"G90 G73 H30", "G90 G17 T1", "G90 G01 X10 F100 S2500", "G17 T2", "G00 X0"}));
    s.stepAll();
    const SegmentStore &segs = s.sim.segments();
    ASSERT_EQ(segs.size(), 3u); // the G73 block moves too (by nothing)
    const int tools[3] = {0, 1, 2};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(segs[i].rotation, 30.0f) << i;
        EXPECT_EQ(segs[i].tool, tools[i]) << i;
    }
    EXPECT_EQ(segs.hintText(segs[1], 0), "2500");
    EXPECT_EQ(segs.hintText(segs[1], 1), "100");
    EXPECT_EQ(segs.hintText(segs[2], 1), "0"); // rapid moves carry "0" and "0"
}

TEST(Geometry, ArcWithoutPlaneKeepsThePreviousPosition) {
    Sim s(lines({"G91 G02 X10 Y10 I5 J5 F100"}));
    s.stepAll();
    EXPECT_EQ(s.recorder.texts(), QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(s.sim.segments().size(), 0u);
    EXPECT_DOUBLE_EQ(s.c().X, 10);
    EXPECT_DOUBLE_EQ(s.c().prevX, 0);
}

TEST(Geometry, PointsBeyondTheLimitAreRefused) {
    Sim s(lines({"G90 G01 X1 F100", "G90 X2", "G90 X3"}));
    s.sim.pointLimit = 4;
    s.stepAll();
    EXPECT_EQ(s.sim.segments().size(), 2u);
    ASSERT_EQ(s.recorder.messages.size(), 1u);
    EXPECT_EQ(s.recorder.messages[0].line, 4);
}

} // namespace
