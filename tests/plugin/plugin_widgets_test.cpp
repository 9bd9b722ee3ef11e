// The plug-in host in the real main window: the "Simulace" menu, procedures
// run from it, and the exported GetText, SetText and RegisterCallBack called
// back by a real plug-in library.
#include "plugin/logic/tplugin.h"
#include "plugin/widgets/hostentries.h"
#include "plugin/widgets/install.h"
#include "plugin/widgets/tmnupluginloader.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QMenu>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Fixture {
    test::ScratchFolder scratch;

    QString put(const char *built, const QString &name) const {
        const QString target = scratch.path() + QStringLiteral("Plugin/") + name;
        QDir().mkpath(QFileInfo(target).path());
        EXPECT_TRUE(QFile::copy(QString::fromUtf8(built), target));
        return target;
    }
};

QString logOf(const QString &path) {
    QLibrary lib(path);
    auto log = reinterpret_cast<const char *(*)()>(lib.resolve("TestLog"));
    return log ? QString::fromLatin1(log()) : QStringLiteral("<no log>");
}

void setMode(const QString &path, int mode) {
    QLibrary lib(path);
    auto set = reinterpret_cast<void (*)(int)>(lib.resolve("TestSetMode"));
    ASSERT_TRUE(set);
    set(mode);
}

QList<QAction *> simulace(TFEditor &w) {
    QMenu *menu = w.host().menu(QStringLiteral("Simulace"));
    return menu ? menu->actions() : QList<QAction *>();
}

const QStringList kProgram = {QStringLiteral("%ŠROUB G71 *"), QStringLiteral("N10 G00 X+10 Y-5 * ; vrtání – díra č. 1"),
                              QString(), QStringLiteral("N9999 %ŠROUB G71 *")};

} // namespace

TEST(PluginHost, ProceduresOfTwoPluginsFillTheMenuInLoadOrderAndRunFromIt) {
    Fixture f;
    const QString a = f.put(TP_TWO_PATH, QStringLiteral("a.so"));
    const QString b = f.put(TP_ONE_PATH, QStringLiteral("b.so"));
    f.scratch.write(QStringLiteral("Plugin/c-readme.so"), "not a library\r\n"); // skipped, no harm
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());

    const QList<QAction *> items = simulace(w);
    ASSERT_EQ(items.size(), 3);
    const char *captions[] = {"Kružnice A0", "Kružnice A1", "Kružnice B0"};
    const char *hints[] = {"Hint A0", "", "Hint B0"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(items[i]->statusTip(), QString::fromUtf8(hints[i]));
        EXPECT_EQ(items[i]->data().toInt(), i);
    }

    Document *doc = w.newDocument();
    doc->setLines(kProgram);
    doc->setModified(false);
    w.show();
    items[2]->trigger(); // the second plug-in's only procedure
    EXPECT_EQ(logOf(b), QStringLiteral("I;R0,0;R0,1;R0,2;R0,3;R0,4;ProcB0;got 4;"));
    EXPECT_FALSE(logOf(a).contains(QStringLiteral("Proc")));
    EXPECT_EQ(doc->lines(), kProgram + QStringList{QStringLiteral("; upraveno ž")});
    EXPECT_TRUE(io.shown.isEmpty());

    // The unload step at program close leaves the libraries loaded and the menu as it is.
    auto *plugin = w.host().findChild<TPlugIn *>(QStringLiteral("PlugIn1"));
    ASSERT_TRUE(plugin);
    doc->setModified(false);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(plugin->Count, 0);
    EXPECT_EQ(simulace(w).size(), 3);
}

TEST(PluginHost, WithoutAPluginFolderTheMenuStaysEmpty) {
    test::ScratchFolder scratch;
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());
    EXPECT_TRUE(simulace(w).isEmpty());
    EXPECT_TRUE(io.shown.isEmpty());
}

