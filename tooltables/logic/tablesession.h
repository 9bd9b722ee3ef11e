#pragma once
// The tool table an editing panel works on: the table, its name, the ten rows
// the panel shows, whether it has unsaved changes, and saving it.
#include "common/textfile.h"
#include "tooltables/logic/tooltable.h"

#include <QString>
#include <QStringList>

namespace velmora {

// A tool table file as it is read: its format by its size, its lines. The size
// is counted as the file has it with CR LF line ends, so that a table whose
// line ends were turned into LF on the way is still told apart rightly.
struct ToolTableFile {
    ToolTableKind kind = ToolTableKind::Itnc530;
    bool readable = false;
    QString readError; // why the file could not be read
    QStringList lines;
    TableProblem problem = TableProblem::None; // the lines are no table
    bool ok() const { return readable && problem == TableProblem::None; }
};
ToolTableFile readToolTableFile(const QString &path);
// The same for the bytes of a file already read.
ToolTableFile toolTableFromBytes(const QByteArray &bytes);

class ToolTableSession {
public:
    static constexpr int kRows = 10;
    static constexpr int kFirstRowMin = kFirstToolLine;          // 3: tools 1-10
    static constexpr int kFirstRowMax = kLastToolLine - kRows + 1; // 93: tools 91-100

    explicit ToolTableSession(ToolTableKind kind);

    ToolTableKind kind() const { return table_.kind(); }
    const ToolTable &table() const { return table_; }

    bool isLoaded() const { return loaded_; }
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The name shown after "Tabulka :" ("TOOL.tnc"), and the path of the last save.
    QString tableName() const { return tableName_; }
    void setTableName(const QString &name) { tableName_ = name; }
    QString savedPath() const { return savedPath_; }

    // The table line shown in the first row (3 to 93).
    int firstLine() const { return firstLine_; }

    // An opened file: the table name from its header, the rows from tool 1, no
    // unsaved changes. Refused lines leave everything as it was.
    TableProblem open(const QStringList &lines);
    // A new table from the template's lines, named `name`, without unsaved changes.
    TableProblem create(const QStringList &lines, const QString &name);

    struct Row {
        QString number; // positions 1-3
        QString name;
        QString radius;
        bool drill = false; // iTNC 530 only
    };
    // Row k (0 to 9) of the panel: table line firstLine() + k.
    Row row(int k) const;
    // Stores the texts of row k into its line; the table counts as changed
    // only when the line really changed. Returns the fields that were cut.
    FieldCuts storeRow(int k, const Row &row);

    // Paging: false when the rows cannot move any further.
    bool pageUp();
    bool pageDown();
    // A track bar position: the first row shows that line, kept within 3 to 93.
    void track(int position);

    // The insert and delete commands (n from 1 to 100).
    void insertTool(int n);
    void deleteTool(int n);

    // Fills a new table with a tool list (see moveToolListIntoTable); the table
    // then has unsaved changes. Returns the number of names cut to the field.
    int moveToolList(const QStringList &nodeTexts);

    // The file a save dialog's answer names: its extension becomes the table's
    // (".tnc" or ".t"; an extension of that name in other letter case stays).
    static QString savePath(const QString &chosen, ToolTableKind kind);

    struct SaveOutcome {
        bool ok = false;
        QString path;         // the file written
        bool nameCut = false; // the file name did not fit the header's name field
        SaveResult result;    // why writing failed
    };
    // Writes the file name (without extension) into the header and the table
    // to `path` (already passed through savePath). On success the table name
    // becomes the file's name and the table has no unsaved changes; on failure
    // the table, its name and its state are as they were.
    SaveOutcome save(const QString &path);

private:
    ToolTable table_;
    bool loaded_ = false;
    bool modified_ = false;
    QString tableName_;
    QString savedPath_;
    int firstLine_ = kFirstRowMin;
};

} // namespace velmora
