// The main window as a new user meets it: shortcuts, the template tabs, line
// selection, the status bar, the folders and the size it opens at.
#include "common/ini.h"
#include "common/programfolder.h"
#include "shell/logic/setup.h"
#include "shell/widgets/host.h"
#include "tests/shell/shellfixture.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

using namespace velmora;
using velmora::test::Shell;

namespace {

// The main window shown and active, with one document whose editor has the focus.
class FocusedEditor : public Shell {
protected:
    Document *doc = nullptr;

    void showWithDocument(const QStringList &lines) {
        start();
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        doc = w->openDocument(program("p.nc", lines));
        ASSERT_NE(doc, nullptr);
        doc->setCaret(2, 3);
        doc->editor()->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), doc->editor());
    }
    void press(const QKeySequence &keys) {
        const QKeyCombination k = keys[0];
        QTest::keyClick(doc->editor(), k.key(), k.keyboardModifiers());
    }
};

} // namespace

TEST_F(FocusedEditor, EveryShortcutOfTheCommandTableReachesItsCommand) {
    const QStringList text{"N10 G0 X0", "N20 G1 X10", "N30 M30"};
    showWithDocument(text);
    // Each command with a shortcut only counts here, so that none of them opens a dialog.
    QMap<QString, int> fired;
    QList<QAction *> commands;
    for (QAction *a : w->findChildren<QAction *>()) {
        if (a->shortcut().isEmpty())
            continue;
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, a, [&fired, a] { ++fired[a->objectName()]; });
        commands << a;
    }
    // The whole table of the menus: Ctrl+N … Ctrl+Shift+S, the function keys and Alt+F4.
    EXPECT_GE(commands.size(), 30);
    for (const char *name : {"PrintTnc", "Undo", "Redo", "CopyA", "SelectAll", "Find", "Replace", "SyntaxeISO2"})
        EXPECT_TRUE(std::any_of(commands.begin(), commands.end(), [&](QAction *a) { return a->objectName() == name; }))
            << name;
    for (QAction *a : commands) {
        const QString name = a->objectName();
        fired.clear();
        press(a->shortcut());
        EXPECT_EQ(fired.value(name), 1) << name.toStdString() << " " << a->shortcut().toString().toStdString();
        EXPECT_EQ(fired.size(), 1) << name.toStdString();
        EXPECT_EQ(doc->lines(), text) << name.toStdString() << " changed the program";
        EXPECT_FALSE(doc->isModified()) << name.toStdString();
        doc->editor()->setFocus();
    }
}

TEST_F(FocusedEditor, CtrlTLeavesTheProgramAloneAndAltBackspaceSaysNoUndo) {
    showWithDocument({"N10 A", "N20 B"});
    press(QKeySequence(QStringLiteral("Ctrl+T")));
    EXPECT_EQ(doc->lines(), QStringList({"N10 A", "N20 B"}));
    EXPECT_FALSE(doc->isModified());
    press(QKeySequence(QStringLiteral("Alt+Backspace")));
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, "No Undo");
    // With something to undo the same key undoes it.
    QTest::keyClicks(doc->editor(), "X");
    EXPECT_EQ(doc->line(1), "N2X0 B");
    press(QKeySequence(QStringLiteral("Alt+Backspace")));
    EXPECT_EQ(doc->line(1), "N20 B");
    EXPECT_EQ(io.shown.size(), 1);
}

