#include "tooltables/logic/tablesession.h"

#include "tooltables/logic/toollists.h"

#include "common/codec.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace velmora {

ToolTableFile readToolTableFile(const QString &path) {
    ToolTableFile f;
    const QFileInfo info(path);
    f.kind = toolTableKindForSize(info.size());
    if (info.isDir()) {
        f.readError = QStringLiteral("is a folder");
        return f;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        f.readError = file.errorString();
        return f;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        f.readError = file.errorString();
        return f;
    }
    return toolTableFromBytes(bytes);
}

ToolTableFile toolTableFromBytes(const QByteArray &bytes) {
    ToolTableFile f;
    f.readable = true;
    qint64 crlfSize = bytes.size();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        else if (bytes[i] == '\r' || bytes[i] == '\n')
            ++crlfSize; // a lone CR or LF stands for CR LF
    }
    f.kind = toolTableKindForSize(crlfSize);
    f.lines = splitLines(decodeCp1250(bytes));
    f.problem = checkToolTableFile(f.lines, f.kind);
    return f;
}

ToolTableSession::ToolTableSession(ToolTableKind kind) : table_(kind) {
    if (kind == ToolTableKind::Itnc530)
        tableName_ = QStringLiteral("tool");
}

TableProblem ToolTableSession::open(const QStringList &lines) {
    // A table of another layout is never taken for editing.
    const TableProblem problem = checkToolTableFile(lines, table_.kind());
    if (problem != TableProblem::None || !table_.load(lines))
        return problem;
    loaded_ = true;
    modified_ = false;
    firstLine_ = kFirstRowMin;
    tableName_ = table_.headerName();
    return problem;
}

TableProblem ToolTableSession::create(const QStringList &lines, const QString &name) {
    // A table of another layout is never taken for editing.
    const TableProblem problem = checkToolTableFile(lines, table_.kind());
    if (problem != TableProblem::None || !table_.load(lines))
        return problem;
    loaded_ = true;
    modified_ = false;
    firstLine_ = kFirstRowMin;
    tableName_ = name;
    return problem;
}

ToolTableSession::Row ToolTableSession::row(int k) const {
    const int line = firstLine_ + k;
    return Row{table_.number(line), table_.name(line), table_.radius(line), table_.isDrill(line)};
}

FieldCuts ToolTableSession::storeRow(int k, const Row &row) {
    FieldCuts cuts;
    if (!loaded_)
        return cuts;
    const int line = firstLine_ + k;
    const QString before = table_.line(line);
    cuts.name = table_.setName(line, row.name);
    cuts.radius = table_.setRadius(line, row.radius);
    if (table_.layout().drillStart >= 0)
        table_.setDrill(line, row.drill);
    if (table_.line(line) != before)
        modified_ = true;
    return cuts;
}

bool ToolTableSession::pageUp() {
    if (firstLine_ <= kFirstRowMin)
        return false;
    --firstLine_;
    return true;
}

bool ToolTableSession::pageDown() {
    if (firstLine_ >= kFirstRowMax)
        return false;
    ++firstLine_;
    return true;
}

void ToolTableSession::track(int position) { firstLine_ = std::clamp(position, kFirstRowMin, kFirstRowMax); }

void ToolTableSession::insertTool(int n) {
    table_.insertTool(n);
    modified_ = true;
}

void ToolTableSession::deleteTool(int n) {
    table_.deleteTool(n);
    modified_ = true;
}

int ToolTableSession::moveToolList(const QStringList &nodeTexts) {
    int cut = 0;
    const QString name = moveToolListIntoTable(nodeTexts, table_, &cut);
    // Without a first node to name it, the table keeps the name it has.
    if (!nodeTexts.isEmpty())
        tableName_ = name;
    firstLine_ = kFirstRowMin;
    modified_ = true;
    return cut;
}

QString ToolTableSession::savePath(const QString &chosen, ToolTableKind kind) {
    const QString extension = toolTableLayout(kind).extension; // ".tnc" or ".t"
    const QFileInfo info(chosen);
    const QString suffix = info.suffix();
    if (suffix.compare(extension.mid(1), Qt::CaseInsensitive) == 0)
        return chosen;
    QString base = chosen;
    if (!suffix.isEmpty())
        base.chop(suffix.size() + 1);
    return base + extension;
}

ToolTableSession::SaveOutcome ToolTableSession::save(const QString &path) {
    SaveOutcome out;
    out.path = path;
    const ToolTable before = table_;
    out.nameCut = table_.setHeaderName(QFileInfo(path).completeBaseName());
    out.result = saveTextFile(path, table_.lines());
    if (!out.result.ok) {
        table_ = before;
        return out;
    }
    out.ok = true;
    tableName_ = QFileInfo(path).fileName();
    savedPath_ = path;
    modified_ = false;
    return out;
}

} // namespace velmora
