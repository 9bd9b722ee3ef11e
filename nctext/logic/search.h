#pragma once
// Search and replace over the lines of a document: the search state kept for
// the whole run, the history lists, the search itself and the place of the
// replace confirmation.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

struct SearchOptions {
    bool caseSensitive = false;
    bool wholeWords = false;
    bool backwards = false;    // towards the start of the text
    bool fromCaret = false;    // when off, the whole text (or selection) is searched
    bool selectedOnly = false;
};

// Kept for the whole run and shared by all documents; empty or off at start.
struct SearchState {
    QString searchText;
    QString replaceText;
    QStringList searchHistory;  // newest first, at most 10
    QStringList replaceHistory;
    SearchOptions options;
    // After the first search of a confirmed dialog the program continues from
    // the caret, until a dialog is confirmed again with the option off.
    bool continueFromCaret = false;
};

constexpr int kHistorySize = 10;

// Puts a typed text at the top of its history: a text already there (compared
// without regard to case) moves up, others are inserted first; an empty text
// changes nothing. Keeps the newest kHistorySize entries.
void addToHistory(QStringList &history, const QString &text);

// A place in the text: 0-based line and column.
struct TextPos {
    int line = 0;
    int column = 0;
    friend bool operator==(const TextPos &, const TextPos &) = default;
    friend auto operator<=>(const TextPos &, const TextPos &) = default;
};

// Where the search may find matches.
struct SearchArea {
    enum Kind { Whole, Stream, Block };
    Kind kind = Whole;
    TextPos from; // Stream: first position; Block: top line and left column
    TextPos to;   // Stream: position after the last character; Block: bottom line and right column (exclusive)
    static SearchArea whole() { return {}; }
};

struct Match {
    int line = 0;
    int column = 0;
    int length = 0;
    friend bool operator==(const Match &, const Match &) = default;
};

// The first match at or after `start` (forwards), or the last match ending at
// or before `start` (backwards), inside the area. Matches lie within one line.
std::optional<Match> findMatch(const QStringList &lines, const QString &text, const SearchOptions &options,
                               TextPos start, const SearchArea &area);

// Where the search starts: the caret side of the selection when searching
// from the caret, else the area's start (forwards) or end (backwards).
TextPos searchStart(const QStringList &lines, const SearchOptions &options, bool fromCaret, TextPos selectionStart,
                    TextPos selectionEnd, const SearchArea &area);

// Adjusts the area after a replacement on line `line` that changed its length by `delta`.
void shiftArea(SearchArea &area, int line, int delta);

// The place of the replace confirmation (global coordinates): 4 pixels below
// the match's line, or above it with 4 pixels between when the line lies in
// the lowest third of the window; horizontally at the match's column, moved
// left to stay inside the window, centred on the window when the window is
// narrower than the dialog.
QPoint confirmDialogPosition(const QRect &window, const QRect &matchLine, int matchX, const QSize &dialog);

} // namespace velmora
