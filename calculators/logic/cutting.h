#pragma once
// Cutting data: spindle speed, feed and drill point length, and the S/F word
// written into a program line.
#include <QList>
#include <QPair>
#include <QString>
#include <stdexcept>

namespace velmora::calc {

// A required field left empty.
class InputError : public std::runtime_error {
public:
    InputError();
    static QString text(); // the message shown, the same whatever the language file
};

// a / b; a zero divisor throws ConversionError("Floating point division by zero").
double divide(double a, double b);

// Rounding items of the speed calculator, in the order of its radio group.
enum class SpeedRounding { None = 0, Whole = 1, Tens = 2 };
// Rounding items of the feed calculator, in the order of its radio group.
enum class FeedRounding { None = 0, Three = 1, Two = 2, One = 3, Whole = 4, Tens = 5 };

// n = vc * 1000 / (D * pi).
double spindleSpeed(double vc, double diameter);
double roundSpeed(double n, SpeedRounding rounding);
double roundFeed(double value, FeedRounding rounding);

// "Spočti" of the speed window: field texts in, result text (general format) out.
// Throws ConversionError for a field that holds no number or a zero diameter.
QString speedText(const QString &vc, const QString &diameter, SpeedRounding rounding);

// What the feed window computes.
enum class FeedMode {
    TurnPerRev, // feed per revolution = feed per minute / n
    TurnPerMin, // feed per minute = feed per revolution * n
    MillPerTooth, // fz = feed per minute / (n * z)
    MillPerMin  // feed per minute = n * z * fz
};

struct FeedFields {
    QString speed;      // n
    QString perMinute;  // feed per minute
    QString perRev;     // feed per revolution (turning)
    QString perTooth;   // fz (milling)
    QString teeth;      // z (milling)
};

// "Spočti" of the feed window. Throws InputError when a required field is empty,
// ConversionError for a bad number or a division by zero.
QString feedText(FeedMode mode, const FeedFields &fields, FeedRounding rounding);

// Point length of a twist drill: (D / 2) / tan(angle / 2), rounded to 3 places.
double drillPoint(double diameter, double angleDegrees);
QString drillPointText(const QString &diameter, const QString &angle);
// The fixed table for 118 degrees: an empty first row, then 0,5 to 20 in steps of 0,5.
QList<QPair<QString, QString>> drillPointTable();

// Writes word W (e.g. 'S') with value V into a program line at the caret.
// When the word at the caret begins with W, its first occurrence in the line
// is replaced by W + V; otherwise W + V is put in at the caret column (1-based).
// Every "," of V becomes ".".
QString insertWord(const QString &line, const QString &wordAtCaret, int caretColumn, QChar word, const QString &value);

} // namespace velmora::calc
