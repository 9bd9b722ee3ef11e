#pragma once
// The simulator window (TForm1, "Simulace Heidenhain 407 ISO"): the program
// editor with its stop marks, the Q table, the path tree, the times, the A-axis
// settings, the "Pozice" panel and the 3-D view, with the commands that step,
// run, stop and reset the simulation.
#include "common/colour.h"
#include "simulator/logic/interpreter.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QsciScintilla;

namespace velmora {
class UserIO;
}

namespace velmora::sim {

class PathView;
class TFSetup;
class TFInfo;
class TFHelp;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Makes the window on the module's state: builds the tree, fills the Q table,
    // shows the "Program" tab, resets the simulation and reads the colours of
    // `iniPath` (Plugin/Simdra.ini).
    TForm1(SimModule &module, UserIO &io, const QString &iniPath, QWidget *parent = nullptr);
    ~TForm1() override;

    // The dialogs made after the window, which it uses while it runs.
    void setDialogs(TFSetup *setup, TFInfo *info, TFHelp *help);

    void setProgram(const QStringList &lines);
    // The program from a source of `count` lines, read one at a time.
    void setProgram(int count, const std::function<QString(int)> &line);
    // Frees the path once the window is closed (before the program goes back).
    void releasePath();
    QStringList program() const;
    // The program as Windows-1250 lines; false (with the 0-based line and the
    // character) when a character has no byte in the code page.
    bool programCp1250(QList<QByteArray> &out, int &badLine, QChar &badChar) const;

    // Shows the window maximised and returns when it is closed.
    void showModal();

    Simulation &simulation() { return *sim_; }
    QsciScintilla *editor() const { return editor_; }
    PathView *view() const { return view_; }
    QAction *action(const QString &name) const;

    // The commands (menus, toolbar, keys).
    void stepCommand();
    void runCommand();
    void stopCommand();
    void resetCommand();
    void runToBlockCommand();
    void settingsCommand();
    void savePictureCommand();
    void printCommand();
    // A click on a path tree node: applies its check mark, then toggles it.
    void treeNodeClicked(QTreeWidgetItem *item);
    void findInProgram(QTreeWidgetItem *item);
    // A click in the editor's gutter on a line (0-based).
    void gutterClicked(int line);
    // Picking at a point of the view (with "Zjistit souřadnice přímek" on).
    void pick(QPoint pos);

    bool hasStopMark(int line) const; // 1-based
    QTreeWidgetItem *pathRoot() const;
    QString labelText(const char *name) const;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    class EditorProgram;
    class Messages;
    class Hooks;

    void buildActions();
    void buildEditor();
    void buildTabs();
    void buildPosition();
    void applyColours(ColorValue background, ColorValue currentLine);
    void syncSettings();
    void afterBlocks(bool preview);
    void showTimes();
    void setTreeMark(QTreeWidgetItem *item, bool checked);
    void setEditorCaret(int line);
    int editorCaret() const;

    SimModule &module_;
    UserIO &io_;
    QString iniPath_;
    std::unique_ptr<EditorProgram> text_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<Simulation> sim_;
    TFSetup *setup_ = nullptr;
    TFInfo *info_ = nullptr;
    TFHelp *help_ = nullptr;

    QsciScintilla *editor_ = nullptr;
    PathView *view_ = nullptr;
    QWidget *viewArea_ = nullptr;
    QTabWidget *tabs_ = nullptr;
    QTableWidget *qTable_ = nullptr;
    QTreeWidget *tree_ = nullptr;
    QCheckBox *picking_ = nullptr;
    QCheckBox *aAxis_ = nullptr;
    QLineEdit *diameter_ = nullptr;
    QDockWidget *position_ = nullptr;
    QLabel *positionLabels_[2][4] = {};
    QLabel *timeLabel_ = nullptr, *toolChangeLabel_ = nullptr, *rapidLabel_ = nullptr, *drillLabel_ = nullptr,
           *tapLabel_ = nullptr;
    bool running_ = false;
    bool stopRequested_ = false;
    size_t treeToolNodes_ = 0;
    bool closing_ = false;
};

} // namespace velmora::sim
