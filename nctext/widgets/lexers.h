#pragma once
// The editor's highlighters: the line scanners of nctext/logic/highlight.h as
// QScintilla lexers, with text attributes shared by every document that uses
// the same highlighter (changing the colours of "ISO" recolours every ISO
// document at once).
#include "common/colour.h"
#include "nctext/logic/highlight_style.h"
#include "shell/widgets/document.h"

#include <QList>
#include <QStringList>

class QObject;
class QsciLexer;

namespace velmora {
class Host;

// Installs the documents' lexer factory, loads the keyword lists and connects
// the "Export do HTML" command.
void installHighlighting(Host &host);

Syntax syntaxOf(Highlighter h);

// A lexer for a document's editor; null for Highlighter::None.
QsciLexer *createLexer(Highlighter h, QObject *parent);

// The attributes a highlighter shows now.
SyntaxStyle highlighterStyle(Highlighter h);

// The colours as the editor set-up reads them (ReadIniSetings): `choice` is the
// highlighter choice of the settings ("Prirazeni"): 0 gives the ISO highlighter
// the keys of section "Color", 1 gives ISO2 those of "Color2" (keys "G", "M",
// "Komentar", "FS", "Souradnice"; "Bloky" is not read here); other values
// change nothing. Recolours every document using that highlighter.
void readHighlighterColours(int choice);
// The same with the choice stored in SetupCNC.ini (Editor/Prirazeni, default 0).
void readHighlighterColours();

// The settings dialog's OK: the six colours of one group, in the order
// G, M, Komentar, FS, Souradnice, Bloky (Key, Second key, Comment, Space,
// Number, Identifier). Only ISO and ISO2 take colours.
void setHighlighterColours(Highlighter h, const QList<ColorValue> &colours);

// Refills the keyword lists from Kody/ and recolours every document; returns
// the files that could not be read (their lists keep the built-in words).
QStringList reloadKeywordLists();

// Puts the current attributes of a highlighter on a lexer made by createLexer
// (colour and bold/italic/underline; the font family and size stay).
void applyHighlighterColours(QsciLexer *lexer, Highlighter h);

} // namespace velmora
