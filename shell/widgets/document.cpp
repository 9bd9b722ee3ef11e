#include "shell/widgets/document.h"

#include "common/textfile.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace velmora {

struct Document::Private {
    QsciScintilla *editor = nullptr;
    QString caption;
    QString filePath;
    Highlighter highlighter = Highlighter::None;
    QsciLexer *lexer = nullptr;
    int undoDepth = 0;
    bool trim = true;
    bool showInfoLine = true;
    int trimLine = -1; // the line edited last, trimmed when the caret leaves it
    bool trimming = false;
    int extraSpacing = 0;
    bool forcedModified = false; // set by a command; Scintilla itself only knows edits since the save point
};

namespace {

Document::LexerFactory &factoryStore() {
    static Document::LexerFactory f;
    return f;
}

QByteArray utf8(const QString &s) { return s.toUtf8(); }

// Every line in UTF-8 followed by CR LF, without a joined copy of the text.
QByteArray utf8Lines(const QStringList &lines) {
    qsizetype total = 0;
    for (const QString &l : lines)
        total += l.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QString &l : lines) {
        const QChar *s = l.constData();
        const qsizetype n = l.size();
        qsizetype i = 0;
        while (i < n && s[i].unicode() < 0x80)
            ++i;
        if (i == n) {
            const qsizetype at = out.size();
            out.resize(at + n);
            char *d = out.data() + at;
            for (qsizetype k = 0; k < n; ++k)
                d[k] = char(s[k].unicode());
        } else {
            out += l.toUtf8();
        }
        out += "\r\n";
    }
    return out;
}

// Splits UTF-8 text into lines as splitLines splits decoded text.
QStringList splitUtf8Lines(const char *p, qsizetype n, qsizetype expected) {
    QStringList out;
    out.reserve(expected);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(QString::fromUtf8(p + start, i - start));
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        out.append(QString::fromUtf8(p + start, n - start));
    return out;
}

// The text between two byte positions, NUL bytes included.
QString rangeText(QsciScintilla *e, long from, long to) {
    if (to <= from)
        return QString();
    const char *p = reinterpret_cast<const char *>(
        e->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, from, to - from));
    return p ? QString::fromUtf8(p, to - from) : QString();
}

} // namespace

Document::Document(QWidget *parent) : QWidget(parent), d(new Private) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d->editor = new QsciScintilla(this);
    d->editor->setObjectName(QStringLiteral("Editor"));
    d->editor->setUtf8(true);
    d->editor->setEolMode(QsciScintilla::EolWindows);
    d->editor->setAutoIndent(true);
    d->editor->setBackspaceUnindents(true);
    d->editor->setIndentationsUseTabs(false);
    d->editor->setMarginWidth(0, 0);
    d->editor->setMarginWidth(1, 10);
    d->editor->setMarginLineNumbers(1, false);
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETVIRTUALSPACEOPTIONS,
                             QsciScintillaBase::SCVS_USERACCESSIBLE | QsciScintillaBase::SCVS_RECTANGULARSELECTION);
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETEXTRAASCENT, 2);
    // Long programs: no layout of the whole text in the background.
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, QsciScintillaBase::SC_CACHE_PAGE);
    layout->addWidget(d->editor);
    setFocusProxy(d->editor);

    connect(d->editor, &QsciScintilla::cursorPositionChanged, this, [this](int, int) {
        checkTrim();
        emit statusChanged();
    });
    // The caret's moves are seen after each key and click too: Scintilla reports them only when it repaints.
    d->editor->installEventFilter(this);
    d->editor->viewport()->installEventFilter(this);
    connect(d->editor, &QsciScintilla::modificationChanged, this, [this](bool) { emit statusChanged(); });
    connect(d->editor, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int, int, int, int, int, int, int) {
                if (d->trimming || !(type & (QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT)))
                    return;
                if (type & (QsciScintillaBase::SC_PERFORMED_UNDO | QsciScintillaBase::SC_PERFORMED_REDO))
                    return;
                d->trimLine = int(d->editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
            });
    connect(d->editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & QsciScintillaBase::SC_UPDATE_SELECTION)
            emit statusChanged();
    });
    connect(d->editor->verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (!d->showInfoLine)
            return;
        const int first = value + 1;
        const int last = qMin(lineCount(), value + int(d->editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)));
        QScrollBar *bar = d->editor->verticalScrollBar();
        QToolTip::showText(QCursor::pos(), QStringLiteral("%1 - %2").arg(first).arg(qMax(first, last)), bar);
    });
}

