#include "templates/logic/templateset.h"

namespace velmora {

bool parseTemplateSet(const QStringList &lines, const QString &fallbackName, TemplateSet &set) {
    set = TemplateSet();
    if (lines.size() < 2)
        return false;
    const QString &head = lines[1];
    const int colon = head.indexOf(QLatin1Char(':'));
    set.name = colon >= 0 ? head.left(colon).trimmed() : fallbackName;
    set.caption = colon >= 0 ? head.mid(colon + 1) : set.name;
    for (int i = 1; i < lines.size(); ++i) {
        const QString &l = lines[i];
        if (!l.startsWith(QLatin1Char('[')))
            continue;
        const int bar = l.indexOf(QLatin1Char('|'));
        const int close = l.lastIndexOf(QLatin1Char(']'));
        if (bar < 0 || close < bar)
            continue;
        set.buttons.append({l.mid(1, bar - 1).trimmed(), l.mid(bar + 1, close - bar - 1)});
    }
    return true;
}

bool isIsoTemplateSet(const QStringList &lines) {
    return lines.size() > 3 && lines[3].contains(QStringLiteral("none"));
}

TemplateBody templateBody(const QStringList &lines, const QString &section, const QString &hint) {
    TemplateBody body;
    const QString key = QLatin1Char('[') + section + QStringLiteral(" |") + hint + QLatin1Char(']');
    const qsizetype at = lines.indexOf(key);
    if (at < 0)
        return body;
    body.found = true;
    const bool iso = isIsoTemplateSet(lines);
    for (qsizetype i = at + 1; i < lines.size() - 1 && !lines[i].startsWith(QLatin1Char('[')); ++i) {
        QString line = lines[i];
        if (line.isEmpty())
            line = QStringLiteral(" ");
        if (iso) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar >= 0) {
                line.remove(bar, 1);
                body.caretLine = int(body.lines.size());
                body.caretColumn = int(bar);
            }
        }
        body.lines << line;
    }
    return body;
}

} // namespace velmora