TEST_F(Shell, TemplateTabsAreHiddenBySectionVisible) {
    for (const char *name : {"iso", "dialog"})
        folder.write(QString("sablony/%1.sab").arg(name),
                     QString("[popis | popis]\r\n%1: Set %1\r\ninfo: \r\ndialog:none\r\n[S | Start]\r\nN10\r\n\r\n").arg(name).toLatin1());
    // The key as a user writes it, with the caption's leading blank.
    folder.write("SetupCNC.ini", "[Visible]\r\n Set iso=0\r\n");
    const auto startWithTemplates = [this] {
        w = std::make_unique<TFEditor>(&io);
        w->buildTemplatePanel();
        w->applyStoredLayout();
        w->finishStartup();
    };
    const auto shown = [this](const QString &caption) {
        auto *tabs = w->templatePanel()->findChild<QTabWidget *>("PageControl1");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption)
                return tabs->isTabVisible(i);
        ADD_FAILURE() << "no tab " << caption.toStdString();
        return false;
    };
    startWithTemplates();
    EXPECT_FALSE(shown(" Set iso"));
    EXPECT_TRUE(shown(" Set dialog"));
    // The keys the program writes itself hide the same tab at the next start.
    ASSERT_TRUE(closeProgram());
    EXPECT_FALSE(setupIni().readBool("Visible", " Set iso", true));
    w.reset();
    startWithTemplates();
    EXPECT_FALSE(shown(" Set iso"));
    EXPECT_TRUE(shown(" Set dialog"));
}

