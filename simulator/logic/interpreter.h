#pragma once
// The simulation engine: a Heidenhain TNC 407/426 ISO program executed one
// block (one program line) at a time, with its modal state, Q parameters,
// subprogram calls and repeats, the tool path it draws and the machining time
// it takes.
//
// A word is found as the first occurrence of its letters anywhere in the
// block, not by tokenising the block; everything else follows from that rule.
//
// SimModule is what lives as long as the library: the interpreter state and
// the Q parameters. Simulation is one simulator window's worth of work on a
// program: the path, the times, the tool nodes, the position panel, the Q
// table texts; it reads and changes the module's state.
#include "simulator/logic/segments.h"

#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::sim {

// The program being simulated, as the simulator's editor holds it.
class ProgramText {
public:
    virtual ~ProgramText() = default;
    virtual int lineCount() const = 0;
    // Line `index` (0-based), without its line end; valid until the next call.
    virtual QStringView line(int index) const = 0;
    // Changes whenever the text changes (the label index is kept against it).
    virtual quint64 revision() const { return 0; }
};

class StringListProgram final : public ProgramText {
public:
    explicit StringListProgram(QStringList lines) : lines_(std::move(lines)) {}
    int lineCount() const override { return int(lines_.size()); }
    QStringView line(int index) const override { return lines_[index]; }
    const QStringList &lines() const { return lines_; }

private:
    QStringList lines_;
};

// A program held as the bytes of its file (Windows-1250) with the places of its
// lines, for large files: CR LF, LF and CR end a line, and a line end at the very
// end starts no other. A line is decoded when it is asked for.
class TextProgram final : public ProgramText {
public:
    // False for a file of 4 GiB or more, which the line table cannot place.
    static bool fits(const QByteArray &bytes) { return quint64(bytes.size()) < (quint64(1) << 32); }
    explicit TextProgram(QByteArray bytes);
    int lineCount() const override { return int(lines_.size()); }
    QStringView line(int index) const override;

private:
    QByteArray bytes_;
    std::vector<std::pair<uint32_t, uint32_t>> lines_; // start and length
    mutable QString decoded_;
};

enum class MessageKind { Error, Info, Message };

// Where the engine's message boxes go: the window shows them, the command-line
// tool lists them. `line` is the 1-based program line of the block.
class SimMessages {
public:
    virtual ~SimMessages() = default;
    virtual void show(MessageKind kind, int line, const QString &text) = 0;
};

enum class Polar : uint8_t { None, Rapid, Linear, Clockwise, CounterClockwise };
enum class Mirroring : uint8_t { None, X, Y, XY };

// The coordinate record, millimetres and degrees.
struct TSouradnice {
    double X = 0, Y = 0, Z = 600;
    double I = 0, J = 0, K = 0;
    double R = 0, H = 0;
    double A = 0, prevA = 0;
    double P[5] = {0, 0, 0, 0, 0}; // P01 ... P05
    double datumX = 0, datumY = 0, datumZ = 0;
    double rotation = 0;
    double prevX = 0, prevY = 0, prevZ = 600, prevH = 0;
    double S = 0, F = 0;
    double blankMin[3] = {0, 0, 0}, blankMax[3] = {0, 0, 0};
};

// The modal state of the interpreter.
struct InterpreterState {
    bool absolute = false;
    bool rapid = false, linear = false, clockwise = false, counterClockwise = false;
    Polar polar = Polar::None;
    int plane = 0; // 0 (none chosen yet), 17, 18 or 19
    bool leftComp = false, rightComp = false;
    bool drilling = false, tapping = false, rigidTapping = false;
    bool cycleCall = false, modalCycleCall = false;
    bool rotationPending = false;
    bool stop = false;
    int depth = 0;
    int returnLine[9] = {};  // by depth 1 ... 8: 1-based line of the call block
    int labelNumber[9] = {}; // by depth 1 ... 8
    int requestedRepeats = 0, remainingRepeats = 0;
    int toolCounter = 0;
    TSouradnice c;
};

// What the library keeps from one simulation call to the next.
struct SimModule {
    InterpreterState state;
    std::array<double, 256> q{}; // Q0 ... Q255
};

