#pragma once
// How the calculators write into the active document.
#include <QString>
#include <QStringList>

class QPrinter;

namespace velmora {

class Document;
class Host;

// Writes word W with value V at the caret of the active document (the S and F
// words of the speed and feed calculators); the no-document message when none is open.
void insertWordAtCaret(Host &host, QChar word, const QString &value);

enum class CaretAfterInsert { Keep, LastInserted };
// Inserts whole lines before the caret's line of `doc`, the first taking that
// line's index, marks the document modified and refreshes the status bar.
void insertLinesBeforeCaret(Host &host, Document *doc, const QStringList &lines, CaretAfterInsert caret);

// The Torvel 50 command: runs the generator library and types its lines into
// the active document (a new one when none is open).
void runTorvelCommand(Host &host);

// Prints report lines with a header line: `headerLeft` on the left and the
// page counter "page/pages" on the right. Returns the number of pages.
int printReport(QPrinter *printer, const QString &headerLeft, const QStringList &lines);

// The file-dialog filter of line `index` (0-based) of pripony.ext, or `builtIn`
// when the file lacks it; `error` receives the reason when the file cannot be read.
QString geometryFilter(int index, const QString &builtIn, QString *error);

} // namespace velmora