TEST_F(FocusedEditor, LineSelectionWidensKeyboardSelectionsToWholeLines) {
    showWithDocument({"N10 A", "N20 B", "N30 C", "N40 D"});
    w->action("RadkovyVyber")->trigger();
    const struct {
        int line, column;
        QList<QPair<int, Qt::KeyboardModifiers>> keys;
        const char *selected;
    } cases[] = {
        {2, 3, {{Qt::Key_Down, Qt::ShiftModifier}}, "N20 B\r\nN30 C\r\n"},
        {1, 2, {{Qt::Key_End, Qt::ShiftModifier}}, "N10 A\r\n"},
        {2, 4, {{Qt::Key_Right, Qt::ShiftModifier}}, "N20 B\r\n"},
        {3, 2, {{Qt::Key_Up, Qt::ShiftModifier}}, "N20 B\r\nN30 C\r\n"},
        // Going back over the starting line shrinks the selection to it, then grows it the other way.
        {3, 2, {{Qt::Key_Up, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}}, "N30 C\r\n"},
        {3, 2, {{Qt::Key_Up, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}},
         "N30 C\r\nN40 D\r\n"},
        {2, 1, {{Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier}}, "N20 B\r\nN30 C\r\nN40 D\r\n"},
    };
    for (const auto &c : cases) {
        doc->setCaret(c.line, c.column);
        for (const auto &[key, mods] : c.keys)
            QTest::keyClick(doc->editor(), Qt::Key(key), mods);
        EXPECT_EQ(doc->selectedText(), QString::fromUtf8(c.selected)) << c.line << ":" << c.column;
    }
    // Typing replaces the selected lines as a whole.
    doc->setCaret(2, 3);
    QTest::keyClick(doc->editor(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(doc->editor(), Qt::Key_Delete);
    EXPECT_EQ(doc->lines(), QStringList({"N10 A", "N40 D"}));
    // In normal mode Shift and an arrow still select characters.
    w->action("NormalniVyber")->trigger();
    doc->setCaret(1, 1);
    QTest::keyClick(doc->editor(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(doc->selectedText(), "N");
}

TEST_F(Shell, HintsNeverHideTheStatusBarPanels) {
    start();
    w->show();
    w->newDocument();
    const auto panelsShown = [this] {
        int shown = 0;
        for (int i = 0; i < 8; ++i)
            shown += !w->findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(i))->isHidden();
        return shown;
    };
    ASSERT_EQ(panelsShown(), 8);
    // Pointing at a menu item, as the menu does it.
    QMenu *file = w->menuByName("Soubor");
    file->popup(w->mapToGlobal(QPoint(10, 10)));
    file->setActiveAction(w->action("New"));
    QApplication::processEvents();
    EXPECT_EQ(panelsShown(), 8);
    file->hide();
    // Any hint that reaches the window.
    QStatusTipEvent tip(QStringLiteral("Nový program"));
    QApplication::sendEvent(w.get(), &tip);
    EXPECT_EQ(panelsShown(), 8);
    EXPECT_TRUE(w->statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(w->statusPanelText(6), "NumLock");
}

TEST_F(Shell, TheWindowOpensAtASizeWhereItsToolbarsAndPanelsFit) {
    start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // A long file name in a deep folder: the panels shorten what does not fit and keep it whole as a hint.
    const QString deep = QString("prog/%1/%1/%1/%1/%1").arg(QString(30, u'd'));
    const QString name = "a_rather_long_program_name_for_the_status_panel.nc";
    Document *doc = w->openDocument(program(deep + "/" + name, {"N10"}));
    ASSERT_NE(doc, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(w->statusPanelText(3), name);
    EXPECT_EQ(w->statusPanelText(5), QDir::toNativeSeparators(QFileInfo(folder.file(deep)).absoluteFilePath()));
    EXPECT_EQ(w->findChild<QLabel *>("StatusPanel3")->toolTip(), name);
    for (const char *name : {"ToolBar1", "ToolBar2", "ToolBar3", "ToolBar5"}) {
        auto *tb = w->findChild<QToolBar *>(name);
        ASSERT_TRUE(tb) << name;
        EXPECT_TRUE(tb->isVisible()) << name;
        EXPECT_LE(tb->geometry().right(), w->width()) << name;
        for (QAction *a : tb->actions()) {
            if (!a->isSeparator()) {
                EXPECT_TRUE(tb->widgetForAction(a)->isVisible()) << name << " " << a->objectName().toStdString();
            }
        }
        auto *more = tb->findChild<QToolButton *>("qt_toolbar_ext_button");
        EXPECT_TRUE(!more || !more->isVisible()) << name << " is cut off";
    }
    QStatusBar *sb = w->statusBar();
    for (int i = 0; i < 8; ++i) {
        auto *panel = w->findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(i));
        const QRect r(panel->mapTo(sb, QPoint(0, 0)), panel->size());
        EXPECT_TRUE(sb->rect().contains(r)) << "panel " << i << " is cut off";
        if (!panel->text().isEmpty()) {
            EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width()) << i;
        }
    }
    EXPECT_GE(w->findChild<QLabel *>("StatusPanel7")->width(), 50);
}

TEST_F(Shell, FolderFieldsShowTheRealFolderAndKeepTheStoredOne) {
    QDir().mkpath(folder.file("prog"));
    const QString prog = QFileInfo(folder.file("prog")).absoluteFilePath();
    folder.write("SetupCNC.ini", ("[Adresar]\r\nOverProg=" + prog + "\r\n").toUtf8());
    start();
    const auto field = [this](int i) { return w->findChild<QLineEdit *>(QStringLiteral("EditAdr%1").arg(i)); };
    EXPECT_EQ(field(1)->text(), QDir::toNativeSeparators(prog));
    // "c:\" of a fresh settings file stands for the home folder here.
    for (int i = 2; i <= 7; ++i)
        EXPECT_EQ(field(i)->text(), QDir::toNativeSeparators(QDir::homePath())) << i;
    // The file browser shows that folder too.
    auto *list = w->findChild<QComboBox *>("ComboBox1");
    list->setCurrentIndex(5);
    emit list->activated(5);
    auto *tree = w->findChild<QTreeView *>("ShellTreeView1");
    auto *model = qobject_cast<QFileSystemModel *>(tree->model());
    ASSERT_TRUE(model);
    EXPECT_EQ(model->filePath(tree->rootIndex()), QDir::homePath());
    // Closing stores what was stored, not the folder shown; a folder typed is stored as typed.
    field(7)->setText(prog);
    ASSERT_TRUE(closeProgram());
    const IniFile ini = setupIni();
    EXPECT_EQ(ini.readString("Adresar", "OverProg"), prog);
    EXPECT_EQ(ini.readString("Adresar", "Geometrie"), "c:\\");
    EXPECT_EQ(ini.readString("Adresar", "Projekty"), prog);
}