TEST(PluginHost, TextRoundTripsKeepCzechTextSetTheFlagAndMaximiseTheWindow) {
    const struct {
        const char *what;
        int mode; // what the procedure does, see testplugin.c
        Qt::WindowState before;
        QStringList after;
    } cases[] = {
        {"a line appended", 0, Qt::WindowNoState, kProgram + QStringList{QStringLiteral("; upraveno ž")}},
        {"an empty list", 1, Qt::WindowMaximized, {}},
        {"the text unchanged", 2, Qt::WindowMinimized, kProgram},
        {"the text unchanged, from full screen", 2, Qt::WindowFullScreen, kProgram},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const QString lib = f.put(TP_ONE_PATH, QStringLiteral("one.so"));
        ScriptedUserIO io;
        TFEditor w(&io);
        installPlugin(w.host());
        Document *doc = w.newDocument();
        doc->setLines(kProgram);
        doc->setModified(false);
        w.show();
        w.setWindowState(c.before);
        setMode(lib, c.mode);
        ASSERT_EQ(simulace(w).size(), 1);
        simulace(w)[0]->trigger();

        EXPECT_EQ(doc->lines(), c.after);
        EXPECT_EQ(doc->lineCount(), c.after.size());
        EXPECT_TRUE(doc->isModified());
        EXPECT_EQ(w.windowState(), Qt::WindowMaximized); // maximised, not restored
        EXPECT_TRUE(io.shown.isEmpty());
    }
}

TEST(PluginHost, GetTextRefusesWhatItCannotHandOverAndAFailedProcedureLeavesTheWindowMinimised) {
    Fixture f;
    const QString lib = f.put(TP_ONE_PATH, QStringLiteral("one.so"));
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());
    w.show();
    w.setWindowState(Qt::WindowNoState);
    ASSERT_EQ(simulace(w).size(), 1);
    QAction *item = simulace(w)[0];

    // No document: the no-document message, no text, the window as it was.
    item->trigger();
    EXPECT_TRUE(logOf(lib).endsWith(QStringLiteral("ProcB0;no text;")));
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(w.windowState(), Qt::WindowNoState);

    // A character Windows-1250 has no byte for: refused, naming the line.
    Document *doc = w.newDocument();
    const QStringList odd = {QStringLiteral("N10 G00 *"), QStringLiteral("N20 ; šipka → vpravo")};
    doc->setLines(odd);
    doc->setModified(false);
    item->trigger();
    EXPECT_TRUE(logOf(lib).endsWith(QStringLiteral("ProcB0;no text;")));
    ASSERT_EQ(io.shown.size(), 2);
    EXPECT_TRUE(io.shown[1].text.contains(QStringLiteral("Řádek 2"))) << qPrintable(io.shown[1].text);
    EXPECT_EQ(doc->lines(), odd);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(w.windowState(), Qt::WindowNoState);

    // A procedure that fails after GetText: the document stays, the window minimised.
    doc->setLines(kProgram);
    doc->setModified(false);
    setMode(lib, 3);
    item->trigger();
    EXPECT_TRUE(logOf(lib).endsWith(QStringLiteral("ProcB0;got 4;")));
    EXPECT_EQ(doc->lines(), kProgram);
    EXPECT_FALSE(doc->isModified());
    EXPECT_TRUE(w.windowState() & Qt::WindowMinimized);

    // RegisterCallBack only sets the mark.
    EXPECT_FALSE(w.property("PluginCallBack").toBool());
    setMode(lib, 4);
    item->trigger();
    EXPECT_TRUE(pluginCallBackRegistered());
    EXPECT_TRUE(w.property("PluginCallBack").toBool());
    EXPECT_EQ(doc->lines(), kProgram);
    EXPECT_EQ(io.shown.size(), 2);
}

TEST(MenuLoader, RaisesItsHooksInOrderAndKeepsTheHandlerSubscribedBefore) {
    Fixture f;
    const QString a = f.put(TP_TWO_PATH, QStringLiteral("a.so"));
    TPlugIn plugin;
    QStringList seen;
    plugin.OnLoadPlugin = [&](int i, const QVariant &, const TPluginProc &) { seen << QStringLiteral("earlier %1").arg(i); };
    QMenu menu;
    menu.addAction(QStringLiteral("there before"));
    {
        TMnuPluginLoader loader;
        loader.MenuItem = &menu;
        loader.OnBeforeLoad = [&](int i, const QVariant &, const TPluginProc &) { seen << QStringLiteral("before %1").arg(i); };
        loader.OnMenuCreated = [&](QAction *item) { seen << QStringLiteral("created ") + item->text(); };
        loader.OnAfterLoad = [&](int i, const QVariant &, const TPluginProc &) { seen << QStringLiteral("after %1").arg(i); };
        loader.setPlugin(&plugin);
        plugin.LoadPlugins(f.scratch.path() + QStringLiteral("Plugin"));

        EXPECT_EQ(seen, (QStringList{"before 0", "created Kružnice A0", "earlier 0", "after 0", "before 1",
                                     "created Kružnice A1", "earlier 1", "after 1"}));
        ASSERT_EQ(menu.actions().size(), 3); // appended at the end
        EXPECT_EQ(loader.items(), menu.actions().mid(1));

        // Tags outside the procedures do nothing; a valid one runs its entry.
        loader.run(2);
        loader.run(-1);
        EXPECT_FALSE(logOf(a).contains(QStringLiteral("Proc")));
        loader.run(1);
        EXPECT_TRUE(logOf(a).contains(QStringLiteral("ProcA1;")));
    }
    // Without the loader, the plug-in component has its earlier handler back.
    seen.clear();
    ASSERT_TRUE(plugin.OnLoadPlugin);
    plugin.OnLoadPlugin(7, QVariant(), plugin.procedures()[0]);
    EXPECT_EQ(seen, QStringList{"earlier 7"});
}

