#include "shell/widgets/tfeditor.h"

#include "common/colour.h"
#include "common/language.h"
#include "common/numbers.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "shell/logic/setup.h"
#include "shell/widgets/host.h"
#include "shell/widgets/icons.h"
#include "shell/widgets/locks.h"
#include "shell/widgets/qtuserio.h"
#include "shell/widgets/tfaboutreg.h"
#include "shell/widgets/tfshow.h"
#include "templates/logic/templateset.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <malloc.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

struct CommandRow {
    QString name, caption, shortcut, hint;
};

const QList<CommandRow> &commandTable() {
    static const QList<CommandRow> rows = {
#include "shell/widgets/commands.inc"
    };
    return rows;
}

struct ContainerRow {
    QString name, caption;
};

QString containerCaption(const QString &name) {
    static const QList<ContainerRow> rows = {
#include "shell/widgets/containers.inc"
    };
    for (const ContainerRow &r : rows)
        if (r.name == name)
            return r.caption;
    return name;
}

// The commands this window carries out itself; every other command waits for its subsystem.
const QStringList &ownCommands() {
    static const QStringList names = {
        u"New"_s, u"Open"_s, u"Save"_s, u"SaveTo"_s, u"SaveAll"_s, u"CloseOne"_s, u"CloseAll"_s, u"Konec"_s,
        u"Undo"_s, u"Redo"_s, u"Cut"_s, u"CopyA"_s, u"Paste"_s, u"SelectAll"_s, u"NormalniVyber"_s,
        u"SloupcovyVyber"_s, u"RadkovyVyber"_s, u"ViewToolBar1"_s, u"ViewToolBar2"_s, u"ViewToolBar3"_s,
        u"ViewToolBar5"_s, u"PanelZdroju"_s, u"Funkce"_s, u"MSpecialChars"_s, u"MRemoveLeftChars"_s,
        u"SyntaxeISO"_s, u"SyntaxeISO2"_s, u"SyntaxeDialog"_s, u"SyntaxeNone"_s, u"Help"_s, u"About"_s,
        u"MailAutor"_s, u"HomePage"_s, u"SmazatSeznam"_s};
    return names;
}

// Messages that may come before any language file is in force carry a text of their own.
const QString kMissingFileText = u"Chybí soubor %1."_s;
const QString kReadErrorText = u"Soubor %1 nelze otevřít: %2"_s;

const char *kMailAddress = "mailto:autor@velmora.example";
const char *kHomePage = "https://velmora.example/";

// Prirazeni: 0 ISO, 1 ISO2, 2 Dialog, 3 none.
Highlighter highlighterOfChoice(int choice) {
    switch (choice) {
    case 0: return Highlighter::ISO;
    case 1: return Highlighter::ISO2;
    case 2: return Highlighter::Dialog;
    default: return Highlighter::None;
    }
}

QString highlighterStatus(Highlighter h) {
    switch (h) {
    case Highlighter::ISO: return u"ISO"_s;
    case Highlighter::ISO2: return u"ISO 2"_s;
    case Highlighter::Dialog: return u"Dialog"_s;
    default: return QString();
    }
}

QColor qcolor(ColorValue v) {
    if (isSystemColor(v))
        return QApplication::palette().color(QPalette::Base);
    return QColor(colorRed(v), colorGreen(v), colorBlue(v));
}

// A folder field shows the folder the stored value stands for; the stored
// value stays in the settings as long as the field still shows that folder.
void showStoredFolder(QLineEdit *field, const QString &stored) {
    field->setProperty("velmoraStored", stored);
    field->setText(QDir::toNativeSeparators(localFolder(stored)));
}

QString folderToStore(const QLineEdit *field) {
    const QString stored = field->property("velmoraStored").toString();
    const QString shown = QDir::cleanPath(QDir::fromNativeSeparators(field->text().trimmed()));
    if (shown == QDir::cleanPath(localFolder(stored)))
        return stored;
    return field->text();
}

// The folder tree shows that it takes files dragged from the file list; dropping them does nothing more.
class FolderTree : public QTreeView {
public:
    using QTreeView::QTreeView;
    QWidget *source = nullptr;

protected:
    void dragEnterEvent(QDragEnterEvent *e) override {
        if (e->source() == source)
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent *e) override {
        if (e->source() == source)
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dropEvent(QDropEvent *e) override { e->acceptProposedAction(); }
};

} // namespace

class MainHost : public Host {
public:
    explicit MainHost(TFEditor *w) : w_(w) {
        connect(w, &TFEditor::activeDocumentChanged, this, &Host::activeDocumentChanged);
        connect(w, &TFEditor::documentOpened, this, &Host::documentOpened);
    }
    QMainWindow *mainWindow() override { return w_; }
    QAction *action(const QString &name) override { return w_->action(name); }
    QMenu *menu(const QString &name) override { return w_->menuByName(name); }
    QWidget *sourcePage(SourcePage page) override { return w_->sourcePage(int(page)); }
    void showSourcePage(SourcePage page) override;
    Document *activeDocument() override { return w_->activeDocument(); }
    QList<Document *> documents() override { return w_->documents(); }
    Document *requireDocument() override {
        Document *doc = w_->activeDocument();
        if (!doc)
            w_->userIO().error(languageText(u"Messages"_s, u"NoProgram"_s));
        return doc;
    }
    Document *newDocument() override { return w_->newDocument(); }
    Document *openDocument(const QString &path) override { return w_->openDocument(path); }
    void addRecentFile(const QString &path) override { w_->addRecentFile(path); }
    void updateStatusBar() override { w_->updateStatusBar(); }
    void setToolTableOpener(std::function<void(const QString &)> opener) override { w_->setToolTableOpener(std::move(opener)); }
    void openToolTableFile(const QString &path) override;
    void addCloseQuestion(std::function<bool()> mayClose) override { w_->addCloseQuestion(std::move(mayClose)); }
    void addShutdownStep(std::function<void()> step) override { w_->addShutdownStep(std::move(step)); }
    UserIO &userIO() override { return w_->userIO(); }
    void runCommand(const std::function<void()> &command) override { w_->runCommand(command); }

    std::function<void(const QString &)> toolTableOpener;

private:
    TFEditor *w_;
};

// A line selection as the window made it: the line it started on, where the
// caret really stands (the selection itself ends at a line start), and the
// selection set, to tell whether the editor still shows it.
struct LineSelection {
    QsciScintilla *editor = nullptr;
    long anchorLine = 0;
    long caretPos = 0;
    long selAnchor = -1, selCaret = -1;
};

struct TFEditor::Private {
    std::unique_ptr<QtUserIO> ownIO;
    UserIO *io = nullptr;
    std::unique_ptr<MainHost> host;
    TFShow *splash = nullptr;

    std::map<QString, QAction *> actions;
    std::map<QString, QMenu *> menus;
    QMenu *recentMenu = nullptr;
    QMenu *openButtonMenu = nullptr;
    QMenu *editorMenu = nullptr;
    QList<QToolBar *> toolBars;
    QToolBar *templateBar = nullptr;

    QScrollArea *pageScroller = nullptr;
    QTabWidget *templateTabs = nullptr; // PageControl1
    QTabWidget *sourceTabs = nullptr;   // PageControl
    QTabWidget *documentTabs = nullptr; // PageControl2
    QSplitter *splitter = nullptr;
    QList<QWidget *> sourcePages;

    // file browser
    QComboBox *folderList = nullptr;
    FolderTree *folderTree = nullptr;
    QTreeView *fileList = nullptr;
    QFileSystemModel *dirModel = nullptr;
    QFileSystemModel *fileModel = nullptr;
    QMenu *fileMenu = nullptr;

    // "Adresáře programů"
    QList<QLabel *> folderCaptions;
    QList<QLineEdit *> folderFields;

    // status bar
    QList<QLabel *> panels;
    QTimer lockTimer;
    QTimer splashTimer;
    int splashTicks = 0;

    int lastHighlighterChoice = -1; // forgotten
    int selectionMode = 0;          // 0 normal, 1 column, 2 line
    LineSelection lineSelection;    // the line selection made last
    QList<std::function<bool()>> closeQuestions;
    QList<std::function<void()>> shutdownSteps;
    bool shutDown = false;
    QStringList templateFiles; // the set file of each template tab
    QList<bool> templateVisible;
    std::unique_ptr<TFAboutReg> about;
};

void MainHost::showSourcePage(SourcePage page) {
    if (auto *tabs = qobject_cast<QTabWidget *>(w_->sourcePanel()))
        tabs->setCurrentIndex(int(page));
}

void MainHost::openToolTableFile(const QString &path) {
    if (toolTableOpener)
        toolTableOpener(path);
    else
        w_->openDocument(path);
}

// ---------------------------------------------------------------------------------------------

TFEditor::TFEditor(UserIO *io, QWidget *parent) : QMainWindow(parent), d(new Private) {
    setObjectName(u"TFEditor"_s);
    if (!io) {
        d->ownIO = std::make_unique<QtUserIO>(this);
        io = d->ownIO.get();
    }
    d->io = io;
    d->host = std::make_unique<MainHost>(this);
    setWindowTitle(u"Velmora ( verze 1.4.5 )"_s);
    createActions();
    createMenus();
    createToolBars();
    createPanels();
    createStatusBar();
    fitToContents();
    connectCommands();
    recent_ = readRecentFiles();
    rebuildRecentMenus();
    d->about = std::make_unique<TFAboutReg>(this);
    currentFile_.clear();
}

