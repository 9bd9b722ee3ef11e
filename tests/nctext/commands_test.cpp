// The NC text commands driven through the main window, as a user drives them.
#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "nctext/widgets/commands.h"
#include "nctext/widgets/install.h"
#include "nctext/widgets/search.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "tests/nctext/printers.h"
#include "tests/support/testutil.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace velmora;

namespace {

// Drives the window that the next command shows modally, once it is up.
void onModal(std::function<void(QWidget *)> drive) {
    QTimer::singleShot(0, [drive] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w) {
            ADD_FAILURE() << "no window came up";
            return;
        }
        drive(w);
        if (QApplication::activeModalWidget() == w) {
            ADD_FAILURE() << "the window was left open: " << w->objectName().toStdString();
            static_cast<QDialog *>(w)->reject();
        }
    });
}

void click(QWidget *w, const char *name) {
    auto *b = w->findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_TRUE(b) << name;
    b->click();
}

void type(QWidget *w, const char *name, const QString &text) {
    auto *e = w->findChild<QLineEdit *>(QString::fromLatin1(name));
    ASSERT_TRUE(e) << name;
    e->setText(text);
}

class NcTextCommandsTest : public ::testing::Test {
protected:
    NcTextCommandsTest() : folder(true) {
        setCurrentLanguageFile(QStringLiteral("Cestina.lng"));
        editor = std::make_unique<TFEditor>(&io);
        commands = installNcText(editor->host());
    }
    ~NcTextCommandsTest() override {
        editor.reset();
        setCurrentLanguageFile(QString());
    }
    void trigger(const char *name) {
        QAction *a = editor->host().action(QString::fromLatin1(name));
        ASSERT_TRUE(a && a->isEnabled()) << name;
        a->trigger();
    }
    Document *document(const QStringList &lines, int caretLine = 1, int caretColumn = 1) {
        Document *doc = editor->newDocument();
        doc->setLines(lines);
        doc->editor()->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        doc->setModified(false);
        doc->setCaret(caretLine, caretColumn);
        return doc;
    }
    QStringList messages() const {
        QStringList out;
        for (const auto &m : io.shown)
            out << m.text;
        return out;
    }
    // One undo step takes the document back to `lines`.
    void expectOneUndoStep(Document *doc, const QStringList &lines) {
        doc->editor()->undo();
        EXPECT_EQ(doc->lines(), lines);
        EXPECT_FALSE(doc->editor()->isUndoAvailable());
    }

    test::ScratchFolder folder;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> editor;
    NcTextCommands *commands = nullptr;
};

} // namespace

TEST_F(NcTextCommandsTest, RenumberWorksAsOneUndoableEditAndKeepsItsSettings) {
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Precislovani]", "Prvni=10", "Dalsi=7", "K=0"}));
    const QStringList program{"N5 G0 X0", "N7 G1 X10", "N9 M30", "N11 G0 X0"};
    Document *doc = document(program);
    onModal([](QWidget *w) {
        EXPECT_EQ(w->objectName(), "TFPrecislovani");
        EXPECT_EQ(w->findChild<QLineEdit *>("Edit972")->text(), "7"); // read from the settings
        type(w, "Edit972", "10");
        click(w, "ButtonOK");
    });
    trigger("Renumber");
    EXPECT_EQ(doc->lines(), QStringList({"N10 G0 X0", "N20 G1 X10", "N30 M30", "N11 G0 X0"}));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(IniFile(setupIniPath()).readString("Precislovani", "Dalsi"), "10"); // written when the dialog closed
    expectOneUndoStep(doc, program);
}

