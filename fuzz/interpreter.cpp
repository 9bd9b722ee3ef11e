// The simulator on any program: single steps or a run bounded by a block limit
// and a point limit. Nothing the program holds may crash or hang it; afterwards
// the caret is on a line of the program, every segment is a straight move (2
// points), an arc (21) or a cycle symbol (42) of a real line with finite points,
// the times are finite, and a run made no more blocks than its limit.
#include "common/numbers.h"
#include "fuzz/fuzz_check.h"
#include "simulator/logic/interpreter.h"

#include <cmath>
#include <set>

namespace {

using namespace velmora::sim;

class Quiet final : public SimMessages {
public:
    void show(MessageKind kind, int line, const QString &text) override {
        ++count;
        lastLine = line;
        FUZZ_CHECK(!text.isEmpty());
    }
    int count = 0;
    int lastLine = 0;
};

class Marks final : public RunHooks {
public:
    std::set<int> lines;
    bool stopMarkAt(int line) override { return lines.count(line) != 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const int mode = in.choice(4);
    const int caret = in.choice(6) + 1;
    const QString rapid = in.choice(4) == 0 ? in.shortText(5) : QStringLiteral("10000");
    const QString diameter = in.choice(3) == 0 ? QString() : QString::number(in.byte());
    const bool absolute = in.choice(2) == 0;
    const int plane = in.choice(4);
    const int mark = in.choice(10);
    QStringList lines = in.lines();
    if (lines.isEmpty())
        lines << QString();
    const StringListProgram program(lines);

    SimModule module;
    module.state.absolute = absolute;
    module.state.plane = plane == 0 ? 0 : 16 + plane;
    Quiet messages;
    Simulation sim(module, program, &messages);
    sim.rapidText = rapid;
    sim.aDiameterText = diameter;
    sim.pointLimit = 100000;
    sim.reset();
    sim.setCaret(std::min(caret, program.lineCount()));
    Marks marks;
    if (mark > 0)
        marks.lines.insert(mark);
    const qint64 limit = 500;
    if (mode == 0) {
        for (int i = 0; i < 200; ++i)
            sim.step();
    } else {
        const RunResult r = sim.run(&marks, limit);
        FUZZ_CHECK(r.blocks <= limit);
        if (mode == 3) {
            sim.reset();
            sim.run(&marks, limit);
        }
    }
    FUZZ_CHECK(sim.caret() >= 1 && sim.caret() <= program.lineCount());
    FUZZ_CHECK(std::isfinite(sim.totalTime()) && std::isfinite(sim.toolChangeTotal()));
    FUZZ_CHECK(sim.segments().pointStore().size() <= sim.pointLimit + 255);
    const SegmentStore &segs = sim.segments();
    for (size_t i = 0; i < segs.size(); ++i) {
        const Segment &s = segs[i];
        FUZZ_CHECK(s.count == 2 || s.count == 21 || s.count == 42);
        FUZZ_CHECK(s.kind <= KindTapping);
        FUZZ_CHECK(s.line >= 1 && s.line <= program.lineCount());
        FUZZ_CHECK(std::isfinite(s.rotation));
        const Point3f *p = segs.points(s);
        for (int k = 0; k < s.count; ++k)
            FUZZ_CHECK(std::isfinite(p[k].x) && std::isfinite(p[k].y) && std::isfinite(p[k].z));
        if (segs.hasHint(s))
            FUZZ_CHECK(s.count == 2 && !segs.hintText(s, 1).isEmpty());
    }
    for (double q : module.q)
        FUZZ_CHECK(!std::isnan(q));
    FUZZ_CHECK(messages.count == 0 || (messages.lastLine >= 1 && messages.lastLine <= program.lineCount()));
    const PositionTexts pos = sim.positionTexts();
    FUZZ_CHECK(!pos.current[1].isEmpty());
    return 0;
}
