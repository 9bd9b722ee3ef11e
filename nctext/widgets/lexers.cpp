#include "nctext/widgets/lexers.h"

#include "common/ini.h"
#include "common/programfolder.h"
#include "nctext/widgets/html.h"
#include "nctext/widgets/scannerlexer.h"
#include "shell/widgets/host.h"

#include <Qsci/qscilexercustom.h>
#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QFont>
#include <QPointer>

#include <array>
#include <vector>

namespace velmora {
namespace {


// The attributes of each highlighter, shared by all its documents.
SyntaxStyle &shared(Syntax s) {
    static std::array<SyntaxStyle, 4> styles = {defaultSyntaxStyle(Syntax::None), defaultSyntaxStyle(Syntax::ISO),
                                                defaultSyntaxStyle(Syntax::ISO2), defaultSyntaxStyle(Syntax::Dialog)};
    return styles[size_t(s)];
}

// A document's lexer: the attributes are those of its highlighter, shared by every document using it.
class NcLexer : public ScannerLexer {
public:
    NcLexer(Highlighter h, QObject *parent) : ScannerLexer(syntaxOf(h), parent), highlighter_(h) {}
    Highlighter highlighter() const { return highlighter_; }
    const SyntaxStyle &style() const override { return shared(syntax()); }

private:
    Highlighter highlighter_;
};

QList<QPointer<NcLexer>> &liveLexers() {
    static QList<QPointer<NcLexer>> list;
    return list;
}

// Every live lexer of a highlighter (all when h is None).
template <typename F>
void forEachLexer(Highlighter h, F f) {
    QList<QPointer<NcLexer>> &list = liveLexers();
    list.removeAll(QPointer<NcLexer>());
    for (const QPointer<NcLexer> &l : std::as_const(list))
        if (l && (h == Highlighter::None || l->highlighter() == h))
            f(l.data());
}

void recolour(Highlighter h) {
    forEachLexer(h, [h](NcLexer *l) { applyHighlighterColours(l, h); });
}

const TokenClass kColourRows[] = {TokenClass::Key,   TokenClass::SecondKey, TokenClass::Comment,
                                  TokenClass::Space, TokenClass::Number,    TokenClass::Identifier};

} // namespace

Syntax syntaxOf(Highlighter h) {
    switch (h) {
    case Highlighter::ISO: return Syntax::ISO;
    case Highlighter::ISO2: return Syntax::ISO2;
    case Highlighter::Dialog: return Syntax::Dialog;
    case Highlighter::None: break;
    }
    return Syntax::None;
}

QsciLexer *createLexer(Highlighter h, QObject *parent) {
    if (h == Highlighter::None)
        return nullptr;
    auto *lexer = new NcLexer(h, parent);
    liveLexers().append(lexer);
    applyHighlighterColours(lexer, h);
    return lexer;
}

SyntaxStyle highlighterStyle(Highlighter h) { return shared(syntaxOf(h)); }

void applyHighlighterColours(QsciLexer *lexer, Highlighter h) {
    if (auto *nc = dynamic_cast<NcLexer *>(lexer); nc && nc->highlighter() == h)
        nc->applyStyle();
}

void readHighlighterColours(int choice) {
    if (choice != 0 && choice != 1)
        return;
    const Syntax syntax = choice == 0 ? Syntax::ISO : Syntax::ISO2;
    // The five rows the set-up reads; the identifiers' colour ("Bloky") stays.
    const SyntaxStyle fromFile = configuredSyntaxStyle(syntax);
    SyntaxStyle &s = shared(syntax);
    for (int row = 0; row < 5; ++row)
        s[kColourRows[row]] = fromFile[kColourRows[row]];
    recolour(choice == 0 ? Highlighter::ISO : Highlighter::ISO2);
}

void readHighlighterColours() {
    readHighlighterColours(IniFile(setupIniPath()).readInteger(QStringLiteral("Editor"), QStringLiteral("Prirazeni"), 0));
}

void setHighlighterColours(Highlighter h, const QList<ColorValue> &colours) {
    if (h != Highlighter::ISO && h != Highlighter::ISO2)
        return;
    SyntaxStyle &s = shared(syntaxOf(h));
    for (int row = 0; row < 6 && row < colours.size(); ++row) {
        s[kColourRows[row]].hasColour = true;
        s[kColourRows[row]].colour = colours[row];
    }
    recolour(h);
}

QStringList reloadKeywordLists() {
    const QStringList missing = loadKeywordLists();
    forEachLexer(Highlighter::None, [](NcLexer *l) { l->restyle(); });
    return missing;
}

void installHighlighting(Host &host) {
    // A missing keyword file is reported by the start-up check; its list keeps the built-in words.
    loadKeywordLists();
    readHighlighterColours();
    // Each document set-up reads the colours again, as the editor set-up does.
    Document::setLexerFactory([](Highlighter h, QObject *parent) {
        readHighlighterColours();
        return createLexer(h, parent);
    });
    installHtmlExport(host);
}

} // namespace velmora
