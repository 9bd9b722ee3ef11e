#include "nctext/widgets/scannerlexer.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QFont>

namespace velmora {

namespace {
// System colours show as their usual values.
QColor qcolour(ColorValue v) { return QColor(htmlColour(v)); }
} // namespace

const char *ScannerLexer::language() const {
    switch (syntax_) {
    case Syntax::ISO: return "ISO";
    case Syntax::ISO2: return "ISO2";
    case Syntax::Dialog: return "Heidenhain Dialog";
    case Syntax::None: break;
    }
    return "";
}

QString ScannerLexer::description(int s) const {
    if (s < 0 || s >= kTokenClassCount)
        return QString();
    const QString name = style().attributes[size_t(s)].name;
    // Every style needs a description to be used; the Dialog highlighter's unused Program slot too.
    return name.isEmpty() ? QStringLiteral("Unused") : name;
}

QColor ScannerLexer::defaultColor(int s) const {
    if (s >= 0 && s < kTokenClassCount) {
        const TextAttribute &a = style().attributes[size_t(s)];
        if (a.hasColour)
            return qcolour(a.colour);
    }
    return QColor(Qt::black);
}

QFont ScannerLexer::defaultFont(int s) const {
    QFont f = QsciLexerCustom::defaultFont(s);
    if (s >= 0 && s < kTokenClassCount) {
        const TextAttribute &a = style().attributes[size_t(s)];
        f.setBold(a.bold);
        f.setItalic(a.italic);
        f.setUnderline(a.underline);
    }
    return f;
}

// Styles the lines Scintilla asks for: whole lines, all style bytes handed over at once.
void ScannerLexer::styleText(int start, int end) {
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
    const char *text =
        reinterpret_cast<const char *>(e->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, from, to - from));
    if (!text)
        return;
    buffer_.resize(size_t(to - from));
    styleUtf8(syntax_, text, to - from, keywordListsFor(syntax_), buffer_.data());
    startStyling(from);
    e->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, static_cast<unsigned long>(to - from),
                     reinterpret_cast<const char *>(buffer_.data()));
}

void ScannerLexer::restyle() {
    if (QsciScintilla *e = editor()) {
        e->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0ul, 0l);
        e->viewport()->update();
    }
}

void ScannerLexer::applyStyle() {
    const SyntaxStyle &s = style();
    for (int i = 0; i < kTokenClassCount; ++i) {
        const TextAttribute &a = s.attributes[size_t(i)];
        setColor(a.hasColour ? qcolour(a.colour) : QColor(Qt::black), i);
        QFont f = font(i);
        f.setBold(a.bold);
        f.setItalic(a.italic);
        f.setUnderline(a.underline);
        setFont(f, i);
    }
}

} // namespace velmora
