#pragma once
// Blanks between the words of a program, the check of coordinates written
// without a decimal point, and the edit of the coordinate under the caret.
#include "nctext/logic/nctext.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// Spacing. `blanks` is the field as typed: exactly "0" removes every blank
// outside comments; any other text is the number of blanks put after each
// number, read as an integer only when a number is followed by another
// character (ConversionError "'%s' is not a valid integer value" then, before
// any line has changed). Works from the first line and stops after the first
// line that holds the end marker.
void applySpacing(QStringList &lines, const QString &blanks, EndMarker to);

// One coordinate or circle parameter written without a decimal point.
struct CoordinateFinding {
    int line = 0;     // 0-based
    QChar letter;     // X, Y, Z, R, I, J or K
};

// Checks every line: the first X, Y, Z, R, I, J and K of a line (before its
// first "(") must carry a value with a "." or the value "0"; Z and R may refer
// to a parameter ("Z#1"). Lines that are empty or begin with "(" are skipped.
QList<CoordinateFinding> checkCoordinates(const QStringList &lines);

// Lengthens or shortens the coordinate `word` (the word at the caret, e.g.
// "X12.5") in `line` by `amount` ("2,5" or "-5"; "." or "," as the decimal
// mark). Returns the rewritten line. Throws ConversionError ("'%s' is not a
// valid floating point value") when the old value or the amount is no number.
// The word at 0-based column `column` of a line: the run of word characters
// that holds the character at the column or ends just before it. With
// `blankSeparated` (any highlighter) every character above the blank is a word
// character, so the word is the blank-separated item; otherwise letters,
// digits, "_" and the characters of a number ("+", "-", ".", ","). Empty when
// the caret touches no word.
QString wordAt(const QString &line, int column, bool blankSeparated);

QString editCoordinate(const QString &line, const QString &word, const QString &amount);

} // namespace velmora
