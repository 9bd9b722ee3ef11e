#include "nctext/logic/renumber.h"

#include "common/ini.h"
#include "common/numbers.h"

namespace velmora {

namespace {

const QString kSection = QStringLiteral("Precislovani");

// The number after the first occurrence of `ch`, as NumberAfter reads it.
QString numberAfterChar(const QString &line, QChar ch) {
    const qsizetype at = line.indexOf(ch);
    return at < 0 ? QString() : NumberAfter(line, int(at) + 1);
}

// Replaces ch+old (old = the number after the first ch) by ch+number; false when ch is absent.
bool renumberAfter(QString &line, QChar ch, const QString &number) {
    if (!line.contains(ch))
        return false;
    const QString old = numberAfterChar(line, ch);
    replaceFirst(line, QString(ch) + old, QString(ch) + number);
    return true;
}

void renumberExisting(QStringList &lines, const RenumberOptions &o, int from, int to) {
    const QString first = o.first;
    const qint64 step = parseInteger(o.step);
    qint64 next = qint64(parseInteger(o.first)) + step;
    // The maximum is checked before any line changes, so that a wrong field
    // never leaves a half-renumbered program behind.
    const bool pelton = o.page == RenumberPage::Pelton;
    const qint64 max = pelton ? parseInteger(o.max) : 0;
    const QString marker = endMarkerText(o.to);
    bool firstPending = true;

    for (int i = from; i <= to; ++i) {
        const QString &current = lines.at(i);
        if (current.isEmpty())
            continue;
        const QChar c = current.at(0);
        if (c == u'%' || c == u':' || c == u'N') {
            QString line = current;
            bool changed = false;
            if (firstPending) {
                if (line.startsWith(u'N')) {
                    replaceFirst(line, QStringLiteral("N") + NumberAfter(line, 1), QStringLiteral("N") + first);
                    changed = true;
                    firstPending = false;
                }
                if (line.startsWith(u'%')) {
                    if (renumberAfter(line, u'N', first)) {
                        changed = true;
                        firstPending = false;
                    }
                    if (renumberAfter(line, u':', first)) {
                        changed = true;
                        firstPending = false;
                    }
                }
            } else {
                if (pelton && max < next)
                    next = 1;
                const QString number = QString::number(next);
                if (line.startsWith(u'N')) {
                    replaceFirst(line, QStringLiteral("N") + NumberAfter(line, 1), QStringLiteral("N") + number);
                } else if (line.startsWith(u'%')) {
                    renumberAfter(line, u'N', number);
                    renumberAfter(line, u':', number);
                } else if (!renumberAfter(line, u'N', number)) {
                    replaceFirst(line, QStringLiteral(":") + NumberAfter(line, 1), QStringLiteral(":") + number);
                }
                changed = true;
                next += step;
            }
            if (changed && line != current)
                lines[i] = line;
        }
        if (lines.at(i).contains(marker))
            break;
    }
}

void removeNumbers(QStringList &lines, const RenumberOptions &o, int from, int to) {
    parseInteger(o.step);
    parseInteger(o.first);
    const QString marker = endMarkerText(o.to);
    for (int i = from; i <= to; ++i) {
        const QString &current = lines.at(i);
        if (current.isEmpty() || (current.at(0) != u'N' && current.at(0) != u':'))
            continue;
        // The line begins with its address, so the first occurrence of
        // address + number is at the start.
        const QString rest = current.mid(1 + NumberAfter(current, 1).size());
        lines[i] = trimLeftBlanks(rest);
        if (rest.contains(marker))
            break;
    }
}

bool skippedByCreate(const QString &line) {
    if (line.isEmpty() || line == QLatin1String(" "))
        return true;
    const QChar c = line.at(0);
    return c == u'"' || c == u'(' || c == u';';
}

void createNumbers(QStringList &lines, const RenumberOptions &o, int from, int to) {
    const qint64 step = parseInteger(o.step);
    qint64 next = qint64(parseInteger(o.first)) + step;
    const QString marker = endMarkerText(o.to);
    bool firstDone = false;
    for (int i = from; i <= to; ++i) {
        if (skippedByCreate(lines.at(i)))
            continue;
        if (!firstDone) {
            lines[i] = QStringLiteral("N") + o.first + lines.at(i);
            firstDone = true;
            continue;
        }
        lines[i] = QStringLiteral("N") + QString::number(next) + lines.at(i);
        next += step;
        if (lines.at(i).contains(marker))
            break;
    }
}

} // namespace

void renumberIso(QStringList &lines, const RenumberOptions &options, int fromLine, int toLine) {
    // Field errors are reported even when the range is empty, as the fields are read first.
    if (toLine < 0 || toLine >= lines.size())
        toLine = int(lines.size()) - 1;
    if (fromLine < 0)
        fromLine = 0;
    switch (options.style) {
    case RenumberStyle::Renumber:
        renumberExisting(lines, options, fromLine, toLine);
        break;
    case RenumberStyle::Remove:
        removeNumbers(lines, options, fromLine, toLine);
        break;
    case RenumberStyle::Create:
        createNumbers(lines, options, fromLine, toLine);
        break;
    }
}

void renumberHeidenhain(QStringList &lines, HeidenhainVariant variant) {
    qint64 q = 0; // continuation lines ("Q" cycle parameters) met so far
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        const QString old = line.startsWith(u'/') ? NumberAfter(line, 1) : NumberAfter(line, 0);
        if (variant == HeidenhainVariant::Tnc407) {
            if (!old.isEmpty())
                replaceFirst(line, old, QString::number(i));
            else
                line = QString::number(i) + QStringLiteral("  ") + trimLeftBlanks(line);
        } else {
            if (!old.isEmpty())
                replaceFirst(line, old, QString());
            line = trimLeftBlanks(line);
            if (line.startsWith(u'Q')) {
                ++q;
                // Lines up with the text of the owning block "b  TEXT".
                const qsizetype digits = QString::number(i - q).size();
                if (digits <= 3)
                    line = QString(digits + 2, u' ') + line;
            } else {
                line = QString::number(i - q) + QStringLiteral("  ") + line;
            }
        }
        if (line != lines.at(i))
            lines[i] = line;
    }
}

void renumber(QStringList &lines, const RenumberOptions &options, int fromLine, int toLine) {
    if (options.page == RenumberPage::Heidenhain)
        renumberHeidenhain(lines, options.variant);
    else
        renumberIso(lines, options, fromLine, toLine);
}

RenumberSettings readRenumberSettings(const QString &iniPath) {
    const IniFile ini(iniPath);
    RenumberSettings s;
    s.first = ini.readString(kSection, QStringLiteral("Prvni"), QStringLiteral("10"));
    s.step = ini.readString(kSection, QStringLiteral("Dalsi"), QStringLiteral("10"));
    s.to = ini.readInteger(kSection, QStringLiteral("K"), 0);
    s.variant = ini.readInteger(kSection, QStringLiteral("H"), 0);
    s.max = ini.readString(kSection, QStringLiteral("MaxRadek"), QStringLiteral("999"));
    return s;
}

bool writeRenumberSettings(const QString &iniPath, const RenumberSettings &s, QString *error) {
    IniFile ini(iniPath);
    const bool ok = ini.writeSection(kSection, {{QStringLiteral("Prvni"), s.first},
                                                {QStringLiteral("Dalsi"), s.step},
                                                {QStringLiteral("K"), QString::number(s.to)},
                                                {QStringLiteral("H"), QString::number(s.variant)},
                                                {QStringLiteral("MaxRadek"), s.max}});
    if (!ok && error)
        *error = ini.lastError();
    return ok;
}

} // namespace velmora
