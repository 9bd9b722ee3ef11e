#include "common/colour.h"

#include <iterator>

namespace velmora {
namespace {

struct Named {
    const char *name;
    ColorValue value;
};

constexpr ColorValue sys(unsigned n) { return 0xFF000000u | n; }

constexpr Named kNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream}, {"clMedGray", clMedGray},
    {"clScrollBar", sys(0x00)}, {"clBackground", sys(0x01)}, {"clActiveCaption", sys(0x02)},
    {"clInactiveCaption", sys(0x03)}, {"clMenu", sys(0x04)}, {"clWindow", sys(0x05)},
    {"clWindowFrame", sys(0x06)}, {"clMenuText", sys(0x07)}, {"clWindowText", sys(0x08)},
    {"clCaptionText", sys(0x09)}, {"clActiveBorder", sys(0x0A)}, {"clInactiveBorder", sys(0x0B)},
    {"clAppWorkSpace", sys(0x0C)}, {"clHighlight", sys(0x0D)}, {"clHighlightText", sys(0x0E)},
    {"clBtnFace", sys(0x0F)}, {"clBtnShadow", sys(0x10)}, {"clGrayText", sys(0x11)},
    {"clBtnText", sys(0x12)}, {"clInactiveCaptionText", sys(0x13)}, {"clBtnHighlight", sys(0x14)},
    {"cl3DDkShadow", sys(0x15)}, {"cl3DLight", sys(0x16)}, {"clInfoText", sys(0x17)},
    {"clInfoBk", sys(0x18)}, {"clHotLight", sys(0x1A)}, {"clGradientActiveCaption", sys(0x1B)},
    {"clGradientInactiveCaption", sys(0x1C)}, {"clMenuHighlight", sys(0x1D)}, {"clMenuBar", sys(0x1E)},
    {"clNone", clNone}, {"clDefault", clDefault},
};

} // namespace

bool colorFromString(const QString &text, ColorValue &value) {
    const QString t = text.trimmed();
    for (const Named &n : kNames) {
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            value = n.value;
            return true;
        }
    }
    bool ok = false;
    if (t.startsWith(QLatin1Char('$'))) {
        const qulonglong v = t.mid(1).toULongLong(&ok, 16);
        if (ok && v <= 0xFFFFFFFFull && t.size() > 1) {
            value = ColorValue(v);
            return true;
        }
        return false;
    }
    const qlonglong v = t.toLongLong(&ok, 10);
    if (ok && v >= INT_MIN && v <= 0xFFFFFFFFll) {
        value = ColorValue(quint32(v));
        return true;
    }
    return false;
}

QList<ColorValue> namedColours() {
    QList<ColorValue> out;
    for (const Named &n : kNames)
        if (n.value != clNone && n.value != clDefault)
            out.append(n.value);
    return out;
}

ColorValue colorOr(const QString &text, ColorValue fallback) {
    ColorValue v;
    return colorFromString(text, v) ? v : fallback;
}

QString colorToString(ColorValue value) {
    for (const Named &n : kNames)
        if (n.value == value)
            return QLatin1String(n.name);
    return QStringLiteral("$%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

bool isSystemColor(ColorValue value) { return (value & 0xFF000000u) == 0xFF000000u; }

ColorValue plainColour(ColorValue value) {
    if (!isSystemColor(value))
        return value;
    // Typical values of the system colours that settings may name.
    switch (value & 0xFF) {
    case 0x05: case 0x0E: case 0x14: case 0x18: // window, highlight text, button highlight, info background
        return clWhite;
    case 0x0F: case 0x16: case 0x04: case 0x1E:
        return colorFromRgb(0xF0, 0xF0, 0xF0);
    case 0x0D: case 0x1D:
        return colorFromRgb(0x00, 0x78, 0xD7);
    case 0x10: case 0x11: case 0x0C:
        return clGray;
    default:
        return clBlack;
    }
}

} // namespace velmora
