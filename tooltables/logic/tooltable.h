#pragma once
// Heidenhain tool tables: the fixed-width files of the TNC 407/426 (".tnc") and
// the iTNC 530 (".t"). Only the tool name, the radius and (iTNC 530) the
// TT:R-OFFS drill mark of the tool lines are edited; every other character of
// the file is carried through unchanged.
//
// Line 0 is the header "BEGIN <name>", line 1 the column headings, line 2 tool 0,
// lines 3..102 tools 1 to 100 (tool n is line n + 2) and line 103 the closing
// line. Positions in the comments are 1-based character positions.
#include <QString>
#include <QStringList>

namespace velmora {

enum class ToolTableKind { Tnc407, Itnc530 };

// Which table a file of this size is: 407/426 when size / 128 is 165
// (21120 to 21247 bytes), otherwise iTNC 530. The extension plays no part.
ToolTableKind toolTableKindForSize(qint64 size);

struct ToolTableLayout {
    int nameStart;       // 0-based
    int nameWidth;
    int radiusStart;
    int radiusWidth;
    int tableNameWidth;  // the table name starts at position 7
    int drillStart;      // -1 when the table has no drill column
    int drillWidth;
    QString extension;   // ".tnc" or ".t"
};
const ToolTableLayout &toolTableLayout(ToolTableKind kind);

constexpr int kFirstToolLine = 3;    // tool 1
constexpr int kLastToolLine = 102;   // tool 100
constexpr int kToolTableLines = 104; // lines written
constexpr int kMaxTools = 100;

// Writes `text` into the field [start, start + width) of `line`, blank-filled to
// the end of the field; the line is blank-padded when it is shorter than the
// field. Text longer than the field is cut. Returns true when it was cut.
bool writeField(QString &line, int start, int width, const QString &text);
// The field [start, start + width) as it stands (shorter when the line is).
QString readField(const QString &line, int start, int width);

// The diameter written in a tool name: from the first digit, digits with one
// decimal mark ("." or ",") directly after a digit; 0 without a digit.
double DiameterFromName(const QString &name);
// "+" and half the diameter in the general format with the user's decimal mark:
// "FREZA D20" gives "+10", "VRTAK 12,5" gives "+6,25".
QString radiusTextFromName(const QString &name, QChar decimalMark = u',');

// The text a dropped tool-list node puts into a table field: without its first
// word and the blanks after it when it begins with "T" or ";".
QString droppedToolText(const QString &nodeText);

// Why lines are not a tool table.
enum class TableProblem {
    None,
    NotTable,     // the header neither begins with "B" nor has "E" as its second character
    TooShort,     // fewer lines than a table has (104)
    WrongColumns, // the column headings (line 1) do not stand over the fields the program writes
};

// A heading that line 1 of a table lacks where the format has its field.
struct ColumnMismatch {
    QString heading; // "NAME", "R" or "TT:R-OFFS"
    int column = 0;  // 1-based character position where the format expects it
};
// The first heading of a field the program writes ("NAME", "R" and, for an
// iTNC 530 table, "TT:R-OFFS") that does not stand in line 1 where the
// format has the field. A table of another layout (other control generations
// place their columns elsewhere) would be edited in the wrong columns.
// `column` is 0 when every heading is in place.
ColumnMismatch columnMismatch(const QStringList &lines, ToolTableKind kind);
// Everything a file must pass before it is opened for editing: ToolTable::check,
// then the column headings (WrongColumns).
TableProblem checkToolTableFile(const QStringList &lines, ToolTableKind kind);
// The mismatch as velmora-cli reports it: "line 2: no column heading "R" at column 35 ...".
QString columnMismatchText(const ColumnMismatch &m);

// Which fields a text was cut to.
struct FieldCuts {
    bool name = false;
    bool radius = false;
    bool any() const { return name || radius; }
};

class ToolTable {
public:
    explicit ToolTable(ToolTableKind kind = ToolTableKind::Tnc407);

    ToolTableKind kind() const { return kind_; }
    const ToolTableLayout &layout() const { return toolTableLayout(kind_); }

    // Checks the lines of a file: the header must begin with "B" or have "E"
    // as its second character, and the file must hold every tool line.
    static TableProblem check(const QStringList &lines);
    // Replaces the table by the lines when they pass the check; otherwise the
    // table stays as it was and `problem` says why.
    bool load(const QStringList &lines, TableProblem *problem = nullptr);
    bool isEmpty() const { return lines_.isEmpty(); }

    // Every line of the table: the lines read (at least 104), written back as they are.
    const QStringList &lines() const { return lines_; }
    QString line(int index) const { return lines_.value(index); }

    // The table name from the header: 407/426 positions 7-14 up to the first
    // blank, iTNC 530 from position 7 up to the first blank, with the extension.
    QString headerName() const;
    // Writes a base name into the header from position 7, blank-filled to the
    // field's end. Returns true when the name was cut to the field.
    bool setHeaderName(const QString &baseName);

    // Fields of a table line (3..102).
    QString number(int line) const;   // positions 1-3
    QString name(int line) const;
    QString radius(int line) const;
    bool isDrill(int line) const;     // iTNC 530: unless position 187 is "R"
    // Each returns true when the text was cut to the field.
    bool setName(int line, const QString &text);
    bool setRadius(int line, const QString &text);
    void setDrill(int line, bool drill);

    // A blank tool line for tool n (1..100) made at n: the 407/426 insert and
    // delete commands. `n` must be from 1 to 100 (checkToolNumber).
    void insertTool(int n);
    void deleteTool(int n);

private:
    ToolTableKind kind_;
    QStringList lines_;
};

// Checks a tool number typed for insert or delete.
enum class ToolNumberProblem { None, NotPositive, AboveHundred };
ToolNumberProblem checkToolNumber(int n);

} // namespace velmora
