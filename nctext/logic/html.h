#pragma once
// The HTML export of a program: the lines coloured by a highlighter, in a
// <pre> block. The file is UTF-8 and says so in its head, so every character
// the program holds (Czech letters included) is written as itself; only the
// quote, ampersand, less-than and greater-than signs become entities.
#include "common/colour.h"
#include "nctext/logic/highlight_style.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

struct HtmlExportOptions {
    Syntax syntax = Syntax::None;
    SyntaxStyle style;                 // the attributes of `syntax`
    ColorValue textColour = clBlack;
    ColorValue background = clWhite;   // the window colour
    const KeywordLists *lists = nullptr; // defaults to the shared lists of `syntax`
};

// Options for a syntax with the user's colours and the shared keyword lists.
HtmlExportOptions htmlOptionsFor(Syntax syntax);

// The whole HTML file as UTF-8 bytes, lines ended by CR LF.
QByteArray exportHtml(const QStringList &lines, const HtmlExportOptions &options);

// Text with ", &, < and > written as entities.
QString htmlEscape(QStringView text);

// The file name the export writes: ".html" appended when the name has no extension.
QString htmlFileName(const QString &chosen);

} // namespace velmora