void TFEditor::fitToContents() {
    // 828 by 712, or wider where the four toolbars need it in one row; on a
    // screen too narrow for that the "Výpočty" toolbar starts a second row.
    int toolbars = 0;
    for (QToolBar *tb : d->toolBars)
        toolbars += tb->sizeHint().width() + 8;
    const int needed = std::max({828, toolbars + 16, statusBar()->minimumSizeHint().width()});
    QRect screen(0, 0, needed, 712);
    if (QScreen *s = QGuiApplication::primaryScreen())
        screen = s->availableGeometry();
    const int frame = 16; // the window frame the system adds
    int w = needed;
    if (w + frame > screen.width()) {
        insertToolBarBreak(d->toolBars[2]);
        w = qMax(828, qMin(w, screen.width() - frame));
    }
    const int h = qMin(712, qMax(400, screen.height() - 48));
    resize(w, h);
    move(screen.center() - QPoint(w / 2, h / 2));
    d->splitter->setSizes({w - 230, 230});
}

TFEditor::~TFEditor() {
    // Documents go before the lexers' factory and the host.
    while (d->documentTabs && d->documentTabs->count() > 0) {
        QWidget *w = d->documentTabs->widget(0);
        d->documentTabs->removeTab(0);
        delete w;
    }
}

Host &TFEditor::host() { return *d->host; }
UserIO &TFEditor::userIO() { return *d->io; }

// --- construction ----------------------------------------------------------------------------

void TFEditor::createActions() {
    for (const CommandRow &row : commandTable()) {
        auto *a = new QAction(row.caption, this);
        a->setObjectName(row.name);
        if (!row.shortcut.isEmpty())
            a->setShortcut(QKeySequence(row.shortcut));
        if (!row.hint.isEmpty())
            a->setToolTip(row.hint); // a tool tip only: the status bar keeps its panels
        a->setEnabled(ownCommands().contains(row.name));
        a->setIcon(commandIcon(row.name));
        d->actions[row.name] = a;
    }
    for (const QString &n : {u"NormalniVyber"_s, u"SloupcovyVyber"_s, u"RadkovyVyber"_s, u"SyntaxeISO"_s, u"SyntaxeISO2"_s,
                             u"SyntaxeDialog"_s, u"SyntaxeNone"_s, u"ViewToolBar1"_s, u"ViewToolBar2"_s, u"ViewToolBar3"_s,
                             u"ViewToolBar5"_s, u"PanelZdroju"_s, u"Funkce"_s, u"MSpecialChars"_s, u"ToolTable"_s, u"ToolTable530"_s})
        d->actions[n]->setCheckable(true);
    d->actions[u"NormalniVyber"_s]->setChecked(true);
    d->actions[u"PanelZdroju"_s]->setChecked(true);
    d->actions[u"Funkce"_s]->setChecked(true);
    auto *group = new QActionGroup(this);
    for (const QString &n : {u"NormalniVyber"_s, u"SloupcovyVyber"_s, u"RadkovyVyber"_s})
        group->addAction(d->actions[n]);
}

QAction *TFEditor::action(const QString &name) {
    auto it = d->actions.find(name);
    if (it != d->actions.end())
        return it->second;
    // A command a subsystem brings along that the window does not list.
    auto *a = new QAction(name, this);
    a->setObjectName(name);
    a->setEnabled(false);
    d->actions[name] = a;
    return a;
}

QMenu *TFEditor::menuByName(const QString &name) {
    auto it = d->menus.find(name);
    return it == d->menus.end() ? nullptr : it->second;
}

void TFEditor::createMenus() {
    auto menu = [this](QMenu *parent, const QString &name) {
        QMenu *m = parent ? parent->addMenu(containerCaption(name)) : menuBar()->addMenu(containerCaption(name));
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        d->menus[name] = m;
        return m;
    };
    auto add = [this](QMenu *m, std::initializer_list<const char *> names) {
        for (const char *n : names) {
            if (!*n)
                m->addSeparator();
            else
                m->addAction(d->actions[QString::fromLatin1(n)]);
        }
    };
    QMenu *soubor = menu(nullptr, u"Soubor"_s);
    add(soubor, {"New", "Open"});
    d->recentMenu = menu(soubor, u"NaposledyOtevrene"_s);
    add(soubor, {"", "Save", "SaveTo", "SaveAll", "", "NewTable", "SaveTable", "PrintTnc", "", "NewTable530", "SaveTable530",
                 "", "CloseOne", "CloseAll", "", "Print", "PrintPreview", "", "Konec"});
    QMenu *editace = menu(nullptr, u"Editace"_s);
    add(editace, {"Undo", "Redo", "", "Cut", "CopyA", "Paste", "SelectAll", "", "Find", "FindNextText", "Replace"});
    add(menu(editace, u"Vyber"_s), {"NormalniVyber", "SloupcovyVyber", "RadkovyVyber"});
    QMenu *nastroje = menu(nullptr, u"Nastroje"_s);
    add(menu(nastroje, u"PanelIkon"_s), {"ViewToolBar1", "ViewToolBar2", "ViewToolBar3", "ViewToolBar5"});
    add(nastroje, {"PanelZdroju", "Funkce", ""});
    add(menu(nastroje, u"Mazak"_s), {"ConltrolXYZ", "WriteToolIntoPanelMazak"});
    add(menu(nastroje, u"Heidenhain"_s),
        {"ToolTable", "ToolTable530", "", "InsertLine", "DeleteLine", "", "WriteToolIntoPanelHeiden"});
    nastroje->addSeparator();
    add(menu(nastroje, u"Text"_s), {"MSpecialChars", "MRemoveLeftChars", "Spacing"});
    add(nastroje, {"Add", "Renumber", "FileCompare"});
    add(menu(nastroje, u"BarevnaSyntaxe"_s), {"SyntaxeISO", "SyntaxeISO2", "SyntaxeDialog", "SyntaxeNone"});
    add(nastroje, {"", "Setup", "MExportToHTML"});
    add(menu(nullptr, u"Vypocty"_s), {"Otacky", "Posuv", "Vrchlik", "Kruznice", "Primka", "drzka"});
    add(menu(nullptr, u"Sablony"_s), {"NewSabl", "EditSabl"});
    add(menu(nullptr, u"Projekty"_s), {"ActionOpenProject", "ActionNewProject", "ActionSaveProject", "ActionSaveProjectTo",
                                       "ActionCloseProject", "", "ActionRemProject", "MPropPRojekt"});
    menu(nullptr, u"Simulace"_s);
    menu(nullptr, u"Jazyk"_s);
    add(menu(nullptr, u"Pomoc"_s), {"Help", "About", "", "MailAutor", "HomePage"});

    d->editorMenu = new QMenu(this);
    d->editorMenu->setObjectName(u"EditorMenu"_s);
    d->menus[u"EditorMenu"_s] = d->editorMenu;
    add(d->editorMenu, {"Undo", "Redo", "", "Cut", "CopyA", "Paste", "SelectAll", "", "Renumber", "ToolTable", "",
                        "WriteToolIntoPanelMazak", "WriteToolIntoPanelHeiden"});

    highlighterMenu_ = new QMenu(this);
    highlighterMenu_->setObjectName(u"SyntaxMenu"_s);
    add(highlighterMenu_, {"SyntaxeISO", "SyntaxeISO2", "SyntaxeDialog", "SyntaxeNone"});

    d->openButtonMenu = new QMenu(this);
    d->openButtonMenu->setObjectName(u"OpenRecentMenu"_s);
}

void TFEditor::createToolBars() {
    struct Bar {
        const char *name;
        const char *view;
        std::initializer_list<const char *> buttons;
    };
    const Bar bars[] = {
        {"ToolBar1", "ViewToolBar1",
         {"New", "Open", "", "Save", "SaveAll", "", "CloseOne", "CloseAll", "", "Print", "PrintPreview", "", "NewTable",
          "SaveTable", "PrintTnc", "", "NewTable530", "SaveTable530"}},
        {"ToolBar2", "ViewToolBar2", {"Undo", "Redo", "", "Cut", "CopyA", "Paste", "", "Find", "Replace"}},
        {"ToolBar3", "ViewToolBar3", {"Renumber", "Setup", "", "Kruznice", "Primka", "drzka", "Vrchlik", "", "Posuv", "Otacky"}},
        {"ToolBar5", "ViewToolBar5", {"ActionNewProject", "", "ActionOpenProject", "ActionSaveProject", "", "ActionCloseProject"}},
    };
    int buttonNo = 0;
    for (const Bar &b : bars) {
        const QString name = QString::fromLatin1(b.name);
        QToolBar *tb = addToolBar(containerCaption(name));
        tb->setObjectName(name);
        tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
        tb->setIconSize(QSize(16, 16));
        for (const char *n : b.buttons) {
            if (!*n) {
                tb->addSeparator();
                continue;
            }
            QAction *a = d->actions[QString::fromLatin1(n)];
            tb->addAction(a);
            if (auto *btn = qobject_cast<QToolButton *>(tb->widgetForAction(a))) {
                btn->setObjectName(u"ToolButton%1"_s.arg(++buttonNo));
                if (a->objectName() == u"Open"_s) {
                    btn->setMenu(d->openButtonMenu);
                    btn->setPopupMode(QToolButton::MenuButtonPopup);
                }
            }
        }
        QAction *view = d->actions[QString::fromLatin1(b.view)];
        view->setChecked(true);
        connect(view, &QAction::triggered, tb, [tb](bool on) { tb->setVisible(on); });
        connect(tb, &QToolBar::visibilityChanged, view, [view, tb](bool) { view->setChecked(tb->isVisibleTo(tb->parentWidget())); });
        d->toolBars << tb;
    }
}

