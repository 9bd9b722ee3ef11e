#pragma once
// Colour strings: 32-bit values 0x00BBGGRR written as a name ("clRed") when
// one exists, else "$" and eight hexadecimal digits. System colours are
// 0xFF0000nn, nn being the system colour index.
#include <QList>
#include <QString>
#include <QtGlobal>

namespace velmora {

using ColorValue = quint32;

// Reads a name, "$" with hexadecimal digits, or a decimal number.
bool colorFromString(const QString &text, ColorValue &value);
// Like colorFromString, with a fallback for text that is no colour.
ColorValue colorOr(const QString &text, ColorValue fallback);
QString colorToString(ColorValue value);
// The colours with a name, in the order of the list: the 16 standard colours, the
// 4 extended ones and the system colours (not clNone and clDefault).
QList<ColorValue> namedColours();

bool isSystemColor(ColorValue value);
// The red, green and blue a colour shows as: system colours as their usual values.
ColorValue plainColour(ColorValue value);
// Red, green and blue of a plain colour (system colours give their index in red).
inline int colorRed(ColorValue v) { return int(v & 0xFF); }
inline int colorGreen(ColorValue v) { return int((v >> 8) & 0xFF); }
inline int colorBlue(ColorValue v) { return int((v >> 16) & 0xFF); }
inline ColorValue colorFromRgb(int r, int g, int b) { return ColorValue(r) | (ColorValue(g) << 8) | (ColorValue(b) << 16); }

constexpr ColorValue clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                     clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                     clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                     clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                     clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
                     clNone = 0x1FFFFFFF, clDefault = 0x20000000;

} // namespace velmora
