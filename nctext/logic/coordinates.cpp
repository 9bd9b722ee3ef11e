#include "nctext/logic/coordinates.h"

#include <cmath>

#include "common/numbers.h"

namespace velmora {

namespace {

inline bool isNumberChar(QChar c) { return (c >= u'0' && c <= u'9') || c == u',' || c == u'.'; }

// Mode "0": every blank before `end` goes, the rest of the line stays as it is.
bool removeBlanksBefore(QString &line, qsizetype end) {
    const QChar *d = line.constData();
    qsizetype blanks = 0;
    for (qsizetype k = 0; k < end; ++k)
        blanks += d[k] == u' ';
    if (blanks == 0)
        return false;
    QString out;
    out.resize(line.size() - blanks);
    QChar *o = out.data();
    for (qsizetype k = 0; k < end; ++k)
        if (d[k] != u' ')
            *o++ = d[k];
    std::copy(d + end, d + line.size(), o);
    line = out;
    return true;
}

// Mode "0": every blank outside the comment goes.
bool removeBlanks(QString &line) {
    // The comment starts at the first "(", else the first ";", else the first '"'.
    qsizetype paren = -1, semicolon = -1, quote = -1;
    const QChar *d = line.constData();
    for (qsizetype k = 0, n = line.size(); k < n; ++k) {
        const char16_t c = d[k].unicode();
        if (c == u'(') {
            paren = k;
            break;
        }
        if (c == u';' && semicolon < 0)
            semicolon = k;
        else if (c == u'"' && quote < 0)
            quote = k;
    }
    const qsizetype comment = paren >= 0 ? paren : semicolon >= 0 ? semicolon : quote;
    if (comment == 0)
        return false; // a comment line stays as it is
    return removeBlanksBefore(line, comment > 0 ? comment : line.size());
}

} // namespace

void applySpacing(QStringList &lines, const QString &blanks, EndMarker to) {
    const QString marker = endMarkerText(to);
    if (blanks == QLatin1String("0")) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines.at(i).isEmpty())
                continue;
            QString line = lines.at(i);
            if (removeBlanks(line))
                lines[i] = line;
            if (containsText(lines.at(i), marker))
                break;
        }
        return;
    }

    // The count is read when first needed, so a wrong field fails on the first
    // number followed by another character, before any line has changed.
    int count = 0;
    bool countKnown = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &current = lines.at(i);
        const qsizetype n = current.size();
        if (n == 0 || current.at(0) == u';' || current.at(0) == u'(')
            continue;
        const QChar *d = current.constData();
        // Places where a number ends and another character follows.
        qsizetype places = 0;
        for (qsizetype k = 1; k < n; ++k)
            if (isNumberChar(d[k - 1]) && !isNumberChar(d[k]))
                ++places;
        if (places > 0 && !countKnown) {
            count = parseInteger(blanks);
            countKnown = true;
        }
        const bool stop = containsText(current, marker);
        if (places > 0 && count > 0) {
            QString out;
            out.resize(n + places * count);
            QChar *o = out.data();
            *o++ = d[0];
            for (qsizetype k = 1; k < n; ++k) {
                if (isNumberChar(d[k - 1]) && !isNumberChar(d[k]))
                    for (int b = 0; b < count; ++b)
                        *o++ = u' ';
                *o++ = d[k];
            }
            lines[i] = out;
        }
        if (stop)
            break;
    }
}

QList<CoordinateFinding> checkCoordinates(const QStringList &lines) {
    static constexpr char16_t letters[] = {u'X', u'Y', u'Z', u'R', u'I', u'J', u'K'};
    QList<CoordinateFinding> findings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const qsizetype n = line.size();
        if (n == 0 || line.at(0) == u'(')
            continue;
        const QChar *d = line.constData();
        // One pass: the first of each letter before the first "(".
        qsizetype first[7] = {-1, -1, -1, -1, -1, -1, -1};
        int missing = 7;
        for (qsizetype k = 0; k < n && missing > 0; ++k) {
            const char16_t c = d[k].unicode();
            if (c == u'(')
                break;
            for (int l = 0; l < 7; ++l)
                if (c == letters[l] && first[l] < 0) {
                    first[l] = k;
                    --missing;
                }
        }
        for (int l = 0; l < 7; ++l) {
            const qsizetype at = first[l];
            if (at < 0)
                continue;
            // The value: the run of "+", "-", "." and digits after the letter.
            qsizetype e = at + 1;
            bool point = false;
            while (e < n) {
                const char16_t c = d[e].unicode();
                if (c == u'.')
                    point = true;
                else if (!(c == u'+' || c == u'-' || (c >= u'0' && c <= u'9')))
                    break;
                ++e;
            }
            if (point || (e == at + 2 && d[at + 1] == u'0'))
                continue;
            if ((letters[l] == u'Z' || letters[l] == u'R') && at + 1 < n && d[at + 1] == u'#')
                continue;
            findings.append({int(i), QChar(letters[l])});
        }
    }
    return findings;
}

QString wordAt(const QString &line, int column, bool blankSeparated) {
    const auto isWord = [blankSeparated](QChar c) {
        if (blankSeparated)
            return c.unicode() > 32 && !c.isSpace();
        // Letters, digits and "_", and the signs and points of a number, so that
        // "X-12.5" is one word also without a highlighter.
        return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u',' || c == u'+' || c == u'-';
    };
    qsizetype at = column;
    if (at < 0)
        return QString();
    if (at >= line.size() || !isWord(line.at(at))) {
        if (at == 0 || at - 1 >= line.size() || !isWord(line.at(at - 1)))
            return QString();
        --at;
    }
    qsizetype b = at, e = at + 1;
    while (b > 0 && isWord(line.at(b - 1)))
        --b;
    while (e < line.size() && isWord(line.at(e)))
        ++e;
    return line.mid(b, e - b);
}

QString editCoordinate(const QString &line, const QString &word, const QString &amount) {
    if (word.isEmpty())
        throw ConversionError(QStringLiteral("'' is not a valid floating point value"));
    const QChar letter = word.at(0);
    const QString old = NumberAfter(word, 1);
    double oldValue = 0, delta = 0;
    if (!tryParseFloatAnyMark(old, oldValue))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(old));
    if (!tryParseFloatAnyMark(amount, delta))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(amount));
    const double value = oldValue + delta;
    if (!std::isfinite(value)) // a coordinate beyond any machine's range
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(amount));
    QString text = ncNumber(value == 0 ? 0.0 : value);
    if (old.startsWith(u'+') && value >= 0)
        text.prepend(u'+');
    QString out = line;
    replaceFirst(out, QString(letter) + old, QString(letter) + text);
    return out;
}

} // namespace velmora
