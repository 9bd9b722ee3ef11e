#include "nctext/logic/renumber.h"

#include "common/ini.h"
#include "common/numbers.h"

namespace velmora {

namespace {

const QString kSection = QStringLiteral("Precislovani");

// Length of the run NumberAfter(line, from) would return, without building it.
qsizetype numberLength(const QString &line, qsizetype from) {
    const QChar *d = line.constData();
    qsizetype e = from;
    while (e < line.size()) {
        const char16_t c = d[e].unicode();
        if (!(c == u'+' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9')))
            break;
        ++e;
    }
    return e - from;
}

// The line with the `length` characters at `pos` replaced by `with`, built in one allocation.
QString spliced(const QString &line, qsizetype pos, qsizetype length, QStringView with) {
    QString out;
    out.resize(line.size() - length + with.size());
    QChar *o = out.data();
    const QChar *d = line.constData();
    std::copy(d, d + pos, o);
    std::copy(with.begin(), with.end(), o + pos);
    std::copy(d + pos + length, d + line.size(), o + pos + with.size());
    return out;
}

// Decimal digits of a number into a small buffer; returns the view.
QStringView decimal(qint64 v, QChar (&buf)[24]) {
    qsizetype i = 24;
    const bool neg = v < 0;
    quint64 u = neg ? quint64(0) - quint64(v) : quint64(v);
    do {
        buf[--i] = QChar(char16_t(u'0' + u % 10));
        u /= 10;
    } while (u);
    if (neg)
        buf[--i] = u'-';
    return QStringView(buf + i, 24 - i);
}

// A line that begins with its address letter: the number right after it is
// the first occurrence of letter + number, so it is replaced in place.
QString renumberedAtStart(const QString &line, QStringView number) {
    return spliced(line, 1, numberLength(line, 1), number);
}

// Index of the first character above the blank (the size when there is none).
qsizetype firstNonBlank(const QString &line) {
    qsizetype k = 0;
    while (k < line.size() && line.at(k).unicode() <= 32)
        ++k;
    return k;
}

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
    // The first number is written as typed, without the blanks the integer
    // reading passes over ("10 " would otherwise add a blank on every run).
    const QString first = o.first.trimmed();
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
                    line = renumberedAtStart(line, first);
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
                QChar buf[24];
                const QStringView digits = decimal(next, buf);
                if (c == u'N') {
                    line = renumberedAtStart(line, digits);
                } else if (line.startsWith(u'%')) {
                    const QString number = digits.toString();
                    renumberAfter(line, u'N', number);
                    renumberAfter(line, u':', number);
                } else if (!renumberAfter(line, u'N', digits.toString())) {
                    line = renumberedAtStart(line, digits);
                }
                changed = true;
                next += step;
            }
            if (changed)
                lines[i] = line;
        }
        if (containsText(lines.at(i), marker))
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
        if (containsText(rest, marker))
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
            lines[i] = QStringLiteral("N") + o.first.trimmed() + lines.at(i);
            firstDone = true;
            continue;
        }
        QChar buf[24];
        const QStringView digits = decimal(next, buf);
        QString numbered;
        numbered.reserve(1 + digits.size() + lines.at(i).size());
        numbered.append(u'N').append(digits).append(lines.at(i));
        lines[i] = numbered;
        next += step;
        if (containsText(lines.at(i), marker))
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
        const QString &current = lines.at(i);
        // The line's own number begins the line, or follows a leading "/";
        // so its first occurrence is right there.
        const qsizetype at = current.startsWith(u'/') ? 1 : 0;
        const qsizetype oldLength = numberLength(current, at);
        QChar buf[24];
        if (variant == HeidenhainVariant::Tnc407) {
            const QStringView number = decimal(i, buf);
            if (oldLength > 0) {
                if (QStringView(current).mid(at, oldLength) != number)
                    lines[i] = spliced(current, at, oldLength, number);
            } else {
                const QStringView text = QStringView(current).mid(firstNonBlank(current));
                QString out;
                out.reserve(number.size() + 2 + text.size());
                out.append(number).append(QLatin1String("  ")).append(text);
                lines[i] = out;
            }
            continue;
        }
        // TNC 426: the number goes, then the leading blanks.
        QString rest = oldLength > 0 ? spliced(current, at, oldLength, {}) : current;
        const QStringView text = QStringView(rest).mid(firstNonBlank(rest));
        QString out;
        if (text.startsWith(u'Q')) {
            ++q;
            // Lines up with the text of the owning block "b  TEXT".
            const qsizetype digits = decimal(i - q, buf).size();
            const qsizetype indent = digits <= 3 ? digits + 2 : 0;
            out.reserve(indent + text.size());
            out.fill(u' ', indent);
            out.append(text);
        } else {
            const QStringView number = decimal(i - q, buf);
            out.reserve(number.size() + 2 + text.size());
            out.append(number).append(QLatin1String("  ")).append(text);
        }
        if (out != current)
            lines[i] = out;
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
