#include "nctext/logic/search.h"

#include <algorithm>

namespace velmora {

void addToHistory(QStringList &history, const QString &text) {
    if (!text.isEmpty()) {
        qsizetype found = -1;
        for (qsizetype i = 0; i < history.size(); ++i)
            if (history.at(i).compare(text, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        if (found >= 0)
            history.move(found, 0);
        else
            history.prepend(text);
    }
    while (history.size() > kHistorySize)
        history.removeLast();
}

namespace {

inline bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

bool wholeWordAt(const QString &line, qsizetype at, qsizetype length) {
    if (at > 0 && isWordChar(line.at(at - 1)))
        return false;
    const qsizetype end = at + length;
    return end >= line.size() || !isWordChar(line.at(end));
}

// The columns [lo, hi) of a line that belong to the area.
void columnsOf(const SearchArea &area, int line, qsizetype size, qsizetype &lo, qsizetype &hi) {
    lo = 0;
    hi = size;
    if (area.kind == SearchArea::Block) {
        lo = area.from.column;
        hi = std::min<qsizetype>(size, area.to.column);
    } else if (area.kind == SearchArea::Stream) {
        if (line == area.from.line)
            lo = area.from.column;
        if (line == area.to.line)
            hi = std::min<qsizetype>(size, area.to.column);
    }
}

} // namespace

std::optional<Match> findMatch(const QStringList &lines, const QString &text, const SearchOptions &options,
                               TextPos start, const SearchArea &area) {
    if (text.isEmpty() || lines.isEmpty())
        return std::nullopt;
    const Qt::CaseSensitivity cs = options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int n = int(text.size());
    int firstLine = 0, lastLine = int(lines.size()) - 1;
    if (area.kind != SearchArea::Whole) {
        firstLine = std::max(firstLine, area.from.line);
        lastLine = std::min(lastLine, area.to.line);
    }

    if (!options.backwards) {
        for (int l = std::max(firstLine, start.line); l <= lastLine; ++l) {
            const QString &line = lines.at(l);
            qsizetype lo, hi;
            columnsOf(area, l, line.size(), lo, hi);
            qsizetype from = l == start.line ? std::max<qsizetype>(lo, start.column) : lo;
            while (from + n <= hi) {
                const qsizetype at = line.indexOf(text, from, cs);
                if (at < 0 || at + n > hi)
                    break;
                if (!options.wholeWords || wholeWordAt(line, at, n))
                    return Match{l, int(at), n};
                from = at + 1;
            }
        }
    } else {
        for (int l = std::min(lastLine, start.line); l >= firstLine; --l) {
            const QString &line = lines.at(l);
            qsizetype lo, hi;
            columnsOf(area, l, line.size(), lo, hi);
            if (l == start.line)
                hi = std::min<qsizetype>(hi, start.column);
            qsizetype from = hi - n; // the last place where a match still ends inside
            while (from >= lo) {
                const qsizetype at = line.lastIndexOf(text, from, cs);
                if (at < lo)
                    break;
                if (!options.wholeWords || wholeWordAt(line, at, n))
                    return Match{l, int(at), n};
                from = at - 1;
            }
        }
    }
    return std::nullopt;
}

TextPos searchStart(const QStringList &lines, const SearchOptions &options, bool fromCaret, TextPos selectionStart,
                    TextPos selectionEnd, const SearchArea &area) {
    if (fromCaret)
        return options.backwards ? selectionStart : selectionEnd;
    if (area.kind != SearchArea::Whole)
        return options.backwards ? area.to : area.from;
    if (!options.backwards)
        return {0, 0};
    const int last = std::max(0, int(lines.size()) - 1);
    return {last, lines.isEmpty() ? 0 : int(lines.at(last).size())};
}

void shiftArea(SearchArea &area, int line, int delta) {
    if (area.kind == SearchArea::Stream && area.to.line == line)
        area.to.column += delta;
    // A block keeps its columns: a replacement of another length moves the
    // rest of that line only.
}

QPoint confirmDialogPosition(const QRect &window, const QRect &matchLine, int matchX, const QSize &dialog) {
    int x;
    if (window.width() < dialog.width())
        x = window.left() + (window.width() - dialog.width()) / 2;
    else
        x = std::max(window.left(), std::min(matchX, window.right() + 1 - dialog.width()));
    int y;
    if (matchLine.top() > window.top() + window.height() * 2 / 3)
        y = matchLine.top() - 4 - dialog.height();
    else
        y = matchLine.bottom() + 1 + 4;
    return {x, y};
}

} // namespace velmora