TEST_F(NcTextCommandsTest, RenumberSelectionAndBadFields) {
    const QStringList program{"N1", "N2", "N3", "N4", "N5"};
    Document *doc = document(program, 3, 1);
    auto selectionOnly = [](QWidget *w) {
        w->findChild<QCheckBox *>("CheckBoxSelect")->setChecked(true);
        type(w, "Edit971", "100");
        type(w, "Edit972", "1");
        click(w, "ButtonOK");
    };
    onModal(selectionOnly); // no selection: the caret line only
    trigger("Renumber");
    EXPECT_EQ(doc->lines(), QStringList({"N1", "N2", "N100", "N4", "N5"}));

    doc->setSelection(4, 2, 2, 1); // drawn upwards: the caret is on the upper line
    onModal(selectionOnly);
    trigger("Renumber");
    EXPECT_EQ(doc->lines(), QStringList({"N1", "N100", "N101", "N102", "N5"}));

    const QStringList before = doc->lines();
    doc->setModified(false);
    onModal([](QWidget *w) {
        w->findChild<QCheckBox *>("CheckBoxSelect")->setChecked(false);
        type(w, "Edit972", "x");
        click(w, "ButtonOK");
    });
    trigger("Renumber");
    EXPECT_EQ(doc->lines(), before);
    EXPECT_FALSE(doc->isModified());
    ASSERT_FALSE(io.shown.isEmpty());
    EXPECT_EQ(io.shown.last().text, "'x' is not a valid integer value");
}

TEST_F(NcTextCommandsTest, RenumberHeidenhainPageTakesTheVariantFromTheSettings) {
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Precislovani]", "H=1"}));
    Document *doc = document({"0 BEGIN PGM X MM", "1 CYCL DEF 200 VRTANI", "Q200=2", "5 L Z+100 R0 FMAX"});
    onModal([](QWidget *w) {
        auto *variant = w->findChild<QWidget *>("RadioGroup2");
        EXPECT_FALSE(variant->isEnabled());
        EXPECT_TRUE(w->findChild<QRadioButton *>("RadioGroup2.items[1]")->isChecked());
        w->findChild<QTabWidget *>("PageControl1")->setCurrentIndex(1);
        click(w, "ButtonOK");
    });
    trigger("Renumber");
    EXPECT_EQ(doc->lines(), QStringList({"0  BEGIN PGM X MM", "1  CYCL DEF 200 VRTANI", "   Q200=2", "2  L Z+100 R0 FMAX"}));
}

TEST_F(NcTextCommandsTest, CommandsNeedADocument) {
    for (const char *name : {"Renumber", "Spacing", "ConltrolXYZ", "Add", "Find", "Replace", "FindNextText"}) {
        io.shown.clear();
        trigger(name);
        ASSERT_EQ(io.shown.size(), 1) << name;
        EXPECT_EQ(io.shown[0].text, languageText("Messages", "NoProgram")) << name;
        EXPECT_EQ(io.shown[0].kind, MessageKind::Error) << name;
    }
}

TEST_F(NcTextCommandsTest, SpacingRewritesUpToTheMarker) {
    const QStringList program{"N10G0X5.Y-2.5", "(FREZA 20)", "M30", "G1X1"};
    Document *doc = document(program);
    onModal([](QWidget *w) {
        EXPECT_EQ(w->objectName(), "TFSpacing");
        click(w, "ButtonOK"); // one blank, up to M30
    });
    trigger("Spacing");
    EXPECT_EQ(doc->lines(), QStringList({"N10 G0 X5. Y-2.5", "(FREZA 20)", "M30", "G1X1"}));
    EXPECT_TRUE(doc->isModified());
    expectOneUndoStep(doc, program);

    onModal([](QWidget *w) {
        type(w, "Edit971", "0");
        w->findChild<QRadioButton *>("RadioGroup1.items[2]")->click();
        click(w, "ButtonOK");
    });
    trigger("Spacing");
    EXPECT_EQ(doc->lines(), QStringList({"N10G0X5.Y-2.5", "(FREZA 20)", "M30", "G1X1"}));
    onModal([](QWidget *w) {
        // The dialog keeps its values while the program runs.
        EXPECT_EQ(w->findChild<QLineEdit *>("Edit971")->text(), "0");
        click(w, "ButtonCancel");
    });
    trigger("Spacing");
}