// A node of the path tree for one tool change.
struct ToolNode {
    int tool = 0;
    QString caption; // "Nástroj - #" and the tool number
    QString child;   // the block text at the tool change
};

struct WorkpieceBox {
    double min[3];
    double max[3];
};

// Hooks of a continuous run.
class RunHooks {
public:
    virtual ~RunHooks() = default;
    // The 1-based line carries a stop mark.
    virtual bool stopMarkAt(int line) = 0;
    // Called every 300 blocks: the window handles pending input here.
    virtual void letInputThrough() {}
    // The user asked the run to stop (checked after letInputThrough).
    virtual bool stopRequested() { return false; }
};

enum class BlockResult { Skipped, Executed, Failed, NoProgram };

struct RunResult {
    qint64 blocks = 0;       // blocks executed (skipped lines included)
    bool failed = false;     // ended at a block that failed
    bool limitReached = false;
};

// The texts the information window gets for a picked two-point segment.
struct PickInfo {
    QString start[3], end[3];
    QString type; // empty: the window keeps its previous type text
    QString s, f;
};

// The texts of the "Pozice" panel: current position and next block.
struct PositionTexts {
    QString current[4]; // "G :", "X :", "Y :", "Z :"
    QString next[4];
};

class Simulation {
public:
    Simulation(SimModule &module, const ProgramText &program, SimMessages *messages = nullptr);

    // --- settings the window holds (texts converted at every use) ---
    QString rapidText = QStringLiteral("10000");    // "Rychloposuv :" of the settings dialog
    QString toolChangeText = QStringLiteral("0,5"); // "Výměna nástroje :"
    QString aDiameterText;                          // "0 na průmeru" of the "Osa A" tab
    ColorValue rapidColour = clWhite, noneCompColour = clBlue, leftCompColour = clRed, rightCompColour = clYellow;
    Mirroring mirroring = Mirroring::None;
    // Segments beyond this many points are refused (the block fails), so that no
    // program can exhaust the memory.
    size_t pointLimit = size_t(100) * 1000 * 1000;

    // --- the caret: the 1-based line of the last block executed ---
    int caret() const { return caret_; }
    void setCaret(int line) { caret_ = line; }

    // Executes the block below the caret (the caret moves there).
    BlockResult executeNextBlock();
    // Reads the block below the caret into the "Další blok" column.
    void previewNextBlock();
    // A single step: the next block, then the preview of the one after it.
    BlockResult step();
    // A continuous run from the caret; ends at a stop mark, the end of the program,
    // the stop flag, a failing block or after maxBlocks executed blocks.
    RunResult run(RunHooks *hooks, qint64 maxBlocks = -1);
    // Sets back what a reset sets; the caret stays.
    void reset();

    // The 1-based line whose value after its first "N" is `text` exactly; 0 for none.
    int findBlock(const QString &text);
    // The 1-based first line equal to `caption`, else the last line.
    int findInProgram(const QString &caption) const;

    // --- results ---
    const SegmentStore &segments() const { return segments_; }
    SegmentStore &segments() { return segments_; }
    double totalTime() const { return totalTime_; }
    double toolChangeTotal() const { return toolChangeTotal_; }
    double rapidTime() const { return rapidTime_; }
    double drillingTime() const { return drillingTime_; }
    double tappingTime() const { return tappingTime_; }
    const std::vector<ToolNode> &toolNodes() const { return toolNodes_; }
    const std::optional<WorkpieceBox> &box() const { return box_; }
    PositionTexts positionTexts() const;

    // The Q table: the text shown for Qn (rows 1 to 255; Q0 is the column header).
    QString qText(int n) const;
    QString qHeader() const;
    // Q parameters written since this simulation began.
    const std::bitset<256> &qWritten() const { return qWritten_; }

    // Path tree actions: show or hide every segment of a kind or of a tool.
    void setKindVisible(int kind, bool visible);
    void setToolVisible(int tool, bool visible);
    PickInfo pickInfo(size_t segment) const;

    SimModule &module() { return module_; }
    InterpreterState &state() { return module_.state; }
    const InterpreterState &state() const { return module_.state; }

private:
    struct Failure {
        QString message;
    };
    enum class GEffect { Remove, Keep, EndBlock };

