#pragma once
// What the main window offers to every subsystem. Subsystems reach the active
// document, the commands, the panels and the user only through this interface.
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace velmora {

class Document;
class UserIO;

enum class SourcePage { Files = 0, Folders = 1, Tools = 2, Rs232 = 3, Project = 4 };

class Host : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Host() override = default;

    virtual QMainWindow *mainWindow() = 0;

    // The named command ("Renumber", "SaveTable530"); shared by its menu item,
    // tool button and shortcut. Commands whose subsystem is not installed are
    // disabled; a subsystem connects its handler and enables the action.
    virtual QAction *action(const QString &name) = 0;
    // Menus by name: "Simulace", "Jazyk", "EditorMenu" (the editor's context menu), and
    // the main menus "Soubor", "Editace", "Nastroje", "Vypocty", "Sablony", "Projekty", "Pomoc".
    virtual QMenu *menu(const QString &name) = 0;
    // An empty page of the source panel (with a QVBoxLayout) for the subsystem that fills it.
    virtual QWidget *sourcePage(SourcePage page) = 0;
    virtual void showSourcePage(SourcePage page) = 0;

    // Documents.
    virtual Document *activeDocument() = 0;
    virtual QList<Document *> documents() = 0;
    // The active document, or the no-document message and null when none is open.
    virtual Document *requireDocument() = 0;
    virtual Document *newDocument() = 0;
    virtual Document *openDocument(const QString &path) = 0; // null when the file cannot be read (reported)
    virtual void addRecentFile(const QString &path) = 0;
    virtual void updateStatusBar() = 0;

    // Opening ".tnc" and ".t" files (installed by the tool table subsystem).
    virtual void setToolTableOpener(std::function<void(const QString &path)> opener) = 0;
    virtual void openToolTableFile(const QString &path) = 0;

    // Program close: questions asked after the settings are written and before the
    // documents' questions (return false to keep the program open), and steps run
    // after the documents' questions (the plug-in unload).
    virtual void addCloseQuestion(std::function<bool()> mayClose) = 0;
    virtual void addShutdownStep(std::function<void()> step) = 0;

    virtual UserIO &userIO() = 0;

    // Runs a command: a conversion error it does not catch ends it with its
    // message in an error box, and the program goes on. Shows a busy cursor.
    virtual void runCommand(const std::function<void()> &command) = 0;

signals:
    void activeDocumentChanged(velmora::Document *document);
    void documentOpened(velmora::Document *document);
    void aboutToClose();
};

} // namespace velmora
