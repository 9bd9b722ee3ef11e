#include "tooltables/widgets/install.h"

#include "common/language.h"
#include "common/numbers.h"
#include "common/textfile.h"
#include "common/programfolder.h"
#include "shell/logic/setup.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"
#include "tooltables/logic/toolsheet.h"
#include "tooltables/widgets/lineprinter.h"
#include "tooltables/widgets/tablepanel.h"
#include "tooltables/widgets/toollisttree.h"
#include "tooltables/widgets/toolsheetwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QVBoxLayout>

namespace velmora {

namespace {

ToolTableProjectHooks &projectHooks() {
    static ToolTableProjectHooks hooks;
    return hooks;
}

bool projectIsOpen() { return projectHooks().projectOpen && projectHooks().projectOpen(); }

QString message(const char *key) { return toolTablesMessage(key); }
QString message(const char *key, const QString &arg) { return message(key).replace(QLatin1String("%s"), arg); }

// The tool tables' own texts, the same whatever the language file.
const QString kNotTable = QStringLiteral("Soubor není typu TNC.");
const QString kNumberLow = QStringLiteral("Nelze zadat číslo menší,rovno nule !");
const QString kNumberHigh = QStringLiteral("Nelze zadat číslo větší než sto !");
const QString kToolCount = QStringLiteral("Počet nástrojů :");
const QString kWrongColumns = QStringLiteral(
    "Soubor %1 nelze otevřít: v záhlaví sloupců (řádek 2) není \"%2\" ve sloupci %3, kde má tento formát tabulky svůj "
    "sloupec. Tabulka jiného uspořádání se neupravuje, aby se nic nezapsalo do nesprávných sloupců.");

// Courier New bold, 16 screen pixels high (12 points).
QFont printerFont() { return courierFont(12, true); }

class ToolTablesController : public QObject {
public:
    explicit ToolTablesController(Host &host);

    void openToolTableFile(const QString &path);
    bool newTable();
    bool saveTable();
    void insertLine();
    void deleteLine();
    void printTnc();
    bool newTable530();
    bool saveTable530();
    void listTools(int which);
    void moveIntoTable();
    void loadList();
    void saveList();
    void printList();
    bool mayClose();

private:
    UserIO &io() { return host_.userIO(); }
    // A number that is no integer ends the command with the conversion message.
    bool readToolNumber(const QString &text, int &n) {
        try {
            n = parseInteger(text);
            return true;
        } catch (const ConversionError &e) {
            io().error(e.message());
            return false;
        }
    }
    ToolTablePanel *panelFor(ToolTableKind kind) { return kind == ToolTableKind::Tnc407 ? p407_ : p530_; }
    QAction *toggleFor(ToolTableKind kind) {
        return host_.action(kind == ToolTableKind::Tnc407 ? QStringLiteral("ToolTable") : QStringLiteral("ToolTable530"));
    }
    // The lines of a table file or template, with the messages of a bad one.
    bool readTable(const QString &path, QStringList &lines, ToolTableKind *kind = nullptr);
    // Before another table replaces the one in the panel: Yes saves it, No drops
    // the changes, Cancel keeps it. False when the panel's table is to stay.
    bool mayReplace(ToolTableKind kind);
    // `byUser`: the save command itself (a new table's first save is not).
    bool save(ToolTableKind kind, bool byUser = true);
    bool createFromTemplate(ToolTableKind kind);
    void show(ToolTableKind kind);

    Host &host_;
    ToolTablePanel *p407_;
    ToolTablePanel *p530_;
    ToolListTree *tree_;
    TFTisk *preview_;
};

ToolTablesController::ToolTablesController(Host &host) : QObject(&host), host_(host) {
    QMainWindow *main = host.mainWindow();
    for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
        auto *p = new ToolTablePanel(kind, main);
        main->addDockWidget(Qt::RightDockWidgetArea, p);
        p->setFloating(true);
        p->setFolded(true); // collapsed and hidden at start
        p->hide();
        p->warning = [this](const QString &t) { io().message(MessageKind::Warning, t, kOk); };
        QAction *toggle = toggleFor(kind);
        toggle->setCheckable(true);
        toggle->setChecked(false);
        connect(p, &ToolTablePanel::shownChanged, toggle, &QAction::setChecked);
        connect(toggle, &QAction::triggered, p, [p](bool checked) {
            if (checked)
                p->bringUp();
            else
                p->hide();
        });
        toggle->setEnabled(true);
        (kind == ToolTableKind::Tnc407 ? p407_ : p530_) = p;
    }

