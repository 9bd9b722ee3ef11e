#pragma once
// A QScintilla lexer over the line scanners of nctext/logic/highlight.h: it
// styles whole lines, only those Scintilla asks for, and hands Scintilla all
// their style bytes at once. The attributes of the token classes come from
// `style()`, so that a lexer can share them with others or keep its own.
#include "nctext/logic/highlight_style.h"

#include <Qsci/qscilexercustom.h>

#include <vector>

namespace velmora {

class ScannerLexer : public QsciLexerCustom {
public:
    ScannerLexer(Syntax syntax, QObject *parent) : QsciLexerCustom(parent), syntax_(syntax) {}

    Syntax syntax() const { return syntax_; }
    virtual const SyntaxStyle &style() const = 0;

    const char *language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

    // Makes Scintilla style everything again (after the keyword lists changed).
    void restyle();
    // Puts the attributes of style() on the lexer (colours, bold, italic, underline;
    // the font family and size stay).
    void applyStyle();

private:
    static constexpr long kLinesAhead = 200;
    Syntax syntax_;
    std::vector<quint8> buffer_;
};

// A lexer with attributes of its own.
class FixedStyleLexer : public ScannerLexer {
public:
    FixedStyleLexer(Syntax syntax, const SyntaxStyle &style, QObject *parent) : ScannerLexer(syntax, parent), style_(style) {
        applyStyle();
    }
    const SyntaxStyle &style() const override { return style_; }

private:
    SyntaxStyle style_;
};

} // namespace velmora