Document::~Document() {
    // The lexer belongs to the editor; drop it first so that nothing it started outlives the editor.
    if (d->lexer) {
        d->editor->setLexer(nullptr);
        delete d->lexer;
    }
    delete d;
}

QsciScintilla *Document::editor() const { return d->editor; }

QString Document::caption() const { return d->caption; }
void Document::setCaption(const QString &caption) { d->caption = caption; }
QString Document::filePath() const { return d->filePath; }
void Document::setFilePath(const QString &path) { d->filePath = path; }

// --- line list -----------------------------------------------------------------

int Document::lineCount() const {
    const int n = d->editor->lines();
    if (n <= 0)
        return 0;
    // The empty line after a final line end is not a line of the document.
    if (d->editor->SendScintilla(QsciScintillaBase::SCI_LINELENGTH, n - 1) == 0)
        return n - 1;
    return n;
}

QString Document::line(int index) const {
    if (index < 0 || index >= lineCount())
        return QString();
    const long from = d->editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
    const long to = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, index);
    return rangeText(d->editor, from, to);
}

QStringList Document::lines() const {
    // Straight from the editor's UTF-8 bytes, line by line: no copy of the whole text.
    const long length = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (length <= 0)
        return {};
    const char *p = reinterpret_cast<const char *>(
        d->editor->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, 0, length));
    return p ? splitUtf8Lines(p, length, lineCount()) : QStringList();
}

bool Document::lineEquals(int index, QStringView text) const {
    if (index < 0 || index >= lineCount())
        return false;
    const long from = d->editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
    const long to = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, index);
    if (to <= from)
        return text.isEmpty();
    const char *p = reinterpret_cast<const char *>(
        d->editor->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, from, to - from));
    return p && QAnyStringView::compare(QUtf8StringView(p, to - from), text) == 0;
}

QString Document::text() const { return joinLines(lines()); }

namespace {

// Byte position of the start of line `index`; the end of the text for index == lineCount().
long lineStart(QsciScintilla *e, int index) {
    return e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
}

long lineEndNoEol(QsciScintilla *e, int index) { return e->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, index); }

void replaceRange(QsciScintilla *e, long from, long to, const QByteArray &bytes) {
    e->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, from);
    e->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, to);
    e->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, bytes.size(), bytes.constData());
}

} // namespace

// Edits made through the line list do not set the modified flag.
class KeepModified {
public:
    explicit KeepModified(QsciScintilla *e) : e_(e), was_(e->isModified()) {}
    ~KeepModified() {
        if (!was_)
            e_->SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
    }

private:
    QsciScintilla *e_;
    bool was_;
};

void Document::replaceLine(int index, const QString &text) {
    if (index < 0 || index >= lineCount())
        return;
    KeepModified keep(d->editor);
    replaceRange(d->editor, lineStart(d->editor, index), lineEndNoEol(d->editor, index), utf8(text));
}

void Document::insertLine(int index, const QString &text) {
    const int n = lineCount();
    if (index < 0 || index > n)
        return;
    KeepModified keep(d->editor);
    if (index < n) {
        const long pos = lineStart(d->editor, index);
        replaceRange(d->editor, pos, pos, utf8(text + QStringLiteral("\r\n")));
        return;
    }
    // Appending: the last line may lack its line end.
    const long end = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const bool needsBreak = n > 0 && d->editor->lines() == n;
    replaceRange(d->editor, end, end, utf8((needsBreak ? QStringLiteral("\r\n") : QString()) + text + QStringLiteral("\r\n")));
}

void Document::deleteLine(int index) {
    if (index < 0 || index >= lineCount())
        return;
    KeepModified keep(d->editor);
    long from = lineStart(d->editor, index);
    long to = lineStart(d->editor, index + 1);
    if (index + 1 >= d->editor->lines() && index > 0) // the last line without a line end: take the break before it
        from = lineEndNoEol(d->editor, index - 1);
    replaceRange(d->editor, from, to, QByteArray());
}