    void executeBlock();
    GEffect gAction(int number, size_t at);
    bool dFunction(int number);
    void assignment();
    void coordinates();
    void aAxis();
    void call();
    void motion();
    void polarArc(bool clockwise);
    void straight(bool rapid);
    void cycleSymbol(bool drilling);
    void cartesianArc(bool clockwise);
    void toolChange();

    // Word values.
    // functionNumber: a G, M, D, L or Q number, for which a Q reference without
    // digits shows "Chyba funkce." before the block fails.
    size_t wordValue(std::u16string_view text, size_t p, bool functionNumber);
    int integerAfter(std::u16string_view text, size_t p, bool functionNumber = true);
    double decimalAfter(std::u16string_view text, size_t p);
    std::u16string_view qValueText(int n);
    static void negatedText(std::u16string_view text, std::u16string &out);
    int integerValue() const;
    double decimalValue() const;
    double decimalOf(const QString &text) const;
    [[noreturn]] void fail(const QString &message) const { throw Failure{message}; }

    // The block after its G and M words, with the first position of each ASCII character.
    void indexBlock();
    // Slots of first_: the ASCII characters, then the words of more than one letter.
    enum WordSlot { kIX = 128, kIY, kIZ, kP01, kP02, kP03, kP04, kP05, kPOD98, kL0, kSlots };
    bool has(int slot) const { return stamps_[slot] == stamp_; }
    // Where the value of a word of `length` letters begins; the block's start without the word.
    size_t after(int slot, size_t length = 1) const { return has(slot) ? size_t(first_[slot]) + length : 0; }

    // Segments and times.
    void addTime(double t, double *part = nullptr);
    double rapidRate() const;
    uint8_t feedKind() const;
    ColorValue kindColour(uint8_t kind) const;
    void addSegment(uint8_t kind, ColorValue colour, const Point3f *pts, int count, uint32_t hint, float rotation);
    void makeArc(Point3f *out, int plane, double cu, double cv, double r, double from, double to, double w0,
                 double w1) const;
    float rotationNow() const;

    // Labels: lines whose text before ";" holds "G98". The last (D jumps) or
    // first (calls) such line whose L number is `number`; -1 for none.
    void indexLabels();
    int lastLabelLine(double number);
    int firstLabelLine(int number);
    int labelNumberOf(int lineIndex);
    void storeQ(int n, double value, const std::u16string *verbatim = nullptr);
    void message(MessageKind kind, const QString &text) const;

    static constexpr int kQTextMax = 32;

    SimModule &module_;
    const ProgramText &program_;
    SimMessages *messages_;
    int caret_ = 1;
    int line_ = 0; // line of the block being executed

    std::u16string blk_, val_, work_;
    int32_t first_[kSlots];
    uint32_t stamps_[kSlots] = {};
    uint32_t stamp_ = 0;

    SegmentStore segments_;
    double totalTime_ = 0, toolChangeTotal_ = 0, rapidTime_ = 0, drillingTime_ = 0, tappingTime_ = 0;
    std::vector<ToolNode> toolNodes_;
    std::optional<WorkpieceBox> box_;

    struct QCell {
        enum : uint8_t { Empty, General, Text } kind = Empty;
        std::u16string text;
    };
    std::array<QCell, 256> qTable_;
    std::bitset<256> qWritten_;

    std::u16string currentG_ = u"0", nextG_ = u"0", nextX_ = u"0", nextY_ = u"0", nextZ_ = u"600";
    double shownX_ = 0, shownY_ = 0, shownZ_ = 600;

    struct QTextCache {
        double value = 0;
        bool valid = false;
        uint8_t length = 0;
        char16_t text[kQTextMax];
    };
    std::array<QTextCache, 256> qTextCache_;

    mutable QString rapidSeen_;
    mutable double rapidValue_ = 0;
    mutable bool rapidValid_ = false;

    std::vector<int> labels_; // 0-based label lines in program order
    std::unordered_map<int, int> labelFirst_, labelLast_;
    bool labelsSimple_ = true; // every label line has a written-out number
    quint64 labelsRevision_ = 0;
    bool labelsValid_ = false;
};

} // namespace velmora::sim