void TFEditor::createPanels() {
    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    // Template panel: one row of tabs, each a row of template buttons.
    d->pageScroller = new QScrollArea(central);
    d->pageScroller->setObjectName(u"PageScroller1"_s);
    d->pageScroller->setWidgetResizable(true);
    d->pageScroller->setFixedHeight(56);
    d->pageScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    d->pageScroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->pageScroller->setFrameShape(QFrame::NoFrame);
    d->templateTabs = new QTabWidget;
    d->templateTabs->setObjectName(u"PageControl1"_s);
    d->templateTabs->setDocumentMode(true);
    d->pageScroller->setWidget(d->templateTabs);
    d->pageScroller->setEnabled(false);
    v->addWidget(d->pageScroller);

    d->splitter = new QSplitter(Qt::Horizontal, central);
    d->splitter->setObjectName(u"Splitter1"_s);
    d->documentTabs = new QTabWidget(d->splitter);
    d->documentTabs->setObjectName(u"PageControl2"_s);
    d->documentTabs->setDocumentMode(true);
    d->documentTabs->setMovable(false);
    d->sourceTabs = new QTabWidget(d->splitter);
    d->sourceTabs->setObjectName(u"PageControl"_s);
    const char *pages[] = {"TabSheetSoubory", "TabSheetAdresare", "TabSheetNastroje", "TabSheetRS232", "TabSheetProjekt"};
    for (const char *p : pages) {
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(p));
        d->sourceTabs->addTab(page, containerCaption(page->objectName()));
        d->sourcePages << page;
    }
    createFileBrowser(d->sourcePages[0]);
    createFolderPage(d->sourcePages[1]);
    for (int i = 2; i < d->sourcePages.size(); ++i) {
        auto *l = new QVBoxLayout(d->sourcePages[i]);
        l->setContentsMargins(2, 2, 2, 2);
    }
    d->splitter->addWidget(d->documentTabs);
    d->splitter->addWidget(d->sourceTabs);
    d->splitter->setStretchFactor(0, 1);
    d->splitter->setStretchFactor(1, 0);
    d->splitter->setCollapsible(0, false);
    d->splitter->setSizes({828 - 230, 230});
    d->sourceTabs->setCurrentIndex(1);
    v->addWidget(d->splitter, 1);
    setCentralWidget(central);
    connect(d->documentTabs, &QTabWidget::currentChanged, this, [this](int) { currentTabChanged(); });
}

void TFEditor::createFileBrowser(QWidget *page) {
    auto *l = new QVBoxLayout(page);
    l->setContentsMargins(2, 2, 2, 2);
    d->folderList = new QComboBox(page);
    d->folderList->setObjectName(u"ComboBox1"_s);
    l->addWidget(d->folderList);
    auto *split = new QSplitter(Qt::Vertical, page);
    split->setObjectName(u"Splitter2"_s);
    d->dirModel = new QFileSystemModel(this);
    d->dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    d->dirModel->setReadOnly(true);
    d->folderTree = new FolderTree(split);
    d->folderTree->setObjectName(u"ShellTreeView1"_s);
    d->folderTree->setModel(d->dirModel);
    for (int c = 1; c < d->dirModel->columnCount(); ++c)
        d->folderTree->hideColumn(c);
    d->folderTree->setHeaderHidden(true);
    d->folderTree->setAcceptDrops(true);
    d->folderTree->setDragDropMode(QAbstractItemView::DropOnly);
    d->fileModel = new QFileSystemModel(this);
    d->fileModel->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    d->fileModel->setReadOnly(true);
    d->fileList = new QTreeView(split);
    d->fileList->setObjectName(u"ShellListView1"_s);
    d->fileList->setModel(d->fileModel);
    d->fileList->setRootIsDecorated(false);
    d->fileList->setItemsExpandable(false);
    d->fileList->setSortingEnabled(true);
    d->fileList->sortByColumn(0, Qt::AscendingOrder);
    d->fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    d->fileList->setDragEnabled(true);
    d->fileList->setDragDropMode(QAbstractItemView::DragOnly);
    d->fileList->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    d->fileList->setColumnWidth(0, 140);
    d->folderTree->source = d->fileList;
    split->addWidget(d->folderTree);
    split->addWidget(d->fileList);
    l->addWidget(split, 1);

    connect(d->folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &idx) {
        const QString path = d->dirModel->filePath(idx);
        d->fileList->setRootIndex(d->fileModel->setRootPath(path));
    });
    connect(d->fileList, &QTreeView::activated, this, [this](const QModelIndex &idx) {
        openFromBrowser(d->fileModel->filePath(d->fileList->currentIndex().isValid() ? d->fileList->currentIndex() : idx), true);
    });
    connect(d->folderList, &QComboBox::activated, this, [this](int i) { setBrowserRoot(i); });

    d->fileMenu = new QMenu(this);
    QAction *open = d->fileMenu->addAction(containerCaption(u"FileOpen"_s));
    open->setObjectName(u"FileOpen"_s);
    QAction *props = d->fileMenu->addAction(containerCaption(u"FileProperties"_s));
    props->setObjectName(u"FileProperties"_s);
    d->fileList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d->fileList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { d->fileMenu->popup(d->fileList->viewport()->mapToGlobal(p)); });
    connect(open, &QAction::triggered, this, [this] {
        const QModelIndex idx = d->fileList->currentIndex();
        if (idx.isValid())
            openFromBrowser(d->fileModel->filePath(idx), false);
    });
    connect(props, &QAction::triggered, this, [this] {
        const QModelIndex idx = d->fileList->currentIndex();
        if (!idx.isValid())
            return;
        const QFileInfo fi(d->fileModel->filePath(idx));
        const QLocale cz(QLocale::Czech, QLocale::CzechRepublic);
        QString perms;
        const QFile::Permissions p = fi.permissions();
        perms += (p & QFile::ReadOwner) ? u'r' : u'-';
        perms += (p & QFile::WriteOwner) ? u'w' : u'-';
        perms += (p & QFile::ExeOwner) ? u'x' : u'-';
        perms += (p & QFile::ReadGroup) ? u'r' : u'-';
        perms += (p & QFile::WriteGroup) ? u'w' : u'-';
        perms += (p & QFile::ExeGroup) ? u'x' : u'-';
        perms += (p & QFile::ReadOther) ? u'r' : u'-';
        perms += (p & QFile::WriteOther) ? u'w' : u'-';
        perms += (p & QFile::ExeOther) ? u'x' : u'-';
        userIO().message(MessageKind::Information,
                         u"%1\n\nSložka: %2\nVelikost: %3 B\nZměněno: %4\nVlastník: %5\nPráva: %6"_s.arg(
                             fi.fileName(), fi.absolutePath(), cz.toString(fi.size()),
                             cz.toString(fi.lastModified(), QLocale::ShortFormat), fi.owner(), perms),
                         kOk, u"Vlastnosti"_s);
    });
}

void TFEditor::createFolderPage(QWidget *page) {
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    for (int i = 0; i < kWorkingFolderCount; ++i) {
        auto *caption = new QLabel(page);
        caption->setObjectName(u"LabelAdr%1"_s.arg(i + 1));
        caption->installEventFilter(this);
        caption->setProperty("velmoraFolder", i);
        auto *field = new QLineEdit(page);
        field->setObjectName(u"EditAdr%1"_s.arg(i + 1));
        auto *browse = new QToolButton(page);
        browse->setObjectName(u"ButtonAdr%1"_s.arg(i + 1));
        browse->setText(u"..."_s);
        connect(browse, &QToolButton::clicked, this, [this, field] {
            const QString f = userIO().folderName(u"Nastavit adresář"_s, localFolder(u"c:\\"_s));
            if (!f.isEmpty())
                field->setText(f);
        });
        connect(field, &QLineEdit::editingFinished, this, [this, i] {
            if (d->folderList->currentIndex() == i)
                setBrowserRoot(i);
        });
        grid->addWidget(caption, i * 2, 0, 1, 2);
        grid->addWidget(field, i * 2 + 1, 0);
        grid->addWidget(browse, i * 2 + 1, 1);
        d->folderCaptions << caption;
        d->folderFields << field;
    }
    grid->setRowStretch(kWorkingFolderCount * 2, 1);
    const QStringList folders = readWorkingFolders();
    const QStringList captions = readFolderCaptions();
    for (int i = 0; i < kWorkingFolderCount; ++i) {
        showStoredFolder(d->folderFields[i], folders[i]);
        d->folderCaptions[i]->setText(captions[i]);
    }
}