void Document::clear() {
    KeepModified keep(d->editor);
    d->editor->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
}

void Document::setLines(const QStringList &lines) {
    KeepModified keep(d->editor);
    const long end = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    replaceRange(d->editor, 0, end, utf8Lines(lines));
}

void Document::loadUtf8Text(const QByteArray &utf8) {
    // A freshly loaded text is no edit: nothing to undo, not modified.
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    // No change notifications while the text goes in: they would copy the whole text once more.
    const long mask = d->editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK);
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0);
    d->editor->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    d->editor->SendScintilla(QsciScintillaBase::SCI_ALLOCATE, static_cast<unsigned long>(utf8.size() + 1));
    d->editor->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.constData());
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, mask);
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
    d->editor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    d->editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0);
    setModified(false);
}

void Document::replaceLines(int first, int count, const QStringList &replacement) {
    replaceLines(first, count, QStringList(replacement));
}

void Document::replaceLines(int first, int count, QStringList &&replacement) {
    const int n = lineCount();
    first = qBound(0, first, n);
    count = qBound(0, count, n - first);
    QByteArray bytes = utf8Lines(replacement);
    replacement = QStringList();
    KeepModified keep(d->editor);
    // Make sure the last line has its line end, so that every replaced line ends with CR LF.
    if (first + count == n && n > 0 && d->editor->lines() == n) {
        const long end = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        replaceRange(d->editor, end, end, QByteArrayLiteral("\r\n"));
    }
    const long from = lineStart(d->editor, first);
    const long to = lineStart(d->editor, first + count);
    replaceRange(d->editor, from, to, bytes);
}

void Document::rewriteLines(const QStringList &newLines) {
    const int line = caretLine();
    const int column = caretColumn();
    beginUndoGroup();
    const long end = d->editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    replaceRange(d->editor, 0, end, utf8Lines(newLines));
    endUndoGroup();
    setModified(true);
    setCaret(qMax(1, qMin(line, qMax(1, lineCount()))), column);
}

void Document::beginUndoGroup() {
    if (d->undoDepth++ == 0)
        d->editor->beginUndoAction();
}

void Document::endUndoGroup() {
    if (d->undoDepth > 0 && --d->undoDepth == 0)
        d->editor->endUndoAction();
}

// --- caret and selection ---------------------------------------------------------

int Document::caretLine() const {
    int line = 0, index = 0;
    d->editor->getCursorPosition(&line, &index);
    return line + 1;
}

int Document::caretColumn() const {
    int line = 0, index = 0;
    d->editor->getCursorPosition(&line, &index);
    const int virt = int(d->editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNCARETVIRTUALSPACE,
                                                  d->editor->SendScintilla(QsciScintillaBase::SCI_GETMAINSELECTION)));
    return index + virt + 1;
}

void Document::setCaret(int line, int column) {
    const int l = qMax(0, line - 1);
    const int lineLen = this->line(l).size();
    const int c = qMax(0, column - 1);
    d->editor->setCursorPosition(l, qMin(c, lineLen));
    if (c > lineLen) {
        const long pos = d->editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
        d->editor->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONNCARET, 0, pos);
        d->editor->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONNANCHOR, 0, pos);
        d->editor->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONNCARETVIRTUALSPACE, 0, c - lineLen);
        d->editor->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONNANCHORVIRTUALSPACE, 0, c - lineLen);
    }
    d->editor->ensureCursorVisible();
    emit statusChanged();
}

bool Document::hasSelection() const { return d->editor->hasSelectedText(); }

void Document::selection(int &lineFrom, int &columnFrom, int &lineTo, int &columnTo) const {
    d->editor->getSelection(&lineFrom, &columnFrom, &lineTo, &columnTo);
    if (lineFrom < 0) {
        lineFrom = lineTo = caretLine();
        columnFrom = columnTo = caretColumn();
        return;
    }
    ++lineFrom, ++columnFrom, ++lineTo, ++columnTo;
}

