#include "nctext/logic/highlight_style.h"

#include "common/ini.h"
#include "common/programfolder.h"

namespace velmora {
namespace {

ColorValue rgb(quint32 hex) { return colorFromRgb(int((hex >> 16) & 0xFF), int((hex >> 8) & 0xFF), int(hex & 0xFF)); }

void set(SyntaxStyle &s, TokenClass c, quint32 hexRgb, bool bold = false, bool italic = false, bool underline = false) {
    TextAttribute &a = s[c];
    a.hasColour = true;
    a.colour = rgb(hexRgb);
    a.bold = bold;
    a.italic = italic;
    a.underline = underline;
}

} // namespace

QString syntaxName(Syntax syntax) {
    switch (syntax) {
    case Syntax::ISO: return QStringLiteral("ISO");
    case Syntax::ISO2: return QStringLiteral("ISO2");
    case Syntax::Dialog: return QStringLiteral("Heidenhain Dialog");
    case Syntax::None: break;
    }
    return QString();
}

SyntaxStyle defaultSyntaxStyle(Syntax syntax) {
    SyntaxStyle s;
    s[TokenClass::Plain].name = QStringLiteral("Default");
    s[TokenClass::Comment].name = QStringLiteral("Comment");
    s[TokenClass::Identifier].name = QStringLiteral("Identifier");
    s[TokenClass::Key].name = QStringLiteral("Reserved Word");
    s[TokenClass::SecondKey].name = QStringLiteral("Second Reserved Word");
    s[TokenClass::Number].name = QStringLiteral("Number");
    s[TokenClass::Space].name = QStringLiteral("Space");
    s[TokenClass::String].name = QStringLiteral("String");
    s[TokenClass::Symbol].name = QStringLiteral("Symbol");
    s[TokenClass::Program].name = QStringLiteral("Propgramy a podrogramy");
    if (syntax == Syntax::None)
        return s;

    set(s, TokenClass::Comment, 0x008000, false, true);
    set(s, TokenClass::Key, 0x000000, true);
    set(s, TokenClass::SecondKey, 0x0000FF, true);
    set(s, TokenClass::Number, 0x800000);
    switch (syntax) {
    case Syntax::ISO:
        set(s, TokenClass::Identifier, 0x000000);
        set(s, TokenClass::Space, 0xFF0000);
        set(s, TokenClass::String, 0x800080, true);
        set(s, TokenClass::Symbol, 0x808000);
        set(s, TokenClass::Program, 0x0000FF, true, false, true);
        break;
    case Syntax::ISO2:
        set(s, TokenClass::Identifier, 0x808000);
        set(s, TokenClass::Space, 0xFF00FF);
        set(s, TokenClass::Program, 0x0000FF, true, false, true);
        break;
    case Syntax::Dialog:
        set(s, TokenClass::Identifier, 0x008080, true);
        set(s, TokenClass::Space, 0xFF0000);
        set(s, TokenClass::String, 0x00FF00);
        s[TokenClass::Program].name.clear(); // the Dialog highlighter has no Program attribute
        break;
    case Syntax::None:
        break;
    }
    return s;
}

SyntaxStyle configuredSyntaxStyle(Syntax syntax) {
    SyntaxStyle s = defaultSyntaxStyle(syntax);
    if (syntax != Syntax::ISO && syntax != Syntax::ISO2)
        return s;
    const QString section = syntax == Syntax::ISO ? QStringLiteral("Color") : QStringLiteral("Color2");
    const IniFile file(setupIniPath());
    const struct {
        const char *key;
        TokenClass cls;
    } keys[] = {{"G", TokenClass::Key},         {"M", TokenClass::SecondKey},        {"Komentar", TokenClass::Comment},
                {"FS", TokenClass::Space},      {"Souradnice", TokenClass::Number}, {"Bloky", TokenClass::Identifier}};
    const IniData data = file.read();
    const IniSection *sec = data.section(section);
    if (!sec)
        return s;
    for (const auto &k : keys) {
        for (const IniEntry &e : sec->entries) {
            if (e.key.compare(QLatin1String(k.key), Qt::CaseInsensitive) != 0)
                continue;
            ColorValue v;
            if (colorFromString(e.value, v)) {
                s[k.cls].hasColour = true;
                s[k.cls].colour = plainColour(v);
            }
            break; // the first key of a name counts
        }
    }
    return s;
}

ColorValue editorBackground() {
    const QString text = IniFile(setupIniPath()).readString(QStringLiteral("Color"), QStringLiteral("Podklad"), QStringLiteral("clCream"));
    const ColorValue v = colorOr(text, clCream);
    return plainColour(v);
}

QString htmlColour(ColorValue value) {
    value = plainColour(value);
    return QStringLiteral("#%1%2%3")
        .arg(colorRed(value), 2, 16, QLatin1Char('0'))
        .arg(colorGreen(value), 2, 16, QLatin1Char('0'))
        .arg(colorBlue(value), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace velmora
