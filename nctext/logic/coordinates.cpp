#include "nctext/logic/coordinates.h"

#include "common/numbers.h"

namespace velmora {

namespace {

inline bool isNumberChar(QChar c) { return (c >= u'0' && c <= u'9') || c == u',' || c == u'.'; }

QString withoutBlanks(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u' ')
            out.append(c);
    return out;
}

// Mode "0": every blank outside the comment goes.
bool removeBlanks(QString &line) {
    qsizetype comment = line.indexOf(u'(');
    if (comment < 0)
        comment = line.indexOf(u';');
    if (comment < 0)
        comment = line.indexOf(u'"');
    if (comment >= 1) {
        if (!QStringView(line).left(comment).contains(u' '))
            return false;
        QString out = withoutBlanks(QStringView(line).left(comment));
        out.append(QStringView(line).mid(comment));
        line = out;
        return true;
    }
    if (comment == 0 || !line.contains(u' '))
        return false;
    line = withoutBlanks(line);
    return true;
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
            if (lines.at(i).contains(marker))
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
        if (current.isEmpty() || current.at(0) == u';' || current.at(0) == u'(')
            continue;
        QString out;
        bool inserted = false;
        const qsizetype n = current.size();
        for (qsizetype k = 0; k < n; ++k) {
            const QChar c = current.at(k);
            if (k > 0 && isNumberChar(current.at(k - 1)) && !isNumberChar(c)) {
                if (!countKnown) {
                    count = parseInteger(blanks);
                    countKnown = true;
                }
                if (count > 0) {
                    if (!inserted) {
                        out.reserve(n + 16 * count);
                        out.append(QStringView(current).left(k));
                        inserted = true;
                    }
                    out.append(QString(count, u' '));
                }
            }
            if (inserted)
                out.append(c);
        }
        const bool stop = current.contains(marker);
        if (inserted)
            lines[i] = out;
        if (stop)
            break;
    }
}

QList<CoordinateFinding> checkCoordinates(const QStringList &lines) {
    static const QChar letters[] = {u'X', u'Y', u'Z', u'R', u'I', u'J', u'K'};
    QList<CoordinateFinding> findings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty() || line.at(0) == u'(')
            continue;
        const qsizetype paren = line.indexOf(u'(');
        for (QChar letter : letters) {
            const qsizetype at = line.indexOf(letter);
            if (at < 0 || (paren >= 0 && at > paren))
                continue;
            const QString value = NumberAfter(line, int(at) + 1);
            if (value.contains(u'.') || value == QLatin1String("0"))
                continue;
            if ((letter == u'Z' || letter == u'R') && at + 1 < line.size() && line.at(at + 1) == u'#')
                continue;
            findings.append({int(i), letter, coordinateMessagePrefix(letter) + line});
        }
    }
    return findings;
}

QString coordinateMessagePrefix(QChar letter) {
    const bool parameter = letter == u'I' || letter == u'J' || letter == u'K';
    return (parameter ? QStringLiteral("Chyba parametru ") : QStringLiteral("Chyba souřadnice ")) + letter +
           QStringLiteral(" na : ");
}

QString coordinatesOkText() { return QStringLiteral("OK chyba nenalezena v žádnem XYZRIJK."); }

QString coordinatesContinueText() { return QStringLiteral("Pokračovat ?"); }

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
    QString text = ncNumber(value == 0 ? 0.0 : value);
    if (old.startsWith(u'+') && value >= 0)
        text.prepend(u'+');
    QString out = line;
    replaceFirst(out, QString(letter) + old, QString(letter) + text);
    return out;
}

} // namespace velmora
