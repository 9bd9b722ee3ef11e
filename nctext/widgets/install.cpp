#include "nctext/widgets/install.h"

#include "nctext/logic/coordinates.h"
#include "nctext/logic/renumber.h"
#include "nctext/widgets/commands.h"
#include "nctext/widgets/dialogs.h"
#include "nctext/widgets/radiogroup.h"
#include "nctext/widgets/search.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>

namespace velmora {

namespace {

// The coordinate check and the coordinate edit speak with texts of their own, whatever the language file.
QString coordinateError(QChar letter) {
    const bool parameter = letter == u'I' || letter == u'J' || letter == u'K';
    return (parameter ? QStringLiteral("Chyba parametru %1 na : ") : QStringLiteral("Chyba souřadnice %1 na : ")).arg(letter);
}
const char *const kContinueCheck = "Pokračovat ?";
const char *const kCoordinatesOk = "OK chyba nenalezena v žádnem XYZRIJK.";
const char *const kEditCaption = "Editace souřadnice ";
const char *const kEditPrompt = "Prodloužit, zkrátit o :";

void connectAction(Host &host, const char *name, QObject *context, std::function<void()> handler) {
    QAction *a = host.action(QString::fromLatin1(name));
    if (!a)
        return;
    QObject::connect(a, &QAction::triggered, context, [handler] { handler(); });
    a->setEnabled(true);
}

} // namespace

void writeBackLines(Document *doc, QStringList &&after) {
    // The changed range is found against the document itself, so no copy of
    // the old lines is kept while the new ones are written.
    const qsizetype n = doc->lineCount();
    qsizetype first = 0;
    const qsizetype common = std::min(n, after.size());
    while (first < common && doc->lineEquals(int(first), after.at(first)))
        ++first;
    qsizetype endBefore = n, endAfter = after.size();
    while (endBefore > first && endAfter > first && doc->lineEquals(int(endBefore - 1), after.at(endAfter - 1)))
        --endBefore, --endAfter;
    if (first < endBefore || first < endAfter) {
        const int line = doc->caretLine(), column = doc->caretColumn();
        QStringList changed = after.mid(first, endAfter - first);
        after = QStringList();
        doc->beginUndoGroup();
        doc->replaceLines(int(first), int(endBefore - first), std::move(changed));
        doc->endUndoGroup();
        doc->setCaret(qMax(1, qMin(line, doc->lineCount())), column);
    }
    doc->setModified(true);
}

NcTextCommands::NcTextCommands(Host &host) : QObject(&host), host_(host) {
    QWidget *main = host.mainWindow();
    precislovani_ = new TFPrecislovani(host.userIO(), main);
    spacing_ = new TFSpacing(main);
    compare_ = new TFCompare(host.userIO(), main);
    search_ = new TextSearch(host, this);
}

void NcTextCommands::RenumberExecute() {
    Document *doc = host_.requireDocument();
    if (!doc || precislovani_->exec() != QDialog::Accepted)
        return;
    renumberDocument(host_, doc, precislovani_->options(), precislovani_->selectionOnly());
}

void renumberDocument(Host &host, Document *doc, const RenumberOptions &o, bool selectionOnly) {
    host.runCommand([&] {
        QStringList lines = doc->lines();
        int from = 0, to = int(lines.size()) - 1;
        if (selectionOnly && o.page != RenumberPage::Heidenhain) {
            // The selected lines, or the caret line when nothing is selected.
            int l1, c1, l2, c2;
            doc->selection(l1, c1, l2, c2);
            from = std::min(l1, l2) - 1;
            to = std::max(l1, l2) - 1;
        }
        renumber(lines, o, from, to);
        writeBackLines(doc, std::move(lines));
        host.updateStatusBar();
    });
}

void NcTextCommands::SpacingExecute() {
    Document *doc = host_.requireDocument();
    if (!doc || spacing_->exec() != QDialog::Accepted)
        return;
    const QString blanks = spacing_->Edit971->text();
    const EndMarker to = endMarkerFromIndex(spacing_->RadioGroup1->itemIndex());
    host_.runCommand([&] {
        QStringList lines = doc->lines();
        applySpacing(lines, blanks, to);
        writeBackLines(doc, std::move(lines));
        host_.updateStatusBar();
    });
}

void NcTextCommands::ConltrolXYZExecute() {
    Document *doc = host_.requireDocument();
    if (!doc)
        return;
    QList<CoordinateFinding> findings;
    QStringList lines;
    host_.runCommand([&] {
        lines = doc->lines();
        findings = checkCoordinates(lines);
    });
    UserIO &io = host_.userIO();
    for (const CoordinateFinding &f : findings) {
        io.message(MessageKind::Plain, coordinateError(f.letter) + lines.at(f.line), kOk);
        doc->setCaret(f.line + 1, doc->caretColumn());
        if (!io.confirm(QString::fromUtf8(kContinueCheck)))
            return;
    }
    if (findings.isEmpty())
        io.information(QString::fromUtf8(kCoordinatesOk));
}

void NcTextCommands::AddExecute() {
    Document *doc = host_.requireDocument();
    if (!doc)
        return;
    const int index = doc->caretLine() - 1;
    const QString line = doc->line(index);
    const QString word = wordAt(line, doc->caretColumn() - 1, doc->highlighter() != Highlighter::None);
    QString amount;
    if (!host_.userIO().inputText(QString::fromUtf8(kEditCaption) + word, QString::fromUtf8(kEditPrompt), amount) || amount.isEmpty())
        return;
    host_.runCommand([&] {
        const QString changed = editCoordinate(line, word, amount);
        const int column = doc->caretColumn();
        doc->beginUndoGroup();
        doc->replaceLines(index, 1, {changed});
        doc->endUndoGroup();
        doc->setCaret(index + 1, column);
        doc->setModified(true);
        host_.updateStatusBar();
    });
}

void NcTextCommands::FileCompareExecute() { compare_->exec(); }

NcTextCommands *installNcText(Host &host) {
    auto *c = new NcTextCommands(host);
    connectAction(host, "Renumber", c, [c] { c->RenumberExecute(); });
    connectAction(host, "Spacing", c, [c] { c->SpacingExecute(); });
    connectAction(host, "ConltrolXYZ", c, [c] { c->ConltrolXYZExecute(); });
    connectAction(host, "Add", c, [c] { c->AddExecute(); });
    connectAction(host, "FileCompare", c, [c] { c->FileCompareExecute(); });
    connectAction(host, "Find", c, [c] { c->textSearch()->find(); });
    connectAction(host, "FindNextText", c, [c] { c->textSearch()->findNext(); });
    connectAction(host, "Replace", c, [c] { c->textSearch()->replace(); });
    return c;
}

} // namespace velmora
