// The simulator window, its dialogs and its commands, driven as a user would.
#include "common/numbers.h"
#include "shell/logic/userio.h"
#include "simfixture.h"
#include "simulator/logic/simsettings.h"
#include "simulator/widgets/simdialogs.h"
#include "simulator/widgets/tform1.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::sim;
using velmora::sim::test::lines;

namespace {

struct Window {
    explicit Window(const QStringList &program) : ini(dir.filePath(QStringLiteral("Plugin/Simdra.ini"))) {
        form = std::make_unique<TForm1>(module, io, ini);
        setup = std::make_unique<TFSetup>(form.get());
        setup->readSettings(ini);
        info = std::make_unique<TFInfo>(io, form.get());
        help = std::make_unique<TFHelp>(form.get());
        form->setDialogs(setup.get(), info.get(), help.get());
        form->setProgram(program);
    }
    void trigger(const char *action) { form->action(QLatin1String(action))->trigger(); }
    int caret() const {
        int line = 0, index = 0;
        form->editor()->getCursorPosition(&line, &index);
        return line + 1;
    }
    QString q(int n) const { return form->findChild<QTableWidget *>(QStringLiteral("StringGrid1"))->item(n - 1, 1)->text(); }

    QTemporaryDir dir;
    QString ini;
    SimModule module;
    ScriptedUserIO io;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TFSetup> setup;
    std::unique_ptr<TFInfo> info;
    std::unique_ptr<TFHelp> help;
};

TEST(SimulatorWindow, FrameMenusToolbarTabsAndPanels) {
    Window w(lines({"%P G71 *", "G0 X1"}));
    TForm1 &f = *w.form;
    EXPECT_EQ(f.windowTitle(), "Simulace Heidenhain 407 ISO");
    QStringList menus;
    for (QAction *a : f.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"Soubor", "Simulace", "Nastavení", "O aplikaci"}));
    const struct {
        const char *name, *caption, *key;
    } actions[] = {{"Uloitobrzek1", "Uložit obrázek", "Ctrl+S"}, {"Tisk1", "Tisk", "Ctrl+P"}, {"Konec1", "Konec", ""},
                   {"Pokroku1", "Po kroku", "F8"},              {"Plynule1", "Plynule", "F9"}, {"Stop1", "Stop", "F10"},
                   {"Reset1", "Reset", "F12"},                  {"Prosted1", "Prostředí", ""}, {"Plugin1", "Plug-in", ""},
                   {"Help1", "Help", ""}};
    for (const auto &a : actions) {
        QAction *act = f.action(QLatin1String(a.name));
        ASSERT_TRUE(act) << a.name;
        EXPECT_EQ(act->text(), QString::fromUtf8(a.caption));
        EXPECT_EQ(act->shortcut().toString(), QLatin1String(a.key)) << a.name;
    }
    QStringList bar;
    for (QAction *a : f.findChild<QToolBar *>(QStringLiteral("ToolBar1"))->actions()) {
        bar << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
        }
    }
    EXPECT_EQ(bar, (QStringList{"ZoomIn", "ZoomOut", "|", "Prosted1", "|", "Stop1", "Pokroku1", "Plynule1", "|", "Reset1",
                                "StopNaRadku"}));
    auto *tabs = f.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages << tabs->tabText(i);
    EXPECT_EQ(pages, (QStringList{"Program", "Q parametry", "Dráhy", "Info", "Osa A"}));
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (const char *name : {"LAktG", "LAktX", "LAktY", "LDalsiG", "LDalsiX"})
        EXPECT_EQ(f.labelText(name), "0") << name;
    EXPECT_EQ(f.labelText("LAktZ"), "600");
    auto *table = f.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    EXPECT_EQ(table->rowCount(), 255);
    EXPECT_EQ(table->item(0, 0)->text(), "1");
    EXPECT_EQ(table->item(254, 0)->text(), "255");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Hodnota");
    QTreeWidgetItem *root = f.pathRoot();
    EXPECT_EQ(root->text(0), "Dráhy");
    QStringList kinds;
    for (int i = 0; i < root->childCount(); ++i)
        kinds << root->child(i)->text(0);
    EXPECT_EQ(kinds, (QStringList{"Rychloposuv", "Posuv", "Levá korekce", "Pravá korekce", "Vrtání", "Závity"}));
    // No OpenGL on the offscreen platform: the view area says so and everything else works.
    auto *placeholder = f.findChild<QLabel *>(QStringLiteral("GLSceneViewer1"));
    ASSERT_TRUE(placeholder);
    EXPECT_TRUE(placeholder->text().contains(QStringLiteral("OpenGL")));
}

