#include "tooltables/logic/tooltable.h"

#include <cmath>

#include "common/numbers.h"

namespace velmora {

ToolTableKind toolTableKindForSize(qint64 size) {
    return size / 128 == 165 ? ToolTableKind::Tnc407 : ToolTableKind::Itnc530;
}

const ToolTableLayout &toolTableLayout(ToolTableKind kind) {
    static const ToolTableLayout tnc407{5, 17, 34, 12, 8, -1, 0, QStringLiteral(".tnc")};
    static const ToolTableLayout itnc530{8, 17, 37, 12, 7, 186, 12, QStringLiteral(".t")};
    return kind == ToolTableKind::Tnc407 ? tnc407 : itnc530;
}

bool writeField(QString &line, int start, int width, const QString &text) {
    if (line.size() < start + width)
        line = line.leftJustified(start + width, u' ');
    const bool cut = text.size() > width;
    line.replace(start, width, text.left(width).leftJustified(width, u' '));
    return cut;
}

QString readField(const QString &line, int start, int width) { return line.mid(start, width); }

double DiameterFromName(const QString &name) {
    qsizetype i = 0;
    while (i < name.size() && !name[i].isDigit())
        ++i;
    if (i == name.size())
        return 0;
    // The number as typed, its decimal mark given as the user's one. A second
    // mark ends the number ("D6.5.1" is 6,5), so a stray dot never makes a
    // name unusable.
    QString number;
    bool mark = false;
    for (; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c >= u'0' && c <= u'9') {
            number += c;
        } else if ((c == u'.' || c == u',') && !mark && name[i - 1].isDigit()) {
            number += kDecimalMark;
            mark = true;
        } else {
            break;
        }
    }
    // A run of digits too long for a number names no diameter.
    double value = 0;
    if (!tryParseFloat(number, value, kDecimalMark) || !std::isfinite(value))
        return 0;
    return value;
}

QString radiusTextFromName(const QString &name, QChar decimalMark) {
    return QStringLiteral("+") + formatGeneral(DiameterFromName(name) / 2, decimalMark);
}

QString droppedToolText(const QString &nodeText) {
    if (!nodeText.startsWith(u'T') && !nodeText.startsWith(u';'))
        return nodeText;
    qsizetype i = nodeText.indexOf(u' ');
    if (i < 0)
        return QString();
    while (i < nodeText.size() && nodeText[i] == u' ')
        ++i;
    return nodeText.mid(i);
}

ToolTable::ToolTable(ToolTableKind kind) : kind_(kind) {}

ColumnMismatch columnMismatch(const QStringList &lines, ToolTableKind kind) {
    const QString heading = lines.value(1);
    const ToolTableLayout &l = toolTableLayout(kind);
    // A heading stands alone: blanks (or the line's ends) on both sides.
    const auto at = [&](const QString &word, int start) {
        const bool before = start == 0 || (start <= heading.size() && heading[start - 1] == u' ');
        const int end = start + int(word.size());
        const bool after = end >= heading.size() || heading[end] == u' ';
        return before && after && heading.mid(start, word.size()) == word;
    };
    struct Field {
        const char *heading;
        int start;
    };
    const Field fields[] = {{"NAME", l.nameStart}, {"R", l.radiusStart}, {"TT:R-OFFS", l.drillStart}};
    for (const Field &f : fields) {
        if (f.start < 0)
            continue;
        const QString word = QString::fromLatin1(f.heading);
        if (!at(word, f.start))
            return ColumnMismatch{word, f.start + 1};
    }
    return ColumnMismatch{};
}

QString columnMismatchText(const ColumnMismatch &m) {
    return QStringLiteral("line 2: no column heading \"%1\" at column %2, where this table format has the field; "
                          "a table of another layout is not edited (nothing would land in the right columns)")
        .arg(m.heading)
        .arg(m.column);
}

