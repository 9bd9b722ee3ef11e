#include "calculators/widgets/insert.h"

#include "calculators/logic/cutting.h"
#include "calculators/logic/torvel.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

namespace velmora {

void insertWordAtCaret(Host &host, QChar word, const QString &value) {
    Document *doc = host.requireDocument();
    if (!doc)
        return;
    const int caretLine = doc->caretLine(), caretColumn = doc->caretColumn();
    const int index = caretLine - 1;
    const QString line = doc->line(index);
    const QString changed = calc::insertWord(line, doc->wordAtCaret(), caretColumn, word, value);
    if (index >= doc->lineCount())
        doc->insertLine(doc->lineCount(), changed); // an empty document gets its first line
    else
        doc->replaceLine(index, changed);
    doc->setCaret(caretLine, caretColumn);
    // The line changed: the document must ask to be saved, or the change is lost on closing.
    doc->setModified(true);
    host.updateStatusBar();
}

void insertLinesBeforeCaret(Host &host, Document *doc, const QStringList &lines, CaretAfterInsert caret) {
    const int caretLine = doc->caretLine();
    const int caretColumn = doc->caretColumn();
    const int at = qMin(caretLine - 1, doc->lineCount());
    for (int i = 0; i < lines.size(); ++i)
        doc->insertLine(at + i, lines[i]);
    if (caret == CaretAfterInsert::LastInserted && !lines.isEmpty())
        doc->setCaret(at + int(lines.size()), caretColumn);
    else
        doc->setCaret(caretLine, caretColumn);
    doc->setModified(true);
    host.updateStatusBar();
}

void runTorvelCommand(Host &host) {
    const calc::TorvelRun run = calc::runTorvel(calc::torvelLibraryPath());
    if (run.status == calc::TorvelRun::NotLoaded) {
        host.userIO().error(calc::torvelMissingText());
        return;
    }
    if (run.status != calc::TorvelRun::Done)
        return; // a library without the generator's entries
    Document *doc = host.activeDocument();
    if (!doc)
        doc = host.newDocument();
    if (!doc)
        return;
    const int caretLine = doc->caretLine();
    const int at = qMin(caretLine - 1, doc->lineCount());
    doc->beginUndoGroup();
    for (int i = 0; i < run.lines.size(); ++i) {
        doc->insertLine(at + i, QString());
        doc->setCaret(at + i + 1, 1);
        doc->insertAtCaret(run.lines[i]);
    }
    doc->endUndoGroup();
    doc->setCaret(caretLine, 1);
    host.updateStatusBar();
}

int printReport(QPrinter *printer, const QString &headerLeft, const QStringList &lines) {
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double lineHeight = painter.fontMetrics().lineSpacing();
    const int perPage = qMax(1, int((area.height() - 2 * lineHeight) / lineHeight));
    const int pages = qMax(1, int((lines.size() + perPage - 1) / perPage));
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer->newPage();
        const QRectF header(area.left(), area.top(), area.width(), lineHeight);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, headerLeft);
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1/%2").arg(p + 1).arg(pages));
        double y = area.top() + 2 * lineHeight;
        for (int i = p * perPage; i < qMin(int(lines.size()), (p + 1) * perPage); ++i) {
            painter.drawText(QPointF(area.left(), y + painter.fontMetrics().ascent()), lines[i]);
            y += lineHeight;
        }
    }
    painter.end();
    return pages;
}

QString geometryFilter(int index, const QString &builtIn, QString *error) {
    const QString path = programFile(QStringLiteral("pripony.ext"));
    const LoadResult r = loadTextFile(path);
    if (!r.ok) {
        if (error)
            *error = r.error.isEmpty() ? QStringLiteral("%1: the file cannot be read").arg(path) : r.error;
        return builtIn;
    }
    if (index < r.lines.size() && !r.lines[index].trimmed().isEmpty())
        return r.lines[index];
    return builtIn;
}

} // namespace velmora