TEST_F(NcTextCommandsTest, CoordinateCheckMovesTheCaretToEachFinding) {
    // The check speaks with its own texts, also without a language file.
    setCurrentLanguageFile(QString());
    Document *doc = document({"G0 X0. Y0.", "G1 X100 Y0", "G1 X10. (X5)", "G2 X1. Y1. I5 J0"}, 1, 4);
    io.answers = {Answer::Ok, Answer::Yes, Answer::Ok, Answer::No};
    trigger("ConltrolXYZ");
    EXPECT_EQ(messages(), QStringList({"Chyba souřadnice X na : G1 X100 Y0", "Pokračovat ?",
                                       "Chyba parametru I na : G2 X1. Y1. I5 J0", "Pokračovat ?"}));
    EXPECT_EQ(doc->caretLine(), 4);
    EXPECT_EQ(doc->caretColumn(), 4);
    EXPECT_FALSE(doc->isModified());

    io.shown.clear();
    io.answers.clear();
    doc->setLines({"G0 X0. Z#1"});
    trigger("ConltrolXYZ");
    EXPECT_EQ(messages(), QStringList({"OK chyba nenalezena v žádnem XYZRIJK."}));
    EXPECT_EQ(io.shown[0].kind, MessageKind::Information);
}

TEST_F(NcTextCommandsTest, CoordinateEditChangesTheWordAtTheCaret) {
    setCurrentLanguageFile(QStringLiteral("English.lng"));
    Document *doc = document({"N1", "G1 X12.5 Y1"}, 2, 6);
    io.inputs = {"2,5"};
    trigger("Add");
    ASSERT_EQ(io.asked.size(), 1);
    EXPECT_EQ(io.asked[0].title, "Editace souřadnice X12.5");
    EXPECT_EQ(io.asked[0].prompt, "Prodloužit, zkrátit o :");
    EXPECT_EQ(doc->line(1), "G1 X15. Y1");
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->caretLine(), 2);
    expectOneUndoStep(doc, {"N1", "G1 X12.5 Y1"});

    doc->setModified(false);
    doc->setCaret(2, 6);
    io.inputs = {""}; // an empty answer ends the command
    trigger("Add");
    io.inputs = {"abc"};
    trigger("Add");
    EXPECT_EQ(doc->line(1), "G1 X12.5 Y1");
    EXPECT_FALSE(doc->isModified());
    ASSERT_FALSE(io.shown.isEmpty());
    EXPECT_EQ(io.shown.last().text, "'abc' is not a valid floating point value");
}

TEST_F(NcTextCommandsTest, FindAndFindNext) {
    Document *doc = document({"G10 X1", "G1 x1", "N5 G1 X2"});
    trigger("FindNextText"); // before any search: a beep and nothing else
    EXPECT_EQ(io.beeps, 1);
    EXPECT_FALSE(doc->hasSelection());

    onModal([](QWidget *w) {
        EXPECT_EQ(w->objectName(), "TTextSearchDialog");
        w->findChild<QComboBox *>("cbSearchText")->setEditText("G1");
        w->findChild<QCheckBox *>("cbSearchWholeWords")->setChecked(true);
        click(w, "ButtonOK");
    });
    trigger("Find");
    EXPECT_EQ(doc->selectedText(), "G1");
    int l1, c1, l2, c2;
    doc->selection(l1, c1, l2, c2);
    EXPECT_EQ((QList<int>{l1, c1, l2, c2}), (QList<int>{2, 1, 2, 3}));
    trigger("FindNextText");
    doc->selection(l1, c1, l2, c2);
    EXPECT_EQ((QList<int>{l1, c1, l2, c2}), (QList<int>{3, 4, 3, 6}));
    trigger("FindNextText"); // nothing more: beep, the selection collapses to its end
    EXPECT_EQ(io.beeps, 2);
    EXPECT_FALSE(doc->hasSelection());
    EXPECT_EQ(doc->caretLine(), 3);
    EXPECT_EQ(doc->caretColumn(), 6);

    // "&Dolu" searches towards the start; the dialog shows the history.
    onModal([](QWidget *w) {
        auto *text = w->findChild<QComboBox *>("cbSearchText");
        EXPECT_EQ(text->count(), 1);
        EXPECT_EQ(text->currentText(), "G1");
        w->findChild<QCheckBox *>("cbSearchFromCursor")->setChecked(true);
        w->findChild<QRadioButton *>("rgSearchDirection.items[1]")->click();
        click(w, "ButtonOK");
    });
    trigger("Find");
    doc->selection(l1, c1, l2, c2);
    EXPECT_EQ((QList<int>{l1, c1, l2, c2}), (QList<int>{3, 4, 3, 6}));
    EXPECT_FALSE(doc->isModified());
}