void TFEditor::createStatusBar() {
    QStatusBar *sb = statusBar();
    sb->setObjectName(u"StatusBar1"_s);
    sb->setSizeGripEnabled(true);
    // Panel 5 (the folder) takes the width the others leave, so that the lock
    // panels at the end are never cut off.
    // The others have their width, or the width of the widest text they show.
    const int widths[] = {60, 80, 80, 80, 60, 0, 50, 50};
    const QStringList texts[] = {{u"999999 :999"_s}, {u"Vkládat"_s, u"Přepisovat"_s}, {}, {}, {u"ISO 2"_s, u"Dialog"_s},
                                 {}, {u"NumLock"_s}, {u"CapsLock"_s}};
    for (int i = 0; i < 8; ++i) {
        auto *l = new QLabel(sb);
        l->setObjectName(u"StatusPanel%1"_s.arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        int width = widths[i];
        for (const QString &t : texts[i])
            width = qMax(width, l->fontMetrics().horizontalAdvance(t) + 2 * l->frameWidth() + 8);
        if (i == 2) {
            QFont bold = l->font();
            bold.setBold(true);
            bold.setPointSize(8);
            width = qMax(width, QFontMetrics(bold).horizontalAdvance(u"Upraveno"_s) + 2 * l->frameWidth() + 16);
        }
        if (width)
            l->setFixedWidth(width);
        if (i == 1 || i == 2 || i == 4 || i == 6 || i == 7)
            l->setAlignment(Qt::AlignCenter);
        sb->addWidget(l, widths[i] ? 0 : 1);
        d->panels << l;
    }
    d->panels[5]->setMinimumWidth(20);
    d->panels[5]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    d->panels[6]->setText(u"NumLock"_s);
    d->panels[7]->setText(u"CapsLock"_s);
    d->panels[4]->setCursor(Qt::PointingHandCursor);
    d->panels[4]->installEventFilter(this);
    d->lockTimer.setInterval(100);
    connect(&d->lockTimer, &QTimer::timeout, this, [this] { updateLockKeys(); });
    d->lockTimer.start();
    updateLockKeys();
    updateStatusBar();
}

void TFEditor::connectCommands() {
    auto on = [this](const char *name, auto fn) { connect(d->actions[QString::fromLatin1(name)], &QAction::triggered, this, fn); };
    on("New", [this] { newDocument(); });
    on("Open", [this] {
        const QString path = userIO().openFileName(languageText(u"Messages"_s, u"OpenTitle"_s), dialogFilter(0));
        if (path.isEmpty())
            return;
        openFileByType(path);
        addRecentFile(path);
    });
    on("Save", [this] {
        if (Document *doc = activeDocument())
            saveDocument(doc);
    });
    on("SaveTo", [this] {
        if (Document *doc = activeDocument())
            saveDocumentAs(doc);
    });
    on("SaveAll", [this] { saveAll(); });
    on("CloseOne", [this] {
        if (Document *doc = activeDocument())
            closeDocument(doc);
    });
    on("CloseAll", [this] { closeAll(); });
    on("Konec", [this] { close(); });
    on("Undo", [this] { undo(); });
    on("Redo", [this] {
        if (Document *doc = activeDocument())
            doc->editor()->redo();
    });
    on("Cut", [this] {
        if (Document *doc = activeDocument())
            doc->editor()->cut();
    });
    on("CopyA", [this] {
        if (Document *doc = activeDocument())
            doc->editor()->copy();
    });
    on("Paste", [this] {
        Document *doc = activeDocument();
        if (doc && QApplication::clipboard()->mimeData() && QApplication::clipboard()->mimeData()->hasText())
            doc->editor()->paste();
    });
    on("SelectAll", [this] {
        if (Document *doc = activeDocument())
            doc->editor()->selectAll(true);
    });
    on("NormalniVyber", [this] { setSelectionMode(0); });
    on("SloupcovyVyber", [this] { setSelectionMode(1); });
    on("RadkovyVyber", [this] { setSelectionMode(2); });
    on("PanelZdroju", [this](bool shown) {
        d->sourceTabs->setVisible(shown);
        if (shown && d->splitter->sizes().value(1) < 40)
            d->splitter->setSizes({width() - 230, 230});
    });
    on("Funkce", [this](bool shown) { d->pageScroller->setVisible(shown); });
    on("MSpecialChars", [this] { toggleSpecialChars(); });
    on("MRemoveLeftChars", [this] { removeLeftBlanks(); });
    on("SyntaxeISO", [this] { chooseHighlighter(0); });
    on("SyntaxeISO2", [this] { chooseHighlighter(1); });
    on("SyntaxeDialog", [this] { chooseHighlighter(2); });
    on("SyntaxeNone", [this] { chooseHighlighter(3); });
    on("Help", [this] { userIO().message(MessageKind::Information, languageText(u"Messages"_s, u"Help"_s), kOk); });
    on("About", [this] { d->about->exec(); });
    on("MailAutor", [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMailAddress))); });
    on("HomePage", [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); });
    on("SmazatSeznam", [this] { clearRecentFiles(); });
    // The syntax commands are not undone by their own check marks: the last choice decides them.
    for (const char *n : {"SyntaxeISO", "SyntaxeISO2", "SyntaxeDialog", "SyntaxeNone"})
        d->actions[QString::fromLatin1(n)]->setCheckable(true);
}

// --- start-up --------------------------------------------------------------------------------

void TFEditor::setSplash(TFShow *splash) {
    d->splash = splash;
    if (!splash)
        return;
    // The splash window closes on the third tick of a one-second timer.
    d->splashTicks = 0;
    d->splashTimer.setInterval(1000);
    connect(&d->splashTimer, &QTimer::timeout, this, [this] {
        if (++d->splashTicks >= 3) {
            d->splashTimer.stop();
            if (d->splash)
                d->splash->close();
        }
    });
    connect(splash, &QObject::destroyed, this, [this] { d->splash = nullptr; });
    d->splashTimer.start();
}

void TFEditor::splashStep() {
    if (d->splash && d->splash->isVisible()) {
        d->splash->step();
        QCoreApplication::processEvents();
    }
}

void TFEditor::checkRequiredFiles() {
    QStringList missing;
    for (const char *f : {"Kody/funkce_G.txt", "Kody/funkce_M.txt", "Kody/d_cykly.txt", "Kody/d_funkce_m.txt", "pripony.ext"}) {
        const QString path = programFile(QString::fromLatin1(f));
        if (!QFileInfo(path).isFile())
            missing << QDir::toNativeSeparators(path);
    }
    const QDir sab(programFile(u"sablony"_s));
    if (sab.entryList({u"*.sab"_s}, QDir::Files).isEmpty())
        missing << QDir::toNativeSeparators(programFolder() + u"sablony/*.sab"_s);
    for (const QString &m : missing)
        userIO().error(languageText(u"Messages"_s, u"ErrorMissingFile"_s, kMissingFileText).arg(m));
}

void TFEditor::buildTemplatePanel() {
    d->templateTabs->clear();
    d->templateFiles.clear();
    const QDir dir(programFile(u"sablony"_s));
    const QStringList files = dir.entryList({u"*.sab"_s}, QDir::Files, QDir::NoSort);
    for (const QString &f : files) {
        const QString path = dir.filePath(f);
        const LoadResult r = loadTextFile(path);
        TemplateSet set;
        if (!r.ok || !parseTemplateSet(r.lines, QFileInfo(f).completeBaseName(), set))
            continue;
        const QString name = set.name;
        auto *tab = new QWidget;
        tab->setObjectName(name);
        tab->setFixedHeight(26);
        int k = 0;
        for (const TemplateButton &button : set.buttons) {
            const QString section = button.section, hint = button.hint;
            auto *b = new QToolButton(tab);
            b->setAutoRaise(true);
            QFont small = b->font();
            small.setPointSize(7);
            b->setFont(small);
            b->setText(section);
            b->setToolTip(hint);
            b->setGeometry(2 + 40 * k, 1, 40, 24);
            ++k;
            connect(b, &QToolButton::clicked, this, [this, name, section, hint] { insertTemplate(name, section, hint); });
        }
        tab->setMinimumWidth(40 * k + 20);
        d->templateTabs->addTab(tab, set.caption);
        d->templateFiles << path;
    }
    d->pageScroller->setEnabled(false);
}

void TFEditor::insertTemplate(const QString &setName, const QString &section, const QString &hint) {
    Document *doc = host().requireDocument();
    if (!doc)
        return;
    const LoadResult r = loadTextFile(programFile(u"sablony/"_s + setName + u".sab"_s));
    if (!r.ok) {
        userIO().error(languageText(u"Messages"_s, u"ErrorRead"_s, kReadErrorText).arg(setName + u".sab"_s, r.error));
        return;
    }
    // The body goes in front of the caret's line, as one undo step; the caret
    // stays on its line number or goes where the set marked it.
    const TemplateBody body = templateBody(r.lines, section, hint);
    const int line = doc->caretLine(), column = doc->caretColumn();
    doc->beginUndoGroup();
    if (!body.lines.isEmpty())
        doc->replaceLines(line - 1, 0, body.lines);
    doc->endUndoGroup();
    doc->setModified(true);
    if (body.caretLine >= 0)
        doc->setCaret(line + body.caretLine, body.caretColumn + 1);
    else
        doc->setCaret(line, column);
    doc->editor()->setFocus();
    updateStatusBar();
}

