#pragma once
// The main window: menus, toolbars, the template panel, the source panel, the
// editing area with one tab per document, and the status bar.
//
// Component names (object names, also the keys of section "Editor" of the
// language files):
//   window "TFEditor"; commands: the QAction of each command carries its name
//   ("New", "Open", "SyntaxeISO", ...; the table in commands.inc), plus
//   "SmazatSeznam", "MailAutor", "HomePage";
//   menus "Soubor", "Editace", "Nastroje", "Vypocty", "Sablony", "Projekty",
//   "Simulace", "Jazyk", "Pomoc" and submenus "NaposledyOtevrene", "Vyber",
//   "PanelIkon", "Mazak", "Heidenhain", "Text", "BarevnaSyntaxe";
//   toolbars "ToolBar1" (Soubory), "ToolBar2" (Editace), "ToolBar3" (Výpočty),
//   "ToolBar5" (Projekt); their buttons "ToolButton1", "ToolButton2", ... in
//   toolbar order;
//   template panel "PageControl1" in "PageScroller1"; source panel "PageControl"
//   with pages "TabSheetSoubory", "TabSheetAdresare", "TabSheetNastroje",
//   "TabSheetRS232", "TabSheetProjekt"; editing area "PageControl2";
//   file browser "ComboBox1", "ShellTreeView1", "ShellListView1", its menu items
//   "FileOpen", "FileProperties"; status bar "StatusBar1".
#include "shell/widgets/document.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QsciScintilla;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeView;

namespace velmora {

class Host;
class UserIO;
class TFShow;

class TFEditor : public QMainWindow {
    Q_OBJECT
public:
    // `io` answers every question; null means the Qt dialogs. The window does not own `io`.
    explicit TFEditor(UserIO *io = nullptr, QWidget *parent = nullptr);
    ~TFEditor() override;

    Host &host();
    UserIO &userIO();

    // Start-up: the splash window that advances while the window is built (may be null).
    void setSplash(TFShow *splash);
    void splashStep();
    // The steps of the start-up after the subsystems that the window needs early are in place:
    // the template panel, the splash pauses, the stored layout, the file browser, the tool table panels.
    void buildTemplatePanel();
    void splashPauses(int argumentCount);
    void applyStoredLayout();
    // The files named on the command line, opened as text documents, then the rest of the layout.
    void openStartupFiles(const QStringList &files);
    void finishStartup();
    // Reports the data files start-up needs and cannot find.
    void checkRequiredFiles();
    bool startingUp() const { return startingUp_; }

    // --- documents ----------------------------------------------------------
    Document *activeDocument() const;
    QList<Document *> documents() const;
    Document *newDocument();
    Document *openDocument(const QString &path);
    bool saveDocument(Document *doc);   // Save
    bool saveDocumentAs(Document *doc); // SaveTo
    void saveAll();
    bool closeDocument(Document *doc);  // CloseOne for that document; false when it stays open
    void closeAll();
    void openFileByType(const QString &path); // .tnc/.t to the tool tables, else a text document
    QString currentFileName() const { return currentFile_; }
    int untitledCounter() const { return untitled_; }

    // Recent files as both menus show them, newest first.
    QStringList recentFiles() const { return recent_; }
    void addRecentFile(const QString &path);
    void openRecentFile(const QString &path);
    void clearRecentFiles();

    // Settings.
    void readIniSetings(Document *doc);
    void writeIniSetings();

    // Status bar panels 0 to 7 as they show now.
    QString statusPanelText(int panel) const;
    void updateStatusBar();
    QMenu *highlighterMenu() const { return highlighterMenu_; }

    // Folder captions of the "Adresáře programů" tab and the file browser's folder list.
    QStringList folderCaptions() const;
    QStringList folderListEntries() const;
    void renameFolderCaption(int index); // asks for the new name
    QWidget *sourcePanel() const;
    QWidget *templatePanel() const;

    QAction *action(const QString &name);
    QMenu *menuByName(const QString &name);
    QWidget *sourcePage(int page);

    // Program close hooks.
    void addCloseQuestion(std::function<bool()> mayClose);
    void addShutdownStep(std::function<void()> step);
    void setToolTableOpener(std::function<void(const QString &)> opener);
    void runCommand(const std::function<void()> &command);

signals:
    void activeDocumentChanged(velmora::Document *document);
    void documentOpened(velmora::Document *document);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
    QMenu *highlighterMenu_ = nullptr;
    QStringList recent_;
    QString currentFile_;
    int untitled_ = 1;
    bool startingUp_ = true;

    void createActions();
    void createMenus();
    void createToolBars();
    void createPanels();
    void createStatusBar();
    void fitToContents();
    void fitPathPanels();
    void createFileBrowser(QWidget *page);
    void createFolderPage(QWidget *page);
    void connectCommands();
    Document *setUpDocument();
    void releaseCommandKeys(QsciScintilla *editor) const;
    void afterDocumentCreated(Document *doc);
    bool writeDocument(Document *doc, const QString &path);
    void rebuildRecentMenus();
    void rebuildFolderList();
    void setBrowserRoot(int entry);
    void openFromBrowser(const QString &path, bool byType);
    void chooseHighlighter(int choice, bool force = false);
    void applyDefaultHighlighter();
    void setSelectionMode(int mode);
    void toggleSpecialChars();
    void removeLeftBlanks();
    void undo();
    void updateLockKeys();
    void currentTabChanged();
    bool handleEditorKey(Document *doc, QKeyEvent *event);
    void setLineSelection(QsciScintilla *editor, long anchorLine, long caretPos);
    void extendLineSelection(Document *doc, QKeyEvent *event);
    void insertTemplate(const QString &setName, const QString &section, const QString &hint);
};

} // namespace velmora
