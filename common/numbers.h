#pragma once
// Number texts shared by the calculators, the tool lists and the NC text tools.
#include <QString>
#include <stdexcept>

namespace velmora {

// The user's decimal mark: a comma on the Czech systems the program is made for.
constexpr QChar kDecimalMark = u',';

// General format: at most 15 significant digits, no trailing zeros, the
// decimal mark given; scientific form ("1.5E-7", "1E20") for very small or
// very large values, as the classic general float format does.
QString formatGeneral(double value, QChar decimalMark = kDecimalMark);
// The same text into a buffer of kGeneralFormatMax characters, for hot loops;
// returns its length. The decimal mark must be an ASCII character.
constexpr int kGeneralFormatMax = 32;
int formatGeneralTo(double value, char decimalMark, char *out);

// NC form of a number text: every "," becomes "." and a "." is appended
// when none is left ("25" -> "25.").
QString ncForm(const QString &numberText);
// A number text of the general format without its exponent, for NC words:
// "1,5E-7" gives "0,00000015", "2E16" gives "20000000000000000". Texts without
// an exponent, and texts that are no number, come back unchanged.
QString withoutExponent(const QString &text);
// A value as an NC word's number: "." as the decimal mark, always present, never an exponent.
QString ncNumber(double value);

// Rounds to `places` decimal places (negative: tens, hundreds ...), exact
// halves going to the even neighbour. The value is taken as the decimal number
// its 15-significant-digit text stands for, so 0.35 to one place is 0.4.
double roundDecimal(double value, int places);

// Rounds away binary noise of sums and differences of decimal values:
// to 10 decimal places, halves to even.
double roundNoise(double value);

// The largest magnitude an NC word takes: the general format writes a number
// of up to 15 digits before the decimal mark without an exponent.
constexpr double kNcWordLimit = 1e15;

// The message a failed conversion shows.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Strict conversions with the messages of the run time:
// "'%s' is not a valid integer value" and "'%s' is not a valid floating point value".
// parseInteger accepts blanks around, a sign, decimal digits or "$" hexadecimal.
int parseInteger(const QString &text);
bool tryParseInteger(const QString &text, int &value);
// parseFloat accepts the decimal mark given (and only that), a sign, and an exponent.
double parseFloat(const QString &text, QChar decimalMark = kDecimalMark);
bool tryParseFloat(const QString &text, double &value, QChar decimalMark = kDecimalMark);
// A value that goes into NC words, worked out from the text of a field: one
// of kNcWordLimit or more, or no finite number at all, is refused like a field
// that holds no number ("'%s' is not a valid floating point value" with `fieldText`).
void requireNcWord(double value, const QString &fieldText);
// Accepts "." or "," as the decimal mark (command-line options).
bool tryParseFloatAnyMark(const QString &text, double &value);

// NumberAfter(text, p): the longest run of characters from "+", "-", ".", "0" to "9"
// that begins at 1-based position p+1 of the text (0-based index p); empty when that
// character is none of them or lies beyond the end.
QString NumberAfter(const QString &text, int p);

} // namespace velmora