TEST_F(NcTextCommandsTest, ReplaceAsksBeforeEachMatchUntilYesToAll) {
    const QStringList program{"G1 X1", "G1 X2", "G1 X3", "G1 X4"};
    Document *doc = document(program);
    QStringList asked;
    auto answer = [&asked](const char *button, std::function<void()> next) {
        return [&asked, button, next](QWidget *w) {
            EXPECT_EQ(w->objectName(), "TConfirmReplaceDialog");
            asked << w->findChild<QLabel *>("ConfirmationLabel")->text() + " " +
                         static_cast<QDialog *>(w)->parentWidget()->objectName();
            if (next)
                next();
            click(w, button);
        };
    };
    onModal([&](QWidget *w) {
        EXPECT_EQ(w->objectName(), "TTextReplaceDialog");
        w->findChild<QComboBox *>("cbSearchText")->setEditText("x"); // not case sensitive
        w->findChild<QComboBox *>("cbReplaceText")->setEditText("Y");
        // The confirmations, one after another: skip, replace, then all the rest.
        onModal(answer("btnSkip", [&] { onModal(answer("btnReplace", [&] { onModal(answer("btnReplaceAll", {})); })); }));
        click(w, "ButtonOK");
    });
    trigger("Replace");
    EXPECT_EQ(doc->lines(), QStringList({"G1 X1", "G1 Y2", "G1 Y3", "G1 Y4"}));
    EXPECT_EQ(asked.size(), 3);
    EXPECT_EQ(asked.value(0), "Nahradit text \"x\"? TFEditor");
    EXPECT_TRUE(doc->isModified());
    expectOneUndoStep(doc, program);
}

TEST_F(NcTextCommandsTest, ReplaceByTheSameTextNeverAsks) {
    const QStringList program{"G1 X1", "G1 X2"};
    Document *doc = document(program);
    // A confirmation would block the test: close any that comes up and fail.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *c = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "asked: " << c->objectName().toStdString();
            static_cast<QDialog *>(c)->reject();
        }
    });
    onModal([&guard](QWidget *w) {
        w->findChild<QComboBox *>("cbSearchText")->setEditText("X");
        w->findChild<QComboBox *>("cbReplaceText")->setEditText("X");
        click(w, "ButtonOK");
        guard.start(0);
    });
    trigger("Replace");
    EXPECT_EQ(doc->lines(), program);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(io.beeps, 0); // matches were found, only skipped
}

TEST_F(NcTextCommandsTest, CompareWindowShowsTheReport) {
    folder.write("a.nc", test::cp1250Lines({"A", "b", "C", "D"}));
    folder.write("b.nc", test::cp1250Lines({"a", "B", "X"}));
    const QString a = folder.file("a.nc"), b = folder.file("b.nc");
    QString report;
    onModal([&](QWidget *w) {
        EXPECT_EQ(w->objectName(), "TFCompare");
        type(w, "FilenameEdit1", a);
        type(w, "FilenameEdit2", b);
        click(w, "ButtonCompare");
        report = w->findChild<QPlainTextEdit *>("SynMemo1")->toPlainText();
        click(w, "ButtonClose");
    });
    trigger("FileCompare");
    const QStringList lines = report.split('\n');
    ASSERT_EQ(lines.size(), 13) << report.toStdString();
    EXPECT_EQ(lines[0], "Soubory jsou rozdílné.");
    EXPECT_EQ(lines.mid(8), QStringList({QString(36, '*'), "Original    : C", "Porovnávaný : X", QString(36, '*'),
                                         "Konec  porovnávaného  souboru"}));
}