    QWidget *page = host.sourcePage(SourcePage::Tools);
    tree_ = new ToolListTree(page);
    if (page) {
        if (!page->layout())
            new QVBoxLayout(page);
        page->layout()->addWidget(tree_);
    }
    QMenu *menu = tree_->contextMenu();
    const auto item = [&](const char *name, const char *caption, auto handler) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [handler] { handler(); });
        return a;
    };
    item("PUMNEdit", "Upravit", [this] { tree_->editSelected(); });
    item("PUMNInsert", "Vložit", [this] {
        QString text;
        if (io().inputText(QStringLiteral("Vložení"), QStringLiteral("Zadej text"), text))
            tree_->insertBeforeSelected(text);
    });
    item("PUMNDel", "Smazat", [this] { tree_->deleteSelected(); });
    menu->addSeparator();
    item("PUMNMove", "Přesunout vše do tabulek nastr.", [this] { moveIntoTable(); });
    menu->addSeparator();
    item("PUMNOpenFromFile", "Načíst ze souboru", [this] { loadList(); });
    item("PUMNSaveToFile", "Uložit do souboru", [this] { saveList(); });
    item("PUMNPrint", "Tisk", [this] { printList(); });
    connect(menu, &QMenu::aboutToShow, tree_, [this] { applyToolTablesTexts(tree_); });

    preview_ = new TFTisk(main);

    // Commands that ask the user run as they are (no busy cursor over their
    // dialogs); the listings are long work and run through runCommand.
    const auto command = [&](const QString &name, auto handler, bool longWork = false) {
        QAction *a = host.action(name);
        connect(a, &QAction::triggered, this, [this, handler, longWork] {
            if (longWork)
                host_.runCommand([handler] { handler(); });
            else
                handler();
        });
        a->setEnabled(true);
        return a;
    };
    command(QStringLiteral("NewTable"), [this] { newTable(); });
    command(QStringLiteral("SaveTable"), [this] { saveTable(); });
    command(QStringLiteral("InsertLine"), [this] { insertLine(); });
    command(QStringLiteral("DeleteLine"), [this] { deleteLine(); });
    command(QStringLiteral("PrintTnc"), [this] { printTnc(); });
    command(QStringLiteral("NewTable530"), [this] { newTable530(); });
    command(QStringLiteral("SaveTable530"), [this] { saveTable530(); });
    command(QStringLiteral("WriteToolIntoPanelMazak"), [this] { listTools(0); }, true);
    command(QStringLiteral("WriteToolIntoPanelHeiden"), [this] { listTools(1); }, true);
    QAction *noFormat = command(QStringLiteral("PUPMENoFormat"), [this] { listTools(2); }, true);
    noFormat->setText(QStringLiteral("Vypsat nástroje do panelu - neformatované"));
    if (QMenu *editorMenu = host.menu(QStringLiteral("EditorMenu"))) {
        if (!editorMenu->actions().contains(noFormat))
            editorMenu->addAction(noFormat);
    }

    host.setToolTableOpener([this](const QString &path) { openToolTableFile(path); });
    host.addCloseQuestion([this] { return mayClose(); });
}

bool ToolTablesController::readTable(const QString &path, QStringList &lines, ToolTableKind *kind) {
    const ToolTableFile f = readToolTableFile(path);
    if (kind)
        *kind = f.kind;
    if (!f.readable) {
        io().error(message("TncReadError", path) + QLatin1Char('\n') + f.readError);
        return false;
    }
    if (f.problem == TableProblem::NotTable) {
        io().error(kNotTable);
        return false;
    }
    if (f.problem == TableProblem::TooShort) {
        io().error(message("TncShortTable", QString::number(f.lines.size())));
        return false;
    }
    if (f.problem == TableProblem::WrongColumns) {
        // Another layout would be edited in the wrong columns: such a table is not opened, so never written.
        const ColumnMismatch m = columnMismatch(f.lines, f.kind);
        io().error(languageText(QStringLiteral("Messages"), QStringLiteral("TncWrongColumns"), kWrongColumns)
                       .arg(QDir::toNativeSeparators(path), m.heading)
                       .arg(m.column));
        return false;
    }
    lines = f.lines;
    return true;
}