#ifdef SIMDRA_PATH
// The shipped simulation plug-in, loaded into the real host as it is built.
TEST(PluginHost, TheSimulationPluginGivesOneItem) {
    Fixture f;
    f.put(SIMDRA_PATH, QFileInfo(QStringLiteral(SIMDRA_PATH)).fileName());
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());
    const QList<QAction *> items = simulace(w);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Simulace Heidenhain 407 ISO"));
    EXPECT_EQ(items[0]->statusTip(), QStringLiteral("Simulace Heidenhain 407 ISO"));
    auto *plugin = w.host().findChild<TPlugIn *>(QStringLiteral("PlugIn1"));
    ASSERT_TRUE(plugin);
    ASSERT_EQ(plugin->procedures().size(), 1);
    EXPECT_EQ(plugin->procedures()[0].entryName, "H407");
    EXPECT_EQ(plugin->procedures()[0].version, "Version 1.0");
}

// Answers every message box the plug-in shows itself, keeping its text.
struct BoxWatch {
    QStringList texts;
    QTimer timer;
    BoxWatch() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start();
    }
};

QWidget *simulatorWindow() {
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("Form1") && top->isVisible())
            return top;
    return nullptr;
}

TEST(PluginHost, TheSimulationCallRunsTheWindowAndHandsTheEditedTextBack) {
    Fixture f;
    f.put(SIMDRA_PATH, QStringLiteral("Simdra.so"));
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());
    Document *doc = w.newDocument();
    const QStringList program = {QStringLiteral("%ŠROUB G71 *"), QStringLiteral("N10 G90 G00 X10 ; díra"),
                                 QStringLiteral("N20 G01 Y5 F100"), QStringLiteral("N30 %ŠROUB G71 *")};
    doc->setLines(program);
    doc->setModified(false);
    w.show();
    QStringList shownText;
    QString caption;
    int caret = -1;
    QTimer::singleShot(100, [&] {
        QWidget *form = simulatorWindow();
        ASSERT_TRUE(form);
        caption = form->windowTitle();
        auto *editor = form->findChild<QsciScintilla *>(QStringLiteral("SynEdit1"));
        ASSERT_TRUE(editor);
        for (int i = 0; i < editor->lines(); ++i)
            shownText << editor->text(i).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        form->findChild<QAction *>(QStringLiteral("Pokroku1"))->trigger();
        form->findChild<QAction *>(QStringLiteral("Pokroku1"))->trigger();
        int index = 0;
        editor->getCursorPosition(&caret, &index);
        editor->insertAt(QStringLiteral("N5 "), 1, 0); // an edit in the simulator
        form->close();
    });
    BoxWatch boxes;
    ASSERT_EQ(simulace(w).size(), 1);
    simulace(w)[0]->trigger();
    EXPECT_EQ(caption, "Simulace Heidenhain 407 ISO");
    EXPECT_EQ(shownText, program);
    EXPECT_EQ(caret, 2); // two steps from the first line: lines 2 and 3
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(" | ").toStdString();
    QStringList edited = program;
    edited[1] = QStringLiteral("N5 N10 G90 G00 X10 ; díra");
    EXPECT_EQ(doc->lines(), edited);
    EXPECT_TRUE(doc->isModified());
}

TEST(PluginHost, TheSimulationCallWithoutADocumentSaysItCannotRun) {
    Fixture f;
    f.put(SIMDRA_PATH, QStringLiteral("Simdra.so"));
    ScriptedUserIO io;
    TFEditor w(&io);
    installPlugin(w.host());
    w.show();
    BoxWatch boxes;
    simulace(w)[0]->trigger();
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Nelze spustit simulaci pro Heidenhain 407 ISO")});
    EXPECT_EQ(simulatorWindow(), nullptr);
}
#endif