void TFEditor::splashPauses(int argumentCount) {
    if (!d->splash)
        return;
    const int maximum = d->splash->position() + int(d->templateFiles.size());
    d->splash->setMaximum(maximum);
    for (int i = 0; i < maximum - argumentCount - 3; ++i) {
        QThread::msleep(100);
        splashStep();
    }
}

void TFEditor::applyStoredLayout() {
    const IniFile ini = setupIni();
    const QString ed = u"Editor"_s;
    // The "Výpočty" toolbar: a stored position below the first row starts a row of its own.
    const int top = ini.readInteger(u"ToolBar3"_s, u"Top"_s, 26);
    if (top > 26 + 13 && !toolBarBreak(d->toolBars[2])) {
        removeToolBar(d->toolBars[2]);
        addToolBarBreak();
        addToolBar(d->toolBars[2]);
        d->toolBars[2]->show();
        removeToolBar(d->toolBars[3]);
        addToolBar(d->toolBars[3]);
        d->toolBars[3]->show();
    }
    const QStringList folders = readWorkingFolders();
    const QStringList captions = readFolderCaptions();
    for (int i = 0; i < kWorkingFolderCount; ++i) {
        showStoredFolder(d->folderFields[i], folders[i]);
        d->folderCaptions[i]->setText(captions[i]);
    }
    d->sourceTabs->setVisible(ini.readBool(ed, u"Panel_visible"_s, true));
    const int width = qBound(60, ini.readInteger(ed, u"Panel_sirka"_s, 230), 2000);
    d->splitter->setSizes({qMax(100, this->width() - width), width});
    d->sourceTabs->setCurrentIndex(qBound(0, ini.readInteger(ed, u"Panel_pole"_s, 1), d->sourceTabs->count() - 1));
    const int templateTab = ini.readInteger(ed, u"stroje_index"_s, 0);
    if (templateTab >= 0 && templateTab < d->templateTabs->count())
        d->templateTabs->setCurrentIndex(templateTab);
    d->templateVisible.clear();
    for (int i = 0; i < d->templateTabs->count(); ++i) {
        const bool visible = ini.readBool(u"Visible"_s, d->templateTabs->tabText(i), true);
        d->templateVisible << visible;
        d->templateTabs->setTabVisible(i, visible);
    }
    recent_ = readRecentFiles();
    rebuildRecentMenus();
    if (ini.readBool(ed, u"Keyb"_s, false))
        switchToEnglishKeyboard();
    rebuildFolderList();
    const int combo = ini.readInteger(ed, u"Panel_combo"_s, 0);
    d->folderList->setCurrentIndex(qBound(0, combo, d->folderList->count() - 1));
    setBrowserRoot(d->folderList->currentIndex());
}

void TFEditor::openStartupFiles(const QStringList &files) {
    for (const QString &f : files) {
        splashStep();
        openDocument(QFileInfo(f).absoluteFilePath());
    }
}

void TFEditor::finishStartup() {
    if (setupIni().readBool(u"Editor"_s, u"Line"_s, false))
        setWindowState(windowState() | Qt::WindowMaximized);
    // The source panel is shown after start-up whatever was stored.
    d->sourceTabs->show();
    d->actions[u"PanelZdroju"_s]->setChecked(true);
    if (d->splitter->sizes().value(1) < 40)
        d->splitter->setSizes({width() - 230, 230});
    startingUp_ = false;
    if (Document *doc = activeDocument())
        doc->editor()->setFocus();
}

// --- documents -------------------------------------------------------------------------------

Document *TFEditor::activeDocument() const { return qobject_cast<Document *>(d->documentTabs->currentWidget()); }

QList<Document *> TFEditor::documents() const {
    QList<Document *> out;
    for (int i = 0; i < d->documentTabs->count(); ++i)
        if (auto *doc = qobject_cast<Document *>(d->documentTabs->widget(i)))
            out << doc;
    return out;
}

void TFEditor::releaseCommandKeys(QsciScintilla *e) const {
    // A key the editor binds itself wins over a window shortcut while the editor
    // has the focus (Ctrl+T would swap two lines instead of printing the tool
    // sheet): every binding that a command's shortcut uses is taken away.
    const QList<QsciCommand *> bindings = e->standardCommands()->commands();
    for (const auto &[name, a] : d->actions) {
        for (const QKeySequence &seq : a->shortcuts()) {
            if (seq.count() != 1)
                continue;
            const int key = seq[0].toCombined();
            for (QsciCommand *c : bindings) {
                if (c->key() == key)
                    c->setKey(0);
                if (c->alternateKey() == key)
                    c->setAlternateKey(0);
            }
        }
    }
}

Document *TFEditor::setUpDocument() {
    auto *doc = new Document(d->documentTabs);
    QsciScintilla *e = doc->editor();
    connect(doc, &Document::statusChanged, this, [this, doc] {
        if (doc == activeDocument())
            updateStatusBar();
    });
    releaseCommandKeys(e);
    e->installEventFilter(this);
    e->viewport()->installEventFilter(this);
    e->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(e, &QWidget::customContextMenuRequested, this, [this, e](const QPoint &p) { d->editorMenu->popup(e->mapToGlobal(p)); });
    const int index = d->documentTabs->addTab(doc, QString());
    d->documentTabs->setCurrentIndex(index);
    return doc;
}

void TFEditor::afterDocumentCreated(Document *doc) {
    readIniSetings(doc);
    d->pageScroller->setEnabled(true);
    applyDefaultHighlighter();
    updateStatusBar();
    emit documentOpened(doc);
    emit activeDocumentChanged(doc);
}

Document *TFEditor::newDocument() {
    Document *doc = setUpDocument();
    doc->setCaption(languageText(u"Messages"_s, u"Untitled"_s) + u' ' + QString::number(untitled_));
    ++untitled_;
    d->documentTabs->setTabText(d->documentTabs->indexOf(doc), doc->caption());
    doc->setFilePath(QString());
    currentFile_.clear();
    doc->setModified(false);
    afterDocumentCreated(doc);
    doc->editor()->setFocus();
    return doc;
}

Document *TFEditor::openDocument(const QString &path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QByteArray text;
    QString error;
    if (QFileInfo(path).isDir() || !loadTextFileUtf8(path, text, &error)) {
        QApplication::restoreOverrideCursor();
        if (error.isEmpty())
            error = u"není to soubor"_s;
        userIO().error(languageText(u"Messages"_s, u"ErrorRead"_s, kReadErrorText).arg(QDir::toNativeSeparators(path), error));
        return nullptr;
    }
    Document *doc = setUpDocument();
    currentFile_ = path;
    doc->setFilePath(path);
    doc->setCaption(QFileInfo(path).fileName());
    const int index = d->documentTabs->indexOf(doc);
    d->documentTabs->setTabText(index, doc->caption());
    d->documentTabs->setTabToolTip(index, path);
    doc->loadUtf8Text(text);
    text.clear();
    afterDocumentCreated(doc);
    QApplication::restoreOverrideCursor();
    if (!startingUp_)
        doc->editor()->setFocus();
    return doc;
}

void TFEditor::openFileByType(const QString &path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"tnc"_s || ext == u"t"_s)
        host().openToolTableFile(path);
    else
        openDocument(path);
}

void TFEditor::openFromBrowser(const QString &path, bool byType) {
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    if (byType) {
        const QString ext = QFileInfo(path).suffix().toLower();
        if (ext == u"tnc"_s || ext == u"t"_s) {
            host().openToolTableFile(path);
            addRecentFile(path);
            return;
        }
        if (ext == u"prj"_s) {
            if (QAction *a = d->actions.count(u"ActionOpenProjectFile"_s) ? d->actions[u"ActionOpenProjectFile"_s] : nullptr;
                a && a->isEnabled()) {
                closeAll();
                a->setData(path);
                a->trigger();
                host().showSourcePage(SourcePage::Project);
                return;
            }
        }
    }
    if (openDocument(path))
        addRecentFile(path);
}

bool TFEditor::writeDocument(Document *doc, const QString &path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SaveResult r = saveTextFile(path, doc->lines());
    QApplication::restoreOverrideCursor();
    if (r.ok)
        return true;
    if (r.badLine >= 0) {
        userIO().error(languageText(u"Messages"_s, u"ErrorEncoding"_s)
                           .arg(QDir::toNativeSeparators(path))
                           .arg(r.badLine + 1)
                           .arg(r.badColumn + 1));
        doc->setCaret(r.badLine + 1, r.badColumn + 1);
    } else {
        userIO().error(languageText(u"Messages"_s, u"ErrorWrite"_s).arg(QDir::toNativeSeparators(path), r.error));
    }
    return false;
}

