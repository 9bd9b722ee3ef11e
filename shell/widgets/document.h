#pragma once
// A document: one tab of the editing area with its QScintilla editor.
//
// The line list counts lines from 0 (line index = caret line - 1); the caret
// and the selection count lines and columns from 1. A line end at the end of
// the text does not start another line.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QColor;
class QFont;
class QObject;
class QsciLexer;
class QsciScintilla;

namespace velmora {

enum class Highlighter { None = 0, ISO = 1, ISO2 = 2, Dialog = 3 };

class Document : public QWidget {
    Q_OBJECT
public:
    explicit Document(QWidget *parent = nullptr);
    ~Document() override;

    QsciScintilla *editor() const;

    QString caption() const;
    void setCaption(const QString &caption);
    QString filePath() const; // empty for a document never saved
    void setFilePath(const QString &path);

    // --- line list -------------------------------------------------------
    int lineCount() const;
    QString line(int index) const;
    QStringList lines() const;
    QString text() const;                  // every line followed by CR LF
    void replaceLine(int index, const QString &text);
    void insertLine(int index, const QString &text); // index == lineCount() appends
    void deleteLine(int index);
    void clear();
    // Replaces every line at once (one edit, one undo step).
    void setLines(const QStringList &lines);
    // Sets the whole text from UTF-8 with CR LF line ends, as a file is opened: no undo step, not modified.
    void loadUtf8Text(const QByteArray &utf8);
    // Replaces lines [first, first + count) by `replacement` as one edit.
    void replaceLines(int first, int count, const QStringList &replacement);
    // The same, emptying `replacement` before the edit so that its memory is free again.
    void replaceLines(int first, int count, QStringList &&replacement);
    // Whether line `index` holds exactly `text` (compared without copying the line).
    bool lineEquals(int index, QStringView text) const;

    // A bulk rewrite as the commands do it: one undo step, modified flag set,
    // the caret kept on its line where possible.
    void rewriteLines(const QStringList &lines);

    // Groups edits into one undo step (nests).
    void beginUndoGroup();
    void endUndoGroup();

    // --- caret and selection (1-based) ------------------------------------
    int caretLine() const;
    int caretColumn() const;
    void setCaret(int line, int column); // scrolls it into view
    bool hasSelection() const;
    void selection(int &lineFrom, int &columnFrom, int &lineTo, int &columnTo) const;
    void setSelection(int lineFrom, int columnFrom, int lineTo, int columnTo);
    QString selectedText() const;          // also for column selections
    void replaceSelection(const QString &text);
    QString wordAtCaret() const;
    // Types text at the caret as the user would (undoable, sets the modified flag).
    void insertAtCaret(const QString &text);

    // --- state ------------------------------------------------------------
    bool isModified() const;
    void setModified(bool modified);
    bool overwriteMode() const;

    // Editor options, set up from the settings by ReadIniSetings.
    void applyFontAndPaper(const QFont &font, const QColor &paper);
    void setTrimTrailingBlanks(bool on);
    void setShowInfoLine(bool on);
    void setExtraSpacing(int pixels);
    // Removes the blanks and tabs at the end of line `index`.
    void trimTrailingBlanks(int index);

    Highlighter highlighter() const;
    void setHighlighter(Highlighter h);

    // Makes the lexer of a highlighter (installed by the highlighting subsystem);
    // without a factory, or when it returns null, the document has no colouring.
    using LexerFactory = std::function<QsciLexer *(Highlighter, QObject *parent)>;
    static void setLexerFactory(LexerFactory factory);
    static const LexerFactory &lexerFactory();

signals:
    // caret moved, insert mode toggled, modified flag changed, or everything at once
    void statusChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkTrim();
    struct Private;
    Private *d;
};

} // namespace velmora
