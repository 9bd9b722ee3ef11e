#pragma once
// Text attributes (colour and style) of the highlighters' token classes.
#include "common/colour.h"
#include "nctext/logic/highlight.h"

#include <QString>
#include <array>

namespace velmora {

struct TextAttribute {
    QString name;             // "Comment", "Reserved Word", ...
    bool hasColour = false;   // without a colour the editor's normal text colour is used
    ColorValue colour = 0;    // 0x00BBGGRR
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct SyntaxStyle {
    std::array<TextAttribute, kTokenClassCount> attributes; // indexed by TokenClass
    const TextAttribute &operator[](TokenClass c) const { return attributes[size_t(c)]; }
    TextAttribute &operator[](TokenClass c) { return attributes[size_t(c)]; }
};

// The name of a highlighter as the menus and the settings show it ("ISO", "ISO2",
// "Heidenhain Dialog"); empty for None.
QString syntaxName(Syntax syntax);

// The attributes a highlighter has before any user setting is applied.
SyntaxStyle defaultSyntaxStyle(Syntax syntax);

// The attributes with the user's colours of SetupCNC.ini: section "Color" for
// ISO, "Color2" for ISO2, keys "G" (Key), "M" (Second key), "Komentar"
// (Comment), "FS" (Space), "Souradnice" (Number), "Bloky" (Identifier).
// A key that is missing or holds no colour keeps the highlighter's own colour.
// The Dialog colours are fixed.
SyntaxStyle configuredSyntaxStyle(Syntax syntax);

// Editor background: key "Podklad" of section "Color" (default "clCream").
ColorValue editorBackground();

// "#RRGGBB" of a plain colour; system colours map to the usual Windows defaults.
QString htmlColour(ColorValue value);

} // namespace velmora