bool TFEditor::saveDocument(Document *doc) {
    if (doc->filePath().isEmpty())
        return saveDocumentAs(doc);
    const QString path = doc->filePath();
    if (askBeforeOverwrite() && QFileInfo::exists(path)) {
        QString q = languageText(u"Messages"_s, u"Save1"_s);
        q.replace(u"%s"_s, path);
        if (userIO().message(MessageKind::Confirmation, q, kYesNo) != Answer::Yes)
            return false;
    }
    const bool ok = writeDocument(doc, path);
    if (ok)
        doc->setModified(false);
    updateStatusBar();
    return ok;
}

bool TFEditor::saveDocumentAs(Document *doc) {
    const QString path = userIO().saveFileName(languageText(u"Messages"_s, u"SaveTitle"_s), dialogFilter(1), doc->caption());
    bool ok = false;
    if (!path.isEmpty() && writeDocument(doc, path)) {
        ok = true;
        if (doc == activeDocument())
            currentFile_ = path;
        doc->setCaption(QFileInfo(path).fileName());
        doc->setFilePath(path);
        const int index = d->documentTabs->indexOf(doc);
        d->documentTabs->setTabText(index, doc->caption());
        d->documentTabs->setTabToolTip(index, path);
        doc->setModified(false);
        addRecentFile(path);
    }
    updateStatusBar();
    return ok;
}

void TFEditor::saveAll() {
    for (Document *doc : documents()) {
        if (!doc->isModified() && !doc->filePath().isEmpty())
            continue;
        if (!doc->filePath().isEmpty()) {
            if (writeDocument(doc, doc->filePath()))
                doc->setModified(false);
        } else {
            saveDocumentAs(doc);
        }
        updateStatusBar();
    }
}

bool TFEditor::closeDocument(Document *doc) {
    if (doc->isModified()) {
        d->documentTabs->setCurrentWidget(doc);
        if (userIO().message(MessageKind::Confirmation, languageText(u"Messages"_s, u"Save5"_s), kYesNo) == Answer::Yes) {
            // A save that fails or is cancelled keeps the document and its changes.
            if (!saveDocument(doc))
                return false;
        }
    }
    d->documentTabs->removeTab(d->documentTabs->indexOf(doc));
    doc->deleteLater();
    doc->hide();
    if (d->documentTabs->count() > 0) {
        updateStatusBar();
        currentFile_ = activeDocument() ? activeDocument()->filePath() : QString();
    } else {
        currentFile_.clear();
        d->pageScroller->setEnabled(false);
        updateStatusBar();
    }
    emit activeDocumentChanged(activeDocument());
    return true;
}

void TFEditor::closeAll() {
    const QList<Document *> docs = documents();
    for (int i = int(docs.size()) - 1; i >= 0; --i)
        closeDocument(docs[i]);
    if (d->documentTabs->count() == 0)
        d->pageScroller->setEnabled(false);
    updateStatusBar();
}

// --- recent files ----------------------------------------------------------------------------

void TFEditor::addRecentFile(const QString &path) {
    IniFile ini = setupIni();
    ::velmora::addRecentFile(ini, path);
    recent_.prepend(path);
    while (recent_.size() > kRecentCount)
        recent_.removeLast();
    rebuildRecentMenus();
}

void TFEditor::openRecentFile(const QString &path) {
    if (!QFileInfo::exists(path)) {
        userIO().error(languageText(u"Messages"_s, u"ErrorLastOpen"_s));
        return;
    }
    openFileByType(path);
}

void TFEditor::clearRecentFiles() {
    if (recent_.isEmpty())
        return;
    recent_.clear();
    IniFile ini = setupIni();
    velmora::clearRecentFiles(ini);
    rebuildRecentMenus();
}

void TFEditor::rebuildRecentMenus() {
    d->recentMenu->clear();
    d->openButtonMenu->clear();
    int n = 0;
    for (const QString &path : recent_) {
        ++n;
        for (QMenu *m : {d->recentMenu, d->openButtonMenu}) {
            QAction *a = m->addAction(path);
            a->setData(path);
            a->setObjectName(u"LastOpen%1"_s.arg(n));
            connect(a, &QAction::triggered, this, [this, path] { openRecentFile(path); });
        }
    }
    d->recentMenu->addSeparator();
    d->recentMenu->addAction(d->actions[u"SmazatSeznam"_s]);
}

// --- settings --------------------------------------------------------------------------------

void TFEditor::readIniSetings(Document *doc) {
    if (!doc)
        return;
    const EditorOptions o = readEditorOptions();
    QsciScintilla *e = doc->editor();
    if (o.cursor == 0) {
        e->SendScintilla(QsciScintillaBase::SCI_SETCARETSTYLE, QsciScintillaBase::CARETSTYLE_BLOCK);
    } else if (o.cursor == 1) {
        e->SendScintilla(QsciScintillaBase::SCI_SETCARETSTYLE, QsciScintillaBase::CARETSTYLE_LINE);
        e->setCaretWidth(2);
    }
    e->setProperty("velmoraTabInText", o.tabInText);
    e->setTabWidth(o.tabWidth);
    doc->setExtraSpacing(o.spacing);
    e->viewport()->setAcceptDrops(o.dragDrop);
    e->setProperty("velmoraDragDrop", o.dragDrop);
    doc->setShowInfoLine(o.showInfoLine);
    doc->setTrimTrailingBlanks(o.trim);
    QFont font(u"DejaVu Sans Mono"_s);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(o.fontSize);
    doc->applyFontAndPaper(font, qcolor(o.background));
}

void TFEditor::writeIniSetings() {
    IniFile ini = setupIni();
    const QString ed = u"Editor"_s;
    QList<QPair<QString, QString>> editor;
    auto keep = [&](const QString &key, const QString &def) { editor.append({key, ini.readString(ed, key, def)}); };
    // The editor options as stored (the settings dialog is their live store once it exists).
    keep(u"Cursor"_s, u"0"_s);
    keep(u"Line"_s, u"0"_s);
    keep(u"Enter"_s, u"0"_s);
    editor.append({u"EnterText"_s, ini.hasKey(ed, u"EnterText"_s) ? ini.readString(ed, u"EnterText"_s) : u"N1 "_s});
    keep(u"Spacing"_s, u"0"_s);
    keep(u"Tab"_s, u"0"_s);
    keep(u"TabWidth"_s, u"8"_s);
    keep(u"DragDrop"_s, u"1"_s);
    keep(u"ShowInfoLine"_s, u"1"_s);
    keep(u"DragToolTable"_s, u"0"_s);
    keep(u"UpCase"_s, u"0"_s);
    keep(u"Overwrite"_s, u"0"_s);
    keep(u"VelikostPisma"_s, u"10"_s);
    keep(u"Prirazeni"_s, u"3"_s);
    keep(u"Dialog"_s, u"0"_s);
    keep(u"ColorPrint"_s, u"0"_s);
    keep(u"Form"_s, u"1"_s);
    if (ini.hasKey(ed, u"Trim"_s))
        keep(u"Trim"_s, u"1"_s);
    keep(u"Keyb"_s, u"0"_s);
    if (ini.readBool(ed, u"Form"_s, true)) {
        const int width = d->sourceTabs->isVisible() ? d->splitter->sizes().value(1, 230) : ini.readInteger(ed, u"Panel_sirka"_s, 230);
        editor.append({u"Panel_pole"_s, QString::number(d->sourceTabs->currentIndex())});
        editor.append({u"Panel_sirka"_s, QString::number(width > 0 ? width : 230)});
        editor.append({u"Panel_visible"_s, d->sourceTabs->isVisible() ? u"1"_s : u"0"_s});
        editor.append({u"Panel_combo"_s, QString::number(qMax(0, d->folderList->currentIndex()))});
        editor.append({u"stroje_index"_s, QString::number(qMax(0, d->templateTabs->currentIndex()))});
    }
    ini.writeSection(ed, editor);

    struct ColourKey {
        const char *key;
        const char *def;
    };
    const ColourKey colours[] = {{"Podklad", "clCream"}, {"G", "clBlack"}, {"M", "clBlue"}, {"Komentar", "clGreen"},
                                 {"FS", "clRed"}, {"Souradnice", "clMaroon"}, {"Bloky", "clBlack"}};
    for (const QString &section : {u"Color"_s, u"Color2"_s}) {
        QList<QPair<QString, QString>> values;
        for (const ColourKey &c : colours) {
            const QString key = QString::fromLatin1(c.key);
            if (section == u"Color2"_s && key == u"Podklad"_s)
                continue;
            const QString def = QString::fromLatin1(c.def);
            values.append({key, colorToString(colorOr(ini.readString(section, key, def), colorOr(def, 0)))});
        }
        ini.writeSection(section, values);
    }
    QList<QPair<QString, QString>> geo;
    geo.append({u"Auto"_s, ini.readString(u"Geometrie"_s, u"Auto"_s, u"0"_s)});
    geo.append({u"RKruznice"_s, ini.readString(u"Geometrie"_s, u"RKruznice"_s, u"clRed"_s)});
    geo.append({u"Kruznice"_s, ini.readString(u"Geometrie"_s, u"Kruznice"_s, u"clBlue"_s)});
    geo.append({u"Podklad"_s, ini.readString(u"Geometrie"_s, u"Podklad"_s, u"clSilver"_s)});
    ini.writeSection(u"Geometrie"_s, geo);

    QList<QPair<QString, QString>> folders, captions;
    const QStringList keys = workingFolderKeys();
    for (int i = 0; i < kWorkingFolderCount; ++i) {
        folders.append({keys[i], folderToStore(d->folderFields[i])});
        captions.append({QString::number(i + 1), d->folderCaptions[i]->text()});
    }
    ini.writeSection(u"Adresar"_s, folders);
    ini.writeSection(u"Adresare"_s, captions);
    QToolBar *calc = d->toolBars[2];
    ini.writeSection(u"ToolBar3"_s, {{u"Left"_s, QString::number(qMax(1, calc->x()))},
                                     {u"Top"_s, QString::number(toolBarBreak(calc) ? 52 : 26)}});
    ini.eraseSection(u"Visible"_s);
    QList<QPair<QString, QString>> visible;
    for (int i = 0; i < d->templateTabs->count(); ++i)
        visible.append({d->templateTabs->tabText(i), d->templateVisible.value(i, true) ? u"1"_s : u"0"_s});
    if (!visible.isEmpty())
        ini.writeSection(u"Visible"_s, visible);
}