bool ToolTablesController::mayReplace(ToolTableKind kind) {
    ToolTablePanel *p = panelFor(kind);
    p->storeRows();
    if (!p->session().isModified())
        return true;
    switch (io().confirmCancel(message("NoTable"))) {
    case Answer::Yes:
        return save(kind);
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void ToolTablesController::show(ToolTableKind kind) {
    ToolTablePanel *p = panelFor(kind);
    p->refreshTableName();
    p->showRows();
    p->bringUp();
    toggleFor(kind)->setChecked(true);
}

void ToolTablesController::openToolTableFile(const QString &path) {
    // The size tells the formats apart, whatever the extension.
    ToolTableKind kind = ToolTableKind::Itnc530;
    QStringList lines;
    if (!readTable(path, lines, &kind) || !mayReplace(kind))
        return;
    panelFor(kind)->session().open(lines);
    show(kind);
}

bool ToolTablesController::createFromTemplate(ToolTableKind kind) {
    const bool t407 = kind == ToolTableKind::Tnc407;
    const QString name = t407 ? QStringLiteral("0000.tnc") : QStringLiteral("tool.t");
    const QString path = programFile(name);
    if (!QFileInfo::exists(path)) {
        io().error(QStringLiteral("Nebyl nalezen soubor \"%1\" v \r").arg(name) + programFolder());
        return false;
    }
    QStringList lines;
    if (!readTable(path, lines) || !mayReplace(kind))
        return false;
    ToolTableSession &s = panelFor(kind)->session();
    s.create(lines, t407 ? QStringLiteral("0000.tnc") : QStringLiteral("TOOL"));
    panelFor(kind)->showRows();
    // With a project open the new table is saved at once and becomes a project entry.
    if (projectIsOpen() && save(kind, false) && projectHooks().addEntry)
        projectHooks().addEntry(s.savedPath());
    show(kind);
    s.setModified(false);
    return true;
}

bool ToolTablesController::newTable() { return createFromTemplate(ToolTableKind::Tnc407); }
bool ToolTablesController::newTable530() { return createFromTemplate(ToolTableKind::Itnc530); }
bool ToolTablesController::saveTable() { return save(ToolTableKind::Tnc407); }
bool ToolTablesController::saveTable530() { return save(ToolTableKind::Itnc530); }

bool ToolTablesController::save(ToolTableKind kind, bool byUser) {
    ToolTablePanel *p = panelFor(kind);
    ToolTableSession &s = p->session();
    if (!s.isLoaded())
        return false;
    p->storeRows();
    QString proposed = s.tableName();
    if (!s.savedPath().isEmpty())
        proposed = QFileInfo(s.savedPath()).absoluteDir().filePath(proposed);
    const QString chosen = io().saveFileName(QStringLiteral("Uložení tabulky nástrojů"),
                                             kind == ToolTableKind::Tnc407
                                                 ? QStringLiteral("Tabulka nástrojů (*.tnc)|*.tnc")
                                                 : QStringLiteral("Tabulka nástrojů iTNC 530 (*.t)|*.t"),
                                             proposed);
    if (chosen.isEmpty())
        return false;
    const QString path = ToolTableSession::savePath(chosen, kind);
    // The dialog asked about the name chosen; a file under the changed name was not asked about.
    if (path != chosen && QFileInfo::exists(path) && !io().confirm(message("Save1", path)))
        return false;
    const QString previousName = s.tableName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ToolTableSession::SaveOutcome out = s.save(path);
    QApplication::restoreOverrideCursor();
    if (!out.ok) {
        QString detail = out.result.error;
        if (out.result.badLine >= 0)
            detail = message("TncSaveChar", QString::number(out.result.badLine + 1));
        io().error(QStringLiteral("Chyba při ukládání souboru.") + QLatin1Char('\n') + detail);
        return false;
    }
    if (out.nameCut)
        p->showMessage(message("TncTableNameCut", QString::number(s.table().layout().tableNameWidth)));
    p->refreshTableName();
    if (byUser && projectIsOpen() && projectHooks().renameEntry)
        projectHooks().renameEntry(previousName, path);
    io().information(message("Save6", path));
    return true;
}

void ToolTablesController::insertLine() {
    ToolTablePanel *p = p407_;
    if (!p->session().isLoaded())
        return;
    p->storeRows();
    QString text;
    if (!io().inputText(QStringLiteral("Vložit"), QStringLiteral("Zadej číslo vkládané řádky"), text))
        return;
    int n = 0;
    if (!readToolNumber(text, n))
        return;
    switch (checkToolNumber(n)) {
    case ToolNumberProblem::NotPositive:
        io().error(kNumberLow);
        return;
    case ToolNumberProblem::AboveHundred:
        io().error(kNumberHigh);
        return;
    case ToolNumberProblem::None:
        break;
    }
    p->session().insertTool(n);
    p->showRows();
}

void ToolTablesController::deleteLine() {
    ToolTablePanel *p = p407_;
    if (!p->session().isLoaded())
        return;
    p->storeRows();
    QString text;
    if (!io().inputText(QStringLiteral("Zrušit"), QStringLiteral("Zadej číslo rušené řádky"), text))
        return;
    int n = 0;
    if (!readToolNumber(text, n))
        return;
    switch (checkToolNumber(n)) {
    case ToolNumberProblem::NotPositive:
        io().error(kNumberLow);
        return;
    case ToolNumberProblem::AboveHundred:
        io().error(kNumberHigh);
        return;
    case ToolNumberProblem::None:
        break;
    }
    p->session().deleteTool(n);
    p->showRows();
}

void ToolTablesController::printTnc() {
    ToolTablePanel *p = p407_;
    if (!p->session().isLoaded())
        return;
    p->storeRows();
    Document *doc = host_.activeDocument();
    const ToolSheet sheet = toolSheet(p->session().table(), p->session().tableName(), doc ? doc->caption() : QString());
    applyToolTablesTexts(preview_);
    QString caption = preview_->windowTitle();
    if (sheet.toolCount > 0)
        caption = kToolCount + QString::number(sheet.toolCount);
    else if (caption.startsWith(kToolCount))
        caption = QStringLiteral("Tisk"); // no count left over from an earlier sheet
    preview_->setWindowTitle(caption);
    preview_->setLines(sheet.lines);
    // OK asks for the printer with the preview still open; it closes once the sheet is printed.
    preview_->onOk = [this] {
        QPrinter printer;
        if (!runPrintDialog(printer, preview_))
            return false;
        TUCLinePrinter lp;
        lp.Lines = preview_->lines();
        lp.Font = printerFont();
        lp.WordWrap = false;
        lp.PrintLines(printer);
        return true;
    };
    runToolSheetPreview(*preview_);
    preview_->onOk = {};
    preview_->hide();
}

void ToolTablesController::listTools(int which) {
    host_.showSourcePage(SourcePage::Tools);
    Document *doc = host_.requireDocument();
    if (!doc)
        return;
    const QStringList lines = doc->lines();
    QString name = QFileInfo(doc->filePath()).fileName();
    if (name.isEmpty())
        name = doc->caption();
    const ToolListOptions o = toolListOptionsFromSettings();
    if (which == 0) {
        tree_->addListing(mazakListing(lines, name, o));
    } else if (which == 1) {
        QSet<QString> listed;
        for (const ToolListItem &item : tree_->items())
            addToolWords(item.text, listed);
        tree_->addListing(heidenhainListing(lines, name, o, [&](const QString &w) { return listed.contains(w); }));
    } else {
        tree_->addListing(unformattedListing(lines, name));
    }
}

void ToolTablesController::moveIntoTable() {
    // An empty list still gives the new table.
    const QStringList nodes = tree_->nodeTexts();
    if (!newTable())
        return;
    const int cut = p407_->session().moveToolList(nodes);
    p407_->refreshTableName();
    p407_->showRows();
    if (cut > 0)
        p407_->showMessage(message("TncMoveCut", QString::number(cut)));
}

void ToolTablesController::loadList() {
    const QString filter = dialogFilter(4, message("ToolListFilter"));
    const QAction *a = tree_->contextMenu()->findChild<QAction *>(QStringLiteral("PUMNOpenFromFile"));
    const QString path = io().openFileName(a ? a->text() : QString(), filter);
    if (path.isEmpty())
        return;
    const LoadResult r = loadTextFile(path);
    if (!r.ok) {
        io().error(message("ToolListReadError", path) + QLatin1Char('\n') + r.error);
        return;
    }
    QList<ToolListItem> items;
    QString error;
    if (!parseToolListFile(r.lines, items, &error)) {
        io().error(error);
        return;
    }
    tree_->setItems(items);
    host_.showSourcePage(SourcePage::Tools);
}

void ToolTablesController::saveList() {
    const QString filter = dialogFilter(4, message("ToolListFilter"));
    const QAction *a = tree_->contextMenu()->findChild<QAction *>(QStringLiteral("PUMNSaveToFile"));
    const QString path = io().saveFileName(a ? a->text() : QString(), filter);
    if (path.isEmpty())
        return;
    QString error;
    if (!tree_->saveToFile(path, &error))
        io().error(message("ToolListWriteError", path) + QLatin1Char('\n') + error);
}

void ToolTablesController::printList() {
    const QStringList lines = tree_->nodeTexts();
    if (lines.isEmpty())
        return;
    QPrinter printer;
    if (!runPrintDialog(printer, tree_))
        return;
    TUCLinePrinter lp;
    lp.Lines = lines;
    lp.Font = courierFont(12, false);
    lp.WordWrap = false;
    lp.PrintLines(printer);
}

bool ToolTablesController::mayClose() {
    // The iTNC 530 table is asked about too: closing would lose its edits as well.
    for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
        ToolTablePanel *p = panelFor(kind);
        p->storeRows();
        if (!p->session().isModified())
            continue;
        const Answer a = io().confirmCancel(message("NoTable"));
        if (a == Answer::Yes) {
            // A save that is cancelled or fails keeps the program open with the table.
            if (!save(kind))
                return false;
        } else if (a != Answer::No) {
            return false;
        }
    }
    return true;
}

} // namespace

void installToolTables(Host &host) { new ToolTablesController(host); }

void setToolTableProjectHooks(ToolTableProjectHooks hooks) { projectHooks() = std::move(hooks); }

} // namespace velmora
