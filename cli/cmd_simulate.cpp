// velmora-cli simulate: runs the simulator on a program and prints what its window would show.
#include "cli/cli.h"

#include "common/colour.h"
#include "common/numbers.h"
#include "simulator/logic/interpreter.h"
#include "simulator/logic/simsettings.h"
#include "simulator/picture/picture.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

namespace velmora::cli {
namespace {

using namespace velmora::sim;

struct Event {
    int line;
    MessageKind kind;
    QString text;
};

class EventList final : public SimMessages {
public:
    void show(MessageKind kind, int line, const QString &text) override { events.push_back({line, kind, text}); }
    std::vector<Event> events;
};

class StopMarks final : public RunHooks {
public:
    std::set<int> lines;
    bool stopMarkAt(int line) override { return lines.count(line) != 0; }
};

// A JSON document written into one buffer and flushed to standard output in large pieces.
class Json {
public:
    ~Json() { flush(); }
    Json &raw(const char *s) {
        out_ += s;
        return *this;
    }
    Json &raw(char c) {
        out_ += c;
        return *this;
    }
    Json &number(double v) {
        if (!std::isfinite(v))
            return raw("null");
        if (v == 0)
            v = 0; // no "-0"
        char buf[32];
        out_.append(buf, size_t(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
        return *this;
    }
    Json &number(float v) {
        if (!std::isfinite(v))
            return raw("null");
        if (v == 0)
            v = 0;
        char buf[32];
        out_.append(buf, size_t(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
        return *this;
    }
    Json &integer(long long v) {
        char buf[24];
        out_.append(buf, size_t(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
        return *this;
    }
    Json &string(const QString &s) {
        out_ += '"';
        const QByteArray u = s.toUtf8();
        for (const char c : u) {
            switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
                    out_ += buf;
                } else {
                    out_ += c;
                }
            }
        }
        out_ += '"';
        maybeFlush();
        return *this;
    }
    void maybeFlush() {
        if (out_.size() > (1 << 20))
            flush();
    }
    void flush() {
        std::fwrite(out_.data(), 1, out_.size(), stdout);
        out_.clear();
    }

private:
    std::string out_;
};

void writeSegment(Json &j, const SegmentStore &store, const Segment &seg) {
    j.raw("{\"line\":").integer(seg.line).raw(",\"kind\":").integer(seg.kind).raw(",\"colour\":");
    j.string(colorToString(seg.colour)).raw(",\"tool\":").integer(seg.tool).raw(",\"rotation\":").number(seg.rotation);
    j.raw(",\"points\":[");
    const Point3f *p = store.points(seg);
    for (int i = 0; i < seg.count; ++i) {
        if (i)
            j.raw(',');
        j.raw('[').number(p[i].x).raw(',').number(p[i].y).raw(',').number(p[i].z).raw(']');
    }
    j.raw("],\"hint\":[");
    if (store.hasHint(seg))
        j.string(store.hintText(seg, 0)).raw(',').string(store.hintText(seg, 1));
    j.raw("]}");
    j.maybeFlush();
}

const char *kindName(MessageKind k) {
    switch (k) {
    case MessageKind::Error: return "error";
    case MessageKind::Info: return "info";
    default: return "message";
    }
}

// A decimal option as the settings field would hold it: "," as the decimal mark.
QString fieldText(const Options &opts, const QString &name, const QString &def, bool mayBeEmpty) {
    if (!opts.has(name))
        return def;
    QString text = opts.value(name).trimmed();
    if (text.isEmpty() && mayBeEmpty)
        return text;
    double v;
    if (!tryParseFloatAnyMark(text, v))
        throw UsageError{QStringLiteral("--%1: '%2' is not a valid floating point value").arg(name, text)};
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

long long positiveCount(const Options &opts, const QString &name, long long def) {
    if (!opts.has(name))
        return def;
    bool ok = false;
    const long long v = opts.value(name).trimmed().toLongLong(&ok);
    if (!ok || v < 0)
        throw UsageError{QStringLiteral("--%1: '%2' is not a count of 0 or more").arg(name, opts.value(name))};
    return v;
}

int runSimulate(const QStringList &args) {
    const Options opts(args, {QStringLiteral("run"), QStringLiteral("summary")});
    static const QStringList known = {QStringLiteral("run"),        QStringLiteral("steps"),     QStringLiteral("caret"),
                                      QStringLiteral("stop-at"),    QStringLiteral("rapid"),     QStringLiteral("tool-change"),
                                      QStringLiteral("a-diameter"), QStringLiteral("summary"),   QStringLiteral("max-blocks"),
                                      QStringLiteral("picture")};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (opts.positional().size() != 1)
        throw UsageError{QStringLiteral("simulate: give exactly one program file")};

    const SimdraSettings window = SimdraSettings::forWindow(simdraIniPath());
    const SimdraSettings dialog = SimdraSettings::forDialog(simdraIniPath());
    const QString rapid = fieldText(opts, QStringLiteral("rapid"), dialog.rapidMachine, false);
    const QString toolChange = fieldText(opts, QStringLiteral("tool-change"), dialog.toolChange, false);
    const QString diameter = fieldText(opts, QStringLiteral("a-diameter"), QString(), true);
    const long long steps = positiveCount(opts, QStringLiteral("steps"), 0);
    const long long maxBlocks = positiveCount(opts, QStringLiteral("max-blocks"), 10000000);

    const QString path = opts.positional().constFirst();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UsageError{QStringLiteral("%1: cannot read: %2").arg(path, file.errorString())};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UsageError{QStringLiteral("%1: cannot read: %2").arg(path, file.errorString())};
    if (!TextProgram::fits(bytes))
        throw UsageError{QStringLiteral("%1: a program of 4 GiB or more cannot be simulated").arg(path)};
    file.close();
    const TextProgram read(std::move(bytes));
    // The editor shows an empty program as one empty line.
    const StringListProgram empty{QStringList{QString()}};
    const ProgramText &program = read.lineCount() > 0 ? static_cast<const ProgramText &>(read) : empty;
    const int count = program.lineCount();

    const long long caret = positiveCount(opts, QStringLiteral("caret"), 1);
    if (caret < 1 || caret > count)
        throw UsageError{QStringLiteral("--caret: line %1 is not in the program (1 to %2)").arg(caret).arg(count)};
    StopMarks marks;
    if (opts.has(QStringLiteral("stop-at"))) {
        for (const QString &part : opts.value(QStringLiteral("stop-at")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int line = part.trimmed().toInt(&ok);
            if (!ok || line < 1)
                throw UsageError{QStringLiteral("--stop-at: '%1' is not a line number").arg(part)};
            marks.lines.insert(line);
        }
    }

    SimModule module;
    EventList events;
    Simulation sim(module, program, &events);
    sim.rapidText = rapid;
    sim.toolChangeText = toolChange;
    sim.aDiameterText = diameter;
    sim.rapidColour = window.rapid;
    sim.noneCompColour = window.noneComp;
    sim.leftCompColour = window.leftComp;
    sim.rightCompColour = window.rightComp;
    sim.reset();
    sim.setCaret(int(caret));
    for (long long i = 0; i < steps; ++i)
        sim.step();
    if (opts.has(QStringLiteral("run")))
        sim.run(&marks, maxBlocks);

    if (opts.has(QStringLiteral("picture"))) {
        // The path as the window shows it after a reset: its camera, background and visibility.
        const QString out = opts.value(QStringLiteral("picture"));
        const QImage image = drawScene(sim, Camera(), QSize(1280, 960), window.background);
        if (!image.save(out, "PNG"))
            throw UsageError{QStringLiteral("%1: the picture cannot be written").arg(out)};
    }

    const TSouradnice &c = sim.state().c;
    Json j;
    j.raw("{\"caret\":").integer(sim.caret());
    j.raw(",\"position\":{\"x\":").number(c.X).raw(",\"y\":").number(c.Y).raw(",\"z\":").number(c.Z).raw('}');
    j.raw(",\"time\":").number(sim.totalTime());
    j.raw(",\"tool_change_time\":").number(sim.toolChangeTotal());
    j.raw(",\"tools\":").integer(sim.state().toolCounter);
    j.raw(",\n\"events\":[");
    bool first = true;
    for (const Event &e : events.events) {
        j.raw(first ? "\n" : ",\n");
        first = false;
        j.raw("{\"line\":").integer(e.line).raw(",\"kind\":\"").raw(kindName(e.kind)).raw("\",\"text\":").string(e.text).raw('}');
    }
    j.raw("]");
    const SegmentStore &store = sim.segments();
    if (opts.has(QStringLiteral("summary"))) {
        j.raw(",\n\"segment_count\":").integer(qint64(store.size()));
    } else {
        j.raw(",\n\"segments\":[");
        for (size_t i = 0; i < store.size(); ++i) {
            j.raw(i ? ",\n" : "\n");
            writeSegment(j, store, store[i]);
        }
        j.raw("]");
    }
    j.raw(",\n\"box\":");
    if (const auto &box = sim.box()) {
        j.raw("{\"min\":[").number(box->min[0]).raw(',').number(box->min[1]).raw(',').number(box->min[2]);
        j.raw("],\"max\":[").number(box->max[0]).raw(',').number(box->max[1]).raw(',').number(box->max[2]).raw("]}");
    } else {
        j.raw("null");
    }
    j.raw(",\n\"q\":{");
    first = true;
    for (int n = 0; n < 256; ++n)
        if (sim.qWritten().test(size_t(n))) {
            if (!first)
                j.raw(',');
            first = false;
            j.raw('"').integer(n).raw("\":").number(module.q[size_t(n)]);
        }
    j.raw("}}\n");
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "simulate", "simulate a Heidenhain ISO program and print the path, times and messages as JSON",
    "velmora-cli simulate [--run | --steps N] [--caret L] [--stop-at L,L...] [--rapid V]\n"
    "                     [--tool-change T] [--a-diameter D] [--summary] [--max-blocks N]\n"
    "                     [--picture FILE.png] FILE\n"
    "\n"
    "Runs the simulator of the \"Simulace Heidenhain 407 ISO\" window on a TNC 407/426\n"
    "ISO program and prints, as one JSON object (UTF-8), what the window would show\n"
    "after the same steps: the caret line of the last block executed, the position,\n"
    "the machining time and the tool change time in minutes, the number of tool\n"
    "changes, every message box in order (\"events\", with the block's line and\n"
    "kind error, info or message), the path segments in the order they were made\n"
    "(line, kind 0 rapid, 1 feed, 2 right and 3 left compensation, 4 drilling,\n"
    "5 tapping; colour, tool, rotation, points, and the S and F texts of straight\n"
    "segments), the workpiece box (null without one) and the Q parameters written.\n"
    "\n"
    "  --run            a continuous run (\"Plynule\") from the caret line\n"
    "  --steps N        N single steps (\"Po kroku\"), each with its preview; given\n"
    "                   with --run, the steps come first\n"
    "  --caret L        the caret on line L first (default 1, so the first block\n"
    "                   executed is line 2)\n"
    "  --stop-at L,...  stop marks on these lines\n"
    "  --rapid V        rapid traverse rate in mm/min\n"
    "  --tool-change T  time of one tool change in minutes\n"
    "  --a-diameter D   the \"0 na průmeru\" diameter of the A axis (default empty:\n"
    "                   blocks with A then stop with a message)\n"
    "  --summary        \"segment_count\" instead of the segments\n"
    "  --max-blocks N   a continuous run ends after N blocks with an info event\n"
    "                   (default 10000000), so a program that jumps back forever ends\n"
    "  --picture F.png  also draws the path, 1280 x 960, as the window shows it after a\n"
    "                   reset (its camera, background and colours)\n"
    "\n"
    "The defaults of --rapid and --tool-change, and the colours, are read from\n"
    "Plugin/Simdra.ini of the program folder as the simulator reads them (without\n"
    "the file: 10000 and 0,5). Numbers take \".\" or \",\" as the decimal mark.",
    runSimulate);

} // namespace velmora::cli