// --- folders and the file browser ------------------------------------------------------------

QStringList TFEditor::folderCaptions() const {
    QStringList out;
    for (QLabel *l : d->folderCaptions)
        out << l->text();
    return out;
}

QStringList TFEditor::folderListEntries() const {
    QStringList out;
    for (int i = 0; i < d->folderList->count(); ++i)
        out << d->folderList->itemText(i);
    return out;
}

void TFEditor::rebuildFolderList() {
    const int current = d->folderList->currentIndex();
    d->folderList->clear();
    d->folderList->addItems(folderCaptions());
    d->folderList->addItem(u"Plocha počítače"_s);
    d->folderList->addItem(u"Tento Počítač"_s);
    if (current >= 0)
        d->folderList->setCurrentIndex(current);
}

void TFEditor::setBrowserRoot(int entry) {
    QString root;
    if (entry >= 0 && entry < kWorkingFolderCount) {
        root = localFolder(d->folderFields[entry]->text());
    } else if (entry == kWorkingFolderCount) {
        root = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (!QFileInfo(root).isDir())
            root = QDir::homePath();
    } else {
        root = QDir::rootPath();
    }
    const QModelIndex idx = d->dirModel->setRootPath(root);
    d->folderTree->setRootIndex(idx);
    d->folderTree->setCurrentIndex(idx);
    d->fileList->setRootIndex(d->fileModel->setRootPath(root));
}

void TFEditor::renameFolderCaption(int index) {
    if (index < 0 || index >= kWorkingFolderCount)
        return;
    QString name = d->folderCaptions[index]->text();
    if (!userIO().inputText(u"Zadej text"_s, u"Nový název"_s, name))
        return;
    d->folderCaptions[index]->setText(name);
    writeIniSetings();
    rebuildFolderList();
}

QWidget *TFEditor::sourcePanel() const { return d->sourceTabs; }
QWidget *TFEditor::templatePanel() const { return d->pageScroller; }
QWidget *TFEditor::sourcePage(int page) { return d->sourcePages.value(page); }

// --- status bar ------------------------------------------------------------------------------

void TFEditor::updateStatusBar() {
    Document *doc = activeDocument();
    QLabel *modified = d->panels[2];
    if (!doc) {
        for (int i : {0, 2, 3, 4, 5})
            d->panels[i]->clear();
        for (int i : {3, 5}) {
            d->panels[i]->setProperty("velmoraFullText", QString());
            d->panels[i]->setToolTip(QString());
        }
        d->panels[1]->setText(u"Vkládat"_s);
        modified->setStyleSheet(QString());
        return;
    }
    d->panels[0]->setText(QString::asprintf("%6d :%3d", doc->caretLine(), doc->caretColumn()));
    d->panels[1]->setText(doc->overwriteMode() ? u"Přepisovat"_s : u"Vkládat"_s);
    if (doc->isModified()) {
        modified->setText(u"Upraveno"_s);
        modified->setStyleSheet(
            u"QLabel { background: red; color: blue; font-weight: bold; font-size: 8pt; padding-left: 8px; padding-top: 2px; }"_s);
        modified->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        modified->clear();
        modified->setStyleSheet(QString());
    }
    const QFileInfo fi(doc->filePath());
    d->panels[3]->setProperty("velmoraFullText", doc->filePath().isEmpty() ? QString() : fi.fileName());
    d->panels[4]->setText(highlighterStatus(doc->highlighter()));
    d->panels[5]->setProperty("velmoraFullText",
                              doc->filePath().isEmpty() ? QString() : QDir::toNativeSeparators(fi.absolutePath()));
    fitPathPanels();
}

void TFEditor::fitPathPanels() {
    // The file name panel widens for a longer name (the folder panel gives the
    // width); a name or folder that still does not fit is shortened in the
    // middle and shown whole as the panel's hint.
    QLabel *name = d->panels[3], *folder = d->panels[5];
    const int margin = 2 * name->frameWidth() + 8;
    const QString fullName = name->property("velmoraFullText").toString();
    name->setFixedWidth(qBound(80, name->fontMetrics().horizontalAdvance(fullName) + margin, 240));
    for (QLabel *panel : {name, folder}) {
        const QString full = panel->property("velmoraFullText").toString();
        const int room = (panel == name ? name->width() : panel->contentsRect().width()) - margin;
        panel->setToolTip(full);
        panel->setText(room > 0 && panel->fontMetrics().horizontalAdvance(full) > room
                           ? panel->fontMetrics().elidedText(full, Qt::ElideMiddle, room)
                           : full);
    }
}

QString TFEditor::statusPanelText(int panel) const {
    QLabel *l = d->panels.value(panel);
    if (!l)
        return QString();
    // The whole name or folder, also when the panel shows it shortened.
    return panel == 3 || panel == 5 ? l->property("velmoraFullText").toString() : l->text();
}

void TFEditor::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (d->panels.size() > 5) // the folder panel's width follows the window
        QTimer::singleShot(0, this, [this] { fitPathPanels(); });
}

void TFEditor::updateLockKeys() {
    const LockKeys k = lockKeyState();
    d->panels[6]->setFrameStyle(QFrame::Panel | (k.numLock ? QFrame::Sunken : QFrame::Raised));
    d->panels[7]->setFrameStyle(QFrame::Panel | (k.capsLock ? QFrame::Sunken : QFrame::Raised));
}

bool TFEditor::event(QEvent *event) {
    // Hints of menu items and buttons never take the place of the status bar's panels.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

// --- editing commands ------------------------------------------------------------------------

void TFEditor::undo() {
    Document *doc = activeDocument();
    if (!doc)
        return;
    if (!doc->editor()->isUndoAvailable())
        userIO().message(MessageKind::Plain, u"No Undo"_s, kOk);
    doc->editor()->undo();
}

void TFEditor::setSelectionMode(int mode) {
    d->selectionMode = mode;
    const char *names[] = {"NormalniVyber", "SloupcovyVyber", "RadkovyVyber"};
    for (int i = 0; i < 3; ++i)
        d->actions[QString::fromLatin1(names[i])]->setChecked(i == mode);
    for (Document *doc : documents())
        doc->editor()->setProperty("velmoraSelectionMode", mode);
}

void TFEditor::toggleSpecialChars() {
    Document *doc = activeDocument();
    QAction *a = d->actions[u"MSpecialChars"_s];
    if (!doc) {
        a->setChecked(!a->isChecked());
        return;
    }
    const bool show = a->isChecked();
    doc->editor()->setWhitespaceVisibility(show ? QsciScintilla::WsVisible : QsciScintilla::WsInvisible);
    doc->editor()->setEolVisibility(show);
}

void TFEditor::removeLeftBlanks() {
    Document *doc = activeDocument();
    if (!doc)
        return;
    runCommand([doc] {
        QStringList lines = doc->lines();
        bool changed = false;
        for (QString &l : lines) {
            int k = 0;
            while (k < l.size() && l[k].unicode() <= 32)
                ++k;
            if (k) {
                l.remove(0, k);
                changed = true;
            }
        }
        if (changed)
            doc->rewriteLines(lines);
    });
    updateStatusBar();
}

void TFEditor::chooseHighlighter(int choice, bool force) {
    const char *names[] = {"SyntaxeISO", "SyntaxeISO2", "SyntaxeDialog", "SyntaxeNone"};
    if (!force && choice == d->lastHighlighterChoice) {
        // The last choice already: the check marks stay as they were.
        for (int i = 0; i < 4; ++i)
            d->actions[QString::fromLatin1(names[i])]->setChecked(i == choice);
        return;
    }
    d->lastHighlighterChoice = choice;
    for (int i = 0; i < 4; ++i)
        d->actions[QString::fromLatin1(names[i])]->setChecked(i == choice);
    if (Document *doc = activeDocument()) {
        doc->setHighlighter(highlighterOfChoice(choice));
        readIniSetings(doc);
    }
    updateStatusBar();
}

void TFEditor::applyDefaultHighlighter() {
    d->lastHighlighterChoice = -1;
    chooseHighlighter(qBound(0, defaultHighlighterChoice(3), 3), true);
}

void TFEditor::currentTabChanged() {
    Document *doc = activeDocument();
    currentFile_ = doc ? doc->filePath() : QString();
    updateStatusBar();
    emit activeDocumentChanged(doc);
}

namespace {

bool isCaretKey(int key) {
    switch (key) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_PageUp: case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

long lineStartPos(QsciScintilla *e, long line) {
    if (line >= e->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT))
        return e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    return e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
}

} // namespace

void TFEditor::setLineSelection(QsciScintilla *e, long anchorLine, long caretPos) {
    // Whole lines from the anchor's line to the caret's; the caret at the far end.
    LineSelection &s = d->lineSelection;
    const long caretLine = e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, caretPos);
    const long first = qMin(anchorLine, caretLine), last = qMax(anchorLine, caretLine);
    const long start = lineStartPos(e, first), end = lineStartPos(e, last + 1);
    s.editor = e;
    s.anchorLine = anchorLine;
    s.caretPos = caretPos;
    s.selAnchor = caretLine >= anchorLine ? start : end;
    s.selCaret = caretLine >= anchorLine ? end : start;
    e->SendScintilla(QsciScintillaBase::SCI_SETSELECTION, s.selCaret, s.selAnchor);
    e->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
}

