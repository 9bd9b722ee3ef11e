#pragma once
// Template sets (sablony/*.sab): line 1 is "name:caption", line 3 says "none"
// for ISO sets, and each button is a header line "[section |hint]" followed by
// the text it inserts.
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

struct TemplateButton {
    QString section;
    QString hint;
};

struct TemplateSet {
    QString name;     // the tab's object name: before the ":" of line 1
    QString caption;  // the tab's caption: after the ":" of line 1
    QList<TemplateButton> buttons;
};

// Reads a set from its lines; false when the file has fewer than two lines.
// Without a ":" in line 1 the name and caption are `fallbackName`.
bool parseTemplateSet(const QStringList &lines, const QString &fallbackName, TemplateSet &set);

// What a button inserts: the first line equal to "[" + section + " |" + hint +
// "]" is its header; the lines after it up to the next line that begins with
// "[" are its body, but the file's last line is never part of it. An empty body
// line becomes one blank. In an ISO set (line 4 holds "none") the first "|" of
// a body line marks where the caret goes and is taken out; the last marked
// line wins.
struct TemplateBody {
    bool found = false;
    QStringList lines;
    int caretLine = -1;   // 0-based into `lines`, -1 when no line was marked
    int caretColumn = -1; // 0-based
};
bool isIsoTemplateSet(const QStringList &lines);
TemplateBody templateBody(const QStringList &lines, const QString &section, const QString &hint);

} // namespace velmora