TEST(SimulatorWindow, StepRunResetAndThePanels) {
    Window w(lines({"%P G71 *", "N10 G90 G17 T1", "N20 G00 X10 Y5 Z2", "N30 D00 Q4 P01 2.50", "N40 Q1 = 2+3*4",
                    "N50 G01 X12.5 F100", "N60 G17 T2", "N70 G01 Y20", "N80 M30", "N90 %P G71 *"}));
    w.trigger("Pokroku1");
    EXPECT_EQ(w.caret(), 2);
    w.trigger("Pokroku1");
    EXPECT_EQ(w.caret(), 3);
    EXPECT_EQ(w.form->labelText("LAktX"), "10");
    EXPECT_EQ(w.form->labelText("LAktZ"), "2");
    EXPECT_EQ(w.form->labelText("LAktG"), "00");
    EXPECT_EQ(w.form->labelText("LDalsiG"), "00"); // from the preview of line 3; line 4 has no G0 or G1
    w.trigger("Plynule1");
    EXPECT_EQ(w.caret(), 9);
    EXPECT_EQ(w.io.shown.size(), 1);
    EXPECT_EQ(w.io.shown.value(0).text, "Ok");
    EXPECT_EQ(w.q(4), "2,50");
    EXPECT_EQ(w.q(1), "14");
    EXPECT_EQ(w.form->labelText("LCasVymeny"), "1");
    // Tool changes, the rapid move, a move by nothing, two feed moves, added in this order.
    double total = 0;
    for (double t : {0.5, std::sqrt(10 * 10 + 5 * 5 + 598 * 598.0) / 10000, 0.0, 0.025, 0.5, 0.15})
        total += t;
    EXPECT_EQ(w.form->labelText("LCas"), formatGeneral(total));
    QTreeWidget *tree = w.form->pathRoot()->treeWidget();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Nástroj - #1");
    EXPECT_EQ(tree->topLevelItem(2)->child(0)->text(0), "N60 G17 T2");
    // The tool node hides the segments of its tool and unchecks.
    w.form->treeNodeClicked(tree->topLevelItem(1));
    EXPECT_EQ(tree->topLevelItem(1)->data(0, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    const SegmentStore &segs = w.form->simulation().segments();
    for (size_t i = 0; i < segs.size(); ++i)
        EXPECT_EQ(bool(segs[i].visible), segs[i].tool != 1) << i;
    w.form->treeNodeClicked(tree->topLevelItem(1));
    EXPECT_TRUE(segs[0].visible);
    // "Najdi v programu" puts the caret on the equal line.
    w.form->findInProgram(tree->topLevelItem(2)->child(0));
    EXPECT_EQ(w.caret(), 7);

    w.trigger("Reset1");
    EXPECT_EQ(w.caret(), 7); // the caret stays
    EXPECT_EQ(w.q(1), "");
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(w.form->labelText("LCas"), "0");
    EXPECT_EQ(w.form->simulation().segments().size(), 0u);
    EXPECT_EQ(w.module.q[1], 14); // the Q values stay
}

TEST(SimulatorWindow, StopMarksAndRunToABlock) {
    QStringList prog{QStringLiteral("%P G71 *")};
    for (int i = 1; i <= 30; ++i)
        prog << QStringLiteral("N%1 G91 X1").arg(i * 10);
    Window w(prog);
    // A gutter click adds a stop mark; a second click removes it.
    w.form->gutterClicked(4);
    EXPECT_TRUE(w.form->hasStopMark(5));
    EXPECT_EQ(w.caret(), 5);
    w.form->gutterClicked(4);
    EXPECT_FALSE(w.form->hasStopMark(5));
    // "Stop na řádku" with 20 marks the block N20 (line 3), not N200.
    w.io.inputs << QStringLiteral("20");
    w.trigger("StopNaRadku");
    EXPECT_TRUE(w.form->hasStopMark(3));
    w.form->editor()->setCursorPosition(0, 0);
    w.trigger("Plynule1");
    EXPECT_EQ(w.caret(), 3);
    w.trigger("Plynule1");
    EXPECT_EQ(w.caret(), 3); // a run on a marked line stops at once
    w.trigger("Pokroku1");
    EXPECT_EQ(w.caret(), 4);
    // A missing block marks nothing.
    w.io.inputs << QStringLiteral("999");
    w.trigger("StopNaRadku");
    for (int line = 1; line <= 31; ++line)
        EXPECT_EQ(w.form->hasStopMark(line), line == 3) << line;
}

TEST(SimulatorWindow, EditsGoIntoTheProgramAndTheCaretIsThePosition) {
    Window w(lines({"%P G71 *", "G91 X1", "G91 X2", "G91 X4"}));
    w.form->editor()->setCursorPosition(2, 0); // the user puts the caret on line 3
    w.form->editor()->insertAt(QStringLiteral("N5 "), 3, 0);
    w.trigger("Pokroku1");
    EXPECT_EQ(w.caret(), 4);
    EXPECT_DOUBLE_EQ(w.module.state.c.X, 4);
    EXPECT_EQ(w.form->program(), lines({"%P G71 *", "G91 X1", "G91 X2", "N5 G91 X4"}));
}

TEST(SimulatorWindow, SettingsDialog) {
    Window w(lines({"%P G71 *", "G90 G00 X100", "G90 G00 X0", "M30", "%P"}));
    // Without a file: white current line in the dialog, 10000 and 0,5.
    EXPECT_EQ(w.setup->settings().currentLine, clWhite);
    EXPECT_EQ(w.setup->rapidText(), "10000");
    EXPECT_EQ(w.setup->toolChangeText(), "0,5");
    // The window's own default current line is yellow.
    EXPECT_EQ(w.form->editor()->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEBACK), long(clYellow));
    // Closing without OK after typing 20000 writes nothing but times the next moves with it.
    w.setup->findChild<QLineEdit *>(QStringLiteral("LBrychloposuv"))->setText(QStringLiteral("20000"));
    QTimer::singleShot(0, w.setup.get(), &QDialog::reject);
    w.trigger("Prosted1");
    EXPECT_FALSE(QFile::exists(w.ini));
    w.trigger("Pokroku1");
    EXPECT_EQ(w.form->labelText("LCas"), "0,005");
    // OK writes the file and applies the colours.
    w.setup->findChild<ColourPicker *>(QStringLiteral("CBRapid"))->setColour(clAqua);
    QTimer::singleShot(0, w.setup.get(), &QDialog::accept);
    w.trigger("Prosted1");
    EXPECT_EQ(SimdraSettings::forDialog(w.ini).rapidMachine, "20000");
    EXPECT_EQ(SimdraSettings::forDialog(w.ini).rapid, clAqua);
    w.trigger("Pokroku1");
    const SegmentStore &segs = w.form->simulation().segments();
    EXPECT_EQ(segs[0].colour, clWhite); // paths already drawn keep their colours
    EXPECT_EQ(segs[1].colour, clAqua);
}

TEST(SimulatorWindow, InformationWindow) {
    ScriptedUserIO io;
    TFInfo info(io);
    PickInfo p;
    p.start[0] = p.start[1] = p.start[2] = QStringLiteral("0");
    p.end[0] = QStringLiteral("3");
    p.end[1] = QStringLiteral("4");
    p.end[2] = QStringLiteral("0");
    p.type = QStringLiteral("posuv");
    p.s = QStringLiteral("0");
    p.f = QStringLiteral("100");
    info.setSegment(p);
    info.recompute();
    EXPECT_EQ(info.text("LDifX"), "3");
    EXPECT_EQ(info.text("LDifY"), "4");
    EXPECT_EQ(info.text("LDifZ"), "0");
    EXPECT_EQ(info.text("LCas"), "0,05");
    EXPECT_EQ(info.text("LTyp"), "posuv");
    p.f = QStringLiteral("0");
    p.type.clear(); // another kind keeps the type text
    info.setSegment(p);
    info.recompute();
    EXPECT_EQ(info.text("LCas"), "0,05");
    EXPECT_EQ(info.text("LTyp"), "posuv");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, "Floating point division by zero");
}

TEST(SimulatorWindow, AboutAndHelp) {
    Window w(lines({"%P G71 *"}));
    w.trigger("Plugin1");
    ASSERT_EQ(w.io.shown.size(), 1);
    EXPECT_EQ(w.io.shown[0].text, "Plug-in pro simulaci řídícího systému\nHeidenhain 407,426 - ISO\nVerze 1.2 (1.7.2003)");
    EXPECT_EQ(w.help->windowTitle(), "FHelp");
    auto *topics = w.help->findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    QStringList roots;
    for (int i = 0; i < topics->topLevelItemCount(); ++i)
        roots << topics->topLevelItem(i)->text(0);
    EXPECT_EQ(roots, (QStringList{"G Funkce", "M  Funkce", "Q parametry", "D parametry"}));
    EXPECT_EQ(topics->topLevelItem(0)->childCount(), 9);
    EXPECT_EQ(topics->topLevelItem(1)->child(2)->text(0), "M6");
}

} // namespace