TableProblem checkToolTableFile(const QStringList &lines, ToolTableKind kind) {
    const TableProblem p = ToolTable::check(lines);
    if (p != TableProblem::None)
        return p;
    return columnMismatch(lines, kind).column != 0 ? TableProblem::WrongColumns : TableProblem::None;
}

TableProblem ToolTable::check(const QStringList &lines) {
    const QString header = lines.value(0);
    const bool looksLikeTable = header.startsWith(u'B') || (header.size() > 1 && header[1] == u'E');
    if (!looksLikeTable)
        return TableProblem::NotTable;
    // A table cut short would lose its tool lines on saving.
    if (lines.size() < kToolTableLines)
        return TableProblem::TooShort;
    return TableProblem::None;
}

bool ToolTable::load(const QStringList &lines, TableProblem *problem) {
    const TableProblem p = check(lines);
    if (problem)
        *problem = p;
    if (p != TableProblem::None)
        return false;
    lines_ = lines;
    return true;
}

QString ToolTable::headerName() const {
    const QString header = lines_.value(0);
    QString name = kind_ == ToolTableKind::Tnc407 ? header.mid(6, 8) : header.mid(6);
    const qsizetype blank = name.indexOf(u' ');
    if (blank >= 0)
        name.truncate(blank);
    return name + layout().extension;
}

bool ToolTable::setHeaderName(const QString &baseName) {
    return writeField(lines_[0], 6, layout().tableNameWidth, baseName);
}

QString ToolTable::number(int line) const { return readField(lines_.value(line), 0, 3); }

QString ToolTable::name(int line) const {
    return readField(lines_.value(line), layout().nameStart, layout().nameWidth);
}

QString ToolTable::radius(int line) const {
    return readField(lines_.value(line), layout().radiusStart, layout().radiusWidth);
}

bool ToolTable::isDrill(int line) const {
    if (layout().drillStart < 0)
        return false;
    const QString l = lines_.value(line);
    return l.size() <= layout().drillStart || l[layout().drillStart] != u'R';
}

bool ToolTable::setName(int line, const QString &text) {
    return writeField(lines_[line], layout().nameStart, layout().nameWidth, text);
}

bool ToolTable::setRadius(int line, const QString &text) {
    return writeField(lines_[line], layout().radiusStart, layout().radiusWidth, text);
}

void ToolTable::setDrill(int line, bool drill) {
    if (layout().drillStart < 0)
        return;
    writeField(lines_[line], layout().drillStart, layout().drillWidth,
               drill ? QStringLiteral("+0") : QStringLiteral("R"));
}

void ToolTable::insertTool(int n) {
    const int at = n + 2;
    QString blank = lines_[at];
    writeField(blank, layout().nameStart, layout().nameWidth, QString());
    writeField(blank, layout().radiusStart, layout().radiusWidth, QStringLiteral("+0"));
    // Lines move down from the end; tool 100 falls off the table.
    for (int i = kLastToolLine - 1; i >= at; --i) {
        lines_[i + 1] = lines_[i];
        writeField(lines_[i + 1], 0, 3, QString::number(i - 1));
    }
    lines_[at] = blank;
}

void ToolTable::deleteTool(int n) {
    const int at = n + 2;
    QString blank = lines_[at];
    writeField(blank, 0, 3, QStringLiteral("100"));
    writeField(blank, layout().nameStart, layout().nameWidth, QString());
    writeField(blank, layout().radiusStart, layout().radiusWidth, QStringLiteral("+0"));
    for (int i = at + 1; i <= kLastToolLine; ++i) {
        lines_[i - 1] = lines_[i];
        writeField(lines_[i - 1], 0, 3, QString::number(i - 3));
    }
    lines_[kLastToolLine] = blank;
}

ToolNumberProblem checkToolNumber(int n) {
    if (n <= 0)
        return ToolNumberProblem::NotPositive;
    if (n > kMaxTools)
        return ToolNumberProblem::AboveHundred;
    return ToolNumberProblem::None;
}

} // namespace velmora