void TFEditor::extendLineSelection(Document *doc, QKeyEvent *ke) {
    QsciScintilla *e = doc->editor();
    LineSelection &s = d->lineSelection;
    const long anchor = e->SendScintilla(QsciScintillaBase::SCI_GETANCHOR);
    const long caret = e->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    if (s.editor != e || anchor != s.selAnchor || caret != s.selCaret) {
        // A new selection starts on the caret's line (or on the line of a selection made otherwise).
        s.anchorLine = e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, anchor);
        s.caretPos = caret;
    }
    // The caret moves as the key moves it without Shift, from where it really stands.
    e->SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION, s.caretPos);
    QKeyEvent plain(ke->type(), ke->key(), ke->modifiers() & ~Qt::ShiftModifier, QString(), ke->isAutoRepeat());
    QApplication::sendEvent(e, &plain);
    setLineSelection(e, s.anchorLine, e->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
    doc->editor()->setFocus();
}

bool TFEditor::handleEditorKey(Document *doc, QKeyEvent *ke) {
    QsciScintilla *e = doc->editor();
    const Qt::KeyboardModifiers mods = ke->modifiers() & ~Qt::KeypadModifier;
    if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) && mods == Qt::NoModifier && !e->isListActive()) {
        if (!enterInsertsBlock())
            return false;
        // A new block line below the caret's line; the caret's line stays whole.
        const int line = doc->caretLine();
        const long end = e->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line - 1);
        const QByteArray text = (u"\r\n"_s + blockPrefix()).toUtf8();
        e->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, end, text.constData());
        doc->setCaret(line + 1, 4);
        return true;
    }
    if (ke->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
        if (!e->property("velmoraTabInText").toBool()) {
            focusNextChild();
            return true;
        }
        // To the next word start of the line above, else to the next tab stop, with blanks.
        const int line = doc->caretLine();
        const int column = doc->caretColumn();
        int target = -1;
        if (line > 1) {
            const QString above = doc->line(line - 2);
            for (int i = column; i < above.size(); ++i)
                if (above[i] != u' ' && above[i] != u'\t' && (above[i - 1] == u' ' || above[i - 1] == u'\t')) {
                    target = i + 1;
                    break;
                }
        }
        if (target < 0) {
            const int tw = qMax(1, e->tabWidth());
            target = ((column - 1) / tw + 1) * tw + 1;
        }
        doc->insertAtCaret(QString(target - column, u' '));
        return true;
    }
    if (d->selectionMode == 2 && (mods & Qt::ShiftModifier) && !(mods & Qt::AltModifier) && isCaretKey(ke->key())) {
        extendLineSelection(doc, ke);
        return true;
    }
    if (d->selectionMode == 1 && (mods & Qt::ShiftModifier) && !(mods & Qt::AltModifier)) {
        switch (ke->key()) {
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Home: case Qt::Key_End:
        case Qt::Key_PageUp: case Qt::Key_PageDown: {
            QKeyEvent alt(ke->type(), ke->key(), ke->modifiers() | Qt::AltModifier, ke->text());
            QApplication::sendEvent(e, &alt);
            return true;
        }
        default: break;
        }
    }
    const QString t = ke->text();
    if (t.size() == 1 && t[0] >= u'a' && t[0] <= u'z' && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        upperCaseOnly()) {
        QKeyEvent upper(ke->type(), ke->key(), ke->modifiers(), t.toUpper(), ke->isAutoRepeat(), ushort(ke->count()));
        QApplication::sendEvent(e, &upper);
        return true;
    }
    return false;
}

bool TFEditor::eventFilter(QObject *watched, QEvent *event) {
    // Folder captions: underline and blue under the mouse, a new name on a double click.
    if (auto *label = qobject_cast<QLabel *>(watched); label && d->folderCaptions.contains(label)) {
        switch (event->type()) {
        case QEvent::Enter:
            label->setStyleSheet(u"QLabel { color: blue; text-decoration: underline; }"_s);
            label->setCursor(Qt::PointingHandCursor);
            break;
        case QEvent::Leave:
            label->setStyleSheet(u"QLabel { color: black; }"_s);
            label->unsetCursor();
            break;
        case QEvent::MouseButtonDblClick:
            renameFolderCaption(label->property("velmoraFolder").toInt());
            return true;
        default: break;
        }
        return false;
    }
    if (!d->panels.isEmpty() && watched == d->panels[4] && event->type() == QEvent::MouseButtonPress) {
        highlighterMenu_->popup(QCursor::pos());
        return true;
    }
    if (auto *e = qobject_cast<QsciScintilla *>(watched)) {
        if (event->type() == QEvent::KeyPress) {
            for (Document *doc : documents())
                if (doc->editor() == e)
                    return handleEditorKey(doc, static_cast<QKeyEvent *>(event));
        }
        return false;
    }
    // Column selection with the mouse: Scintilla makes a rectangle while Alt is held.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::MouseButtonRelease) {
        auto *vp = qobject_cast<QWidget *>(watched);
        auto *e = vp ? qobject_cast<QsciScintilla *>(vp->parentWidget()) : nullptr;
        auto *me = static_cast<QMouseEvent *>(event);
        if (e && d->selectionMode == 1 && !(me->modifiers() & Qt::AltModifier) && (me->buttons() & Qt::LeftButton ||
                                                                                     event->type() == QEvent::MouseButtonRelease)) {
            QMouseEvent alt(me->type(), me->position(), me->scenePosition(), me->globalPosition(), me->button(), me->buttons(),
                            me->modifiers() | Qt::AltModifier);
            QApplication::sendEvent(vp, &alt);
            return true;
        }
        if (e && d->selectionMode == 2 && event->type() == QEvent::MouseButtonRelease && e->hasSelectedText()) {
            int l1, c1, l2, c2;
            e->getSelection(&l1, &c1, &l2, &c2);
            const int last = c2 == 0 && l2 > l1 ? l2 - 1 : l2;
            // The caret stands at the end of the last line, so that Shift with an arrow goes on from there.
            setLineSelection(e, l1, e->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, last));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- hooks -----------------------------------------------------------------------------------

void TFEditor::addCloseQuestion(std::function<bool()> mayClose) { d->closeQuestions << std::move(mayClose); }
void TFEditor::addShutdownStep(std::function<void()> step) { d->shutdownSteps << std::move(step); }
void TFEditor::setToolTableOpener(std::function<void(const QString &)> opener) { d->host->toolTableOpener = std::move(opener); }

void TFEditor::runCommand(const std::function<void()> &command) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        command();
    } catch (const ConversionError &e) {
        QApplication::restoreOverrideCursor();
        userIO().error(e.message());
        return;
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        userIO().error(QString::fromUtf8(e.what()));
        return;
    }
    // A command on a long program frees a million small lines at once: give
    // the pages back instead of keeping them as free heap.
    malloc_trim(0);
    QApplication::restoreOverrideCursor();
}

void TFEditor::closeEvent(QCloseEvent *event) {
    writeIniSetings();
    for (const auto &q : d->closeQuestions) {
        if (!q()) {
            event->ignore();
            return;
        }
    }
    for (Document *doc : documents()) {
        if (!doc->isModified())
            continue;
        QString q = languageText(u"Messages"_s, u"Save3"_s);
        q.replace(u"%s"_s, doc->caption());
        const Answer a = userIO().message(MessageKind::Confirmation, q, kYesNoCancel);
        if (a == Answer::Cancel || a == Answer::None) {
            event->ignore();
            return;
        }
        // A save that fails or is cancelled keeps the program open with the work in it.
        if (a == Answer::Yes && !saveDocument(doc)) {
            event->ignore();
            return;
        }
    }
    if (!d->shutDown) {
        d->shutDown = true;
        for (const auto &step : d->shutdownSteps)
            step();
    }
    event->accept();
}

} // namespace velmora