void Document::setSelection(int lineFrom, int columnFrom, int lineTo, int columnTo) {
    d->editor->setSelection(lineFrom - 1, columnFrom - 1, lineTo - 1, columnTo - 1);
}

QString Document::selectedText() const {
    const int len = int(d->editor->SendScintilla(QsciScintillaBase::SCI_GETSELTEXT, 0ul, static_cast<void *>(nullptr)));
    if (len <= 0)
        return QString();
    QByteArray buf(len + 1, '\0');
    d->editor->SendScintilla(QsciScintillaBase::SCI_GETSELTEXT, 0ul, buf.data());
    return QString::fromUtf8(buf.constData());
}

void Document::replaceSelection(const QString &text) { d->editor->replaceSelectedText(text); }

QString Document::wordAtCaret() const {
    int line = 0, index = 0;
    d->editor->getCursorPosition(&line, &index);
    return d->editor->wordAtLineIndex(line, index);
}

void Document::insertAtCaret(const QString &text) {
    d->editor->SendScintilla(QsciScintillaBase::SCI_REPLACESEL, utf8(text).constData());
}

// --- state -----------------------------------------------------------------------

bool Document::isModified() const { return d->forcedModified || d->editor->isModified(); }

void Document::setModified(bool modified) {
    d->forcedModified = modified;
    if (!modified)
        d->editor->setModified(false);
    emit statusChanged();
}

bool Document::overwriteMode() const { return d->editor->overwriteMode(); }

Highlighter Document::highlighter() const { return d->highlighter; }

void Document::setHighlighter(Highlighter h) {
    d->highlighter = h;
    QsciLexer *old = d->lexer;
    d->lexer = nullptr;
    if (h != Highlighter::None && factoryStore())
        d->lexer = factoryStore()(h, d->editor);
    // setLexer resets fonts and colours: the editor options go on again afterwards.
    const QFont font = d->editor->font();
    const QColor paper = d->editor->paper();
    d->editor->setLexer(d->lexer);
    delete old;
    applyFontAndPaper(font, paper);
}

void Document::applyFontAndPaper(const QFont &font, const QColor &paper) {
    d->editor->setFont(font);
    d->editor->setPaper(paper);
    if (d->lexer) {
        d->lexer->setDefaultPaper(paper);
        d->lexer->setPaper(paper, -1);
        for (int style = 0; style < 128; ++style) {
            QFont f = d->lexer->font(style);
            f.setFamily(font.family());
            f.setPointSize(font.pointSize());
            d->lexer->setFont(f, style);
        }
    }
    d->editor->setMarginsBackgroundColor(paper.darker(105));
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETEXTRAASCENT, 2 + d->extraSpacing / 2);
    d->editor->SendScintilla(QsciScintillaBase::SCI_SETEXTRADESCENT, d->extraSpacing - d->extraSpacing / 2);
}

void Document::setTrimTrailingBlanks(bool on) { d->trim = on; }
void Document::setShowInfoLine(bool on) { d->showInfoLine = on; }
void Document::setExtraSpacing(int pixels) { d->extraSpacing = pixels; }

void Document::trimTrailingBlanks(int index) {
    d->trimLine = -1;
    if (index < 0 || index >= lineCount())
        return;
    const QString t = line(index);
    int end = t.size();
    while (end > 0 && (t[end - 1] == QLatin1Char(' ') || t[end - 1] == QLatin1Char('\t')))
        --end;
    if (end == t.size())
        return;
    d->trimming = true;
    const long from = d->editor->SendScintilla(QsciScintillaBase::SCI_POSITIONRELATIVE, lineStart(d->editor, index), end);
    replaceRange(d->editor, from, lineEndNoEol(d->editor, index), QByteArray());
    d->trimming = false;
}

void Document::checkTrim() {
    if (d->trim && d->trimLine >= 0 && d->trimLine != caretLine() - 1)
        trimTrailingBlanks(d->trimLine);
}

bool Document::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) {
        checkTrim();
        emit statusChanged();
    }
    return QWidget::eventFilter(watched, event);
}

void Document::setLexerFactory(LexerFactory factory) { factoryStore() = std::move(factory); }
const Document::LexerFactory &Document::lexerFactory() { return factoryStore(); }

} // namespace velmora
