#include "nctext/widgets/lexers.h"

#include "common/ini.h"
#include "common/programfolder.h"
#include "nctext/widgets/html.h"
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

// System colours show as their usual values.
QColor qcolour(ColorValue v) { return QColor(htmlColour(v)); }

// The attributes of each highlighter, shared by all its documents.
SyntaxStyle &shared(Syntax s) {
    static std::array<SyntaxStyle, 4> styles = {defaultSyntaxStyle(Syntax::None), defaultSyntaxStyle(Syntax::ISO),
                                                defaultSyntaxStyle(Syntax::ISO2), defaultSyntaxStyle(Syntax::Dialog)};
    return styles[size_t(s)];
}

class NcLexer : public QsciLexerCustom {
public:
    NcLexer(Highlighter h, QObject *parent) : QsciLexerCustom(parent), highlighter_(h), syntax_(syntaxOf(h)) {}

    Highlighter highlighter() const { return highlighter_; }

    const char *language() const override {
        switch (syntax_) {
        case Syntax::ISO: return "ISO";
        case Syntax::ISO2: return "ISO2";
        case Syntax::Dialog: return "Heidenhain Dialog";
        case Syntax::None: break;
        }
        return "";
    }

    QString description(int style) const override {
        if (style < 0 || style >= kTokenClassCount)
            return QString();
        const QString name = shared(syntax_).attributes[size_t(style)].name;
        // Every style needs a description to be used; the Dialog highlighter's unused Program slot too.
        return name.isEmpty() ? QStringLiteral("Unused") : name;
    }

    QColor defaultColor(int style) const override {
        if (style >= 0 && style < kTokenClassCount) {
            const TextAttribute &a = shared(syntax_).attributes[size_t(style)];
            if (a.hasColour)
                return qcolour(a.colour);
        }
        return QColor(Qt::black);
    }

    QFont defaultFont(int style) const override {
        QFont f = QsciLexerCustom::defaultFont(style);
        if (style >= 0 && style < kTokenClassCount) {
            const TextAttribute &a = shared(syntax_).attributes[size_t(style)];
            f.setBold(a.bold);
            f.setItalic(a.italic);
            f.setUnderline(a.underline);
        }
        return f;
    }

    // Styles the lines Scintilla asks for: whole lines, all style bytes handed over at once.
    void styleText(int start, int end) override {
        QsciScintilla *e = editor();
        if (!e || end <= start)
            return;
        const long length = e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const long firstLine = e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
        const long from = e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine);
        long lastLine = e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1);
        // A request for the whole document (a new lexer, a recolouring) is cut at the end
        // of what is shown: Scintilla asks again for the rest when it needs it.
        const long shownTop = e->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                                               e->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE));
        const long shownEnd = shownTop + e->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN) + kLinesAhead;
        lastLine = qMin(lastLine, qMax(shownEnd, firstLine + kLinesAhead));
        long to = e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, lastLine + 1);
        if (to <= from || to > length) // the last line: up to the end of the text
            to = length;
        if (to <= from)
            return;
        const char *text = reinterpret_cast<const char *>(
            e->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, from, to - from));
        if (!text)
            return;
        buffer_.resize(size_t(to - from));
        styleUtf8(syntax_, text, to - from, keywordListsFor(syntax_), buffer_.data());
        startStyling(from);
        e->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, static_cast<unsigned long>(to - from),
                         reinterpret_cast<const char *>(buffer_.data()));
    }

    // Makes Scintilla style everything again (after the keyword lists changed).
    void restyle() {
        if (QsciScintilla *e = editor()) {
            e->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0ul, 0l);
            e->viewport()->update();
        }
    }

private:
    static constexpr long kLinesAhead = 200;
    Highlighter highlighter_;
    Syntax syntax_;
    std::vector<quint8> buffer_;
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
    if (!lexer)
        return;
    const SyntaxStyle &s = shared(syntaxOf(h));
    for (int style = 0; style < kTokenClassCount; ++style) {
        const TextAttribute &a = s.attributes[size_t(style)];
        lexer->setColor(a.hasColour ? qcolour(a.colour) : QColor(Qt::black), style);
        QFont f = lexer->font(style);
        f.setBold(a.bold);
        f.setItalic(a.italic);
        f.setUnderline(a.underline);
        lexer->setFont(f, style);
    }
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
