// The calculator commands driven through the main window, as a user drives them.
#include "calculators/logic/settings.h"
#include "calculators/widgets/cutting.h"
#include "calculators/widgets/drazka.h"
#include "calculators/widgets/insert.h"
#include "calculators/widgets/install.h"
#include "calculators/widgets/kruznice.h"
#include "calculators/widgets/preview.h"
#include "calculators/widgets/primka.h"
#include "common/language.h"
#include "common/textfile.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"

#include "../support/testutil.h"
#include "printers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
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
            ADD_FAILURE() << "the window was left open";
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

QString field(QWidget *w, const char *name) {
    auto *e = w->findChild<QLineEdit *>(QString::fromLatin1(name));
    return e ? e->text() : QStringLiteral("<no field>");
}

class CalculatorWindows : public ::testing::Test {
protected:
    CalculatorWindows() : folder(true) {
        setCurrentLanguageFile(QStringLiteral("Cestina.lng"));
        editor = std::make_unique<TFEditor>(&io);
        installCalculators(editor->host());
    }
    ~CalculatorWindows() override {
        calc::setGeometryDecimals(3);
        editor.reset();
        setCurrentLanguageFile(QString());
    }
    void trigger(const char *name) {
        QAction *a = editor->host().action(QString::fromLatin1(name));
        ASSERT_TRUE(a && a->isEnabled()) << name;
        a->trigger();
    }
    Document *document(const QStringList &lines, int caretLine, int caretColumn) {
        Document *doc = editor->newDocument();
        doc->setLines(lines);
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

    test::ScratchFolder folder;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> editor;
};

} // namespace

TEST_F(CalculatorWindows, SpeedInsertsTheSWordAndHandsTheSpeedToTheFeed) {
    Document *doc = document({"N10 S2000 M3", "N20 M5"}, 1, 7);
    onModal([](QWidget *w) {
        click(w, "ButtonRun");
        EXPECT_EQ(field(w, "Edit973"), "3180"); // rounded to tens
        click(w, "BitBtnInsert");
    });
    trigger("Otacky");
    EXPECT_EQ(doc->line(0), "N10 S3180 M3");
    EXPECT_TRUE(doc->isModified());

    doc->setCaret(2, 5); // before "M5"
    onModal([](QWidget *w) {
        w->findChild<QRadioButton *>("RadioGroup.items[0]")->click();
        click(w, "ButtonRun");
        EXPECT_EQ(field(w, "Edit973"), "3183,09886183791");
        type(w, "Edit973", "3180");
        onModal([](QWidget *feed) {
            EXPECT_EQ(field(feed, "Edit971"), "3180");
            EXPECT_EQ(field(feed, "EditOtacky"), "3180");
            feed->findChild<QTabWidget *>()->setCurrentIndex(1);
            feed->findChild<QRadioButton *>("RadioGroupCo.items[1]")->click(); // per minute: whole numbers
            EXPECT_EQ(feed->findChild<QLabel *>("Label10")->text(), "Zaokrouhleno na celé číslo");
            type(feed, "Edit974", "4");
            type(feed, "Edit973", "0,05");
            click(feed, "FButtonRun");
            EXPECT_EQ(field(feed, "Edit975"), "636");
            click(feed, "FBitBtnInsert");
        });
        click(w, "BitBtnFeed");
    });
    trigger("Otacky");
    EXPECT_EQ(doc->line(1), "N20 F636M5");
    EXPECT_TRUE(io.shown.isEmpty()) << messages().join('|').toStdString();
}

TEST_F(CalculatorWindows, FeedErrorsAndTheRoundingPage) {
    setCurrentLanguageFile(QString()); // "Chyba zadání." is the calculator's own text
    Document *doc = document({"N10 G1 X5"}, 1, 10);
    onModal([](QWidget *w) {
        click(w, "TButtonRun"); // per revolution with no feed per minute
        w->findChild<QTabWidget *>()->setCurrentIndex(1);
        w->findChild<QRadioButton *>("RadioGroupCo.items[0]")->click(); // per tooth: 3 places
        EXPECT_EQ(w->findChild<QLabel *>("Label10")->text(), "Zaokrouhleno na 3 desetinná čísla");
        type(w, "Edit971", "3000");
        type(w, "Edit974", "0");
        type(w, "Edit975", "500");
        click(w, "FButtonRun");
        type(w, "Edit974", "3");
        type(w, "Edit971", "3000,5x");
        click(w, "FButtonRun");
        EXPECT_EQ(field(w, "Edit973"), "");
        type(w, "Edit971", "3000");
        click(w, "FButtonRun");
        EXPECT_EQ(field(w, "Edit973"), "0,056");
        w->findChild<QTabWidget *>()->setCurrentIndex(2);
        click(w, "FBitBtnInsert"); // the rounding page keeps the feed to insert: still empty
    });
    trigger("Posuv");
    EXPECT_EQ(messages(), QStringList({"Chyba zadání.", "Floating point division by zero",
                                       "'3000,5x' is not a valid floating point value"}));
    EXPECT_EQ(doc->line(0), "N10 G1 X5F");

    onModal([](QWidget *w) {
        w->findChild<QTabWidget *>()->setCurrentIndex(1);
        click(w, "FBitBtnInsert");
    });
    doc->insertLine(1, "N20 F100");
    doc->setCaret(2, 6); // inside "F100"
    trigger("Posuv");
    EXPECT_EQ(doc->line(1), "N20 F0.056"); // the window kept its fields
}

TEST_F(CalculatorWindows, AWordIntoAnEmptyDocument) {
    Document *doc = editor->newDocument();
    onModal([](QWidget *w) { click(w, "BitBtnInsert"); }); // the speed field is still empty
    trigger("Otacky");
    EXPECT_EQ(doc->lines(), QStringList({"S"}));
    EXPECT_TRUE(doc->isModified());
}

TEST_F(CalculatorWindows, InsertingWithoutADocumentShowsTheMessage) {
    onModal([](QWidget *w) { click(w, "BitBtnInsert"); });
    trigger("Otacky");
    onModal([](QWidget *w) {
        click(w, "BitBtnCount");
        click(w, "BitBtnInsert");
    });
    trigger("Kruznice");
    EXPECT_EQ(messages(), QStringList({"Není otevřen žádný program.", "Není otevřen žádný program."}));
    EXPECT_TRUE(editor->documents().isEmpty());
}

TEST_F(CalculatorWindows, DrillPoint) {
    onModal([](QWidget *w) {
        click(w, "FButtonF");
        EXPECT_EQ(field(w, "Edit973"), "4,506");
        type(w, "Edit972", "0");
        click(w, "FButtonF");
        EXPECT_EQ(field(w, "Edit973"), "4,506"); // unchanged after the error
        auto *table = w->findChild<QTableWidget *>("ValueListEditor1");
        EXPECT_EQ(table->rowCount(), 41);
        EXPECT_EQ(table->item(26, 0)->text(), "13");
        EXPECT_EQ(table->item(26, 1)->text(), "3,906");
        click(w, "BitBtn1");
    });
    trigger("Vrchlik");
    EXPECT_EQ(messages(), QStringList({"Floating point division by zero"}));
}

TEST_F(CalculatorWindows, CircleCalculatesEditsAndInsertsBeforeTheCaret) {
    Document *doc = document({"N5 G0 Z50", "N99 M30"}, 2, 3);
    io.answers = {Answer::Yes, Answer::No}; // the overlap question: on for the tenth hole, stop at the eleventh
    onModal([](QWidget *w) {
        auto *k = static_cast<TFKruznice *>(w);
        click(w, "BitBtnCount");
        auto *tree = w->findChild<QTreeWidget *>("TreeView1");
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "2- Roztečná kružnice : 100");
        EXPECT_EQ(tree->topLevelItem(0)->child(7)->text(0), "Rovina : XY");
        EXPECT_EQ(k->preview->shapes().size(), 9);

        // a second group in XZ, past 360 degrees
        w->findChild<QRadioButton *>("RadioGroupCS.items[1]")->click();
        EXPECT_EQ(w->findChild<QLabel *>("Label6")->text(), "Z");
        EXPECT_EQ(k->preview->secondAxisLetter(), QChar('Z'));
        type(w, "Edit972", "12");
        type(w, "Edit973", "0");
        type(w, "Edit974", "12.5");
        click(w, "BitBtnCount");
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        EXPECT_EQ(tree->topLevelItem(1)->text(0), "11- Roztečná kružnice : 100");
        EXPECT_EQ(tree->topLevelItem(1)->child(3)->text(0), "Souřadnice středu X : 12,5");

        // hiding the second group leaves the first one drawn
        k->selectIndex(9);
        click(w, "SBHideCircle");
        int hidden = 0;
        for (const auto &s : k->preview->shapes())
            hidden += s.hidden;
        EXPECT_EQ(hidden, 11); // its pitch circle and ten holes
        click(w, "SBShowAllCircle");

        const double d = k->preview->distance();
        click(w, "SBZoomUp");
        EXPECT_DOUBLE_EQ(k->preview->distance(), d / 1.1);

        // a bad field adds nothing
        type(w, "Edit977", "8,x");
        click(w, "BitBtnCount");
        EXPECT_EQ(tree->topLevelItemCount(), 2);
        click(w, "BitBtnInsert");
    });
    trigger("Kruznice");
    EXPECT_EQ(messages(), QStringList({"Kružnice se budou překrývat.\rPokračoat ?", "Kružnice se budou překrývat.\rPokračoat ?",
                                       "'8,x' is not a valid floating point value"}));
    EXPECT_EQ(io.shown[0].kind, MessageKind::Information);
    const QStringList lines = doc->lines();
    ASSERT_EQ(lines.size(), 2 + 9 + 1 + 10);
    EXPECT_EQ(lines[0], "N5 G0 Z50");
    EXPECT_EQ(lines[1], "(Souřadnice - otvory pr. :8)");
    EXPECT_EQ(lines[2], "N1 X43.301 Y25.");
    EXPECT_EQ(lines[9], "N1 X48.296 Y-12.941");
    EXPECT_EQ(lines[10], "(Souřadnice - otvory pr. :8)");
    EXPECT_EQ(lines[11], "N1 X62.5 Z0.");
    EXPECT_EQ(lines[12], "N1 X47.855 Z35.355");
    EXPECT_EQ(lines.last(), "N99 M30");
    EXPECT_EQ(doc->caretLine(), 2); // the caret keeps its place
    EXPECT_TRUE(doc->isModified());
}

TEST_F(CalculatorWindows, CircleTreeMenuFilesAndDeleteAll) {
    Document *doc = document({"N99 M30"}, 1, 1);
    const QString kge = folder.file("kruh.kge");
    io.files = {folder.file("kruh"), kge};
    io.inputs = {"4"};
    io.answers = {Answer::No, Answer::Yes}; // "Vše smazat": first kept, then confirmed
    onModal([&](QWidget *w) {
        auto *k = static_cast<TFKruznice *>(w);
        click(w, "BitBtnCount");
        onModal([](QWidget *preview) { // the print preview of the report
            auto *pages = preview->findChild<QPrintPreviewWidget *>();
            ASSERT_TRUE(pages);
            pages->updatePreview();
            EXPECT_EQ(pages->pageCount(), 1);
            static_cast<QDialog *>(preview)->reject();
        });
        click(w, "BitBtnPrint");
        click(w, "SBSave"); // saved as kruh.kge
        k->selectIndex(1);
        EXPECT_FALSE(k->menuDelete->isEnabled()); // a child: only edit and recalculation
        EXPECT_TRUE(k->menuEdit->isEnabled());
        k->menuEdit->trigger(); // "Počet otvorů : 4", the report is emptied
        EXPECT_TRUE(k->blocks().isEmpty());
        k->menuRecalc->trigger();
        EXPECT_EQ(k->blocks().size(), 1 + 4);
        click(w, "BitBtnDel");
        EXPECT_EQ(k->TreeView1->topLevelItemCount(), 1);
        click(w, "BitBtnDel");
        EXPECT_EQ(k->TreeView1->topLevelItemCount(), 0);
        EXPECT_TRUE(k->preview->shapes().isEmpty());
        click(w, "SBOpen"); // the saved tree, eight holes; report and preview wait for recalculation
        ASSERT_EQ(k->TreeView1->topLevelItemCount(), 1);
        EXPECT_EQ(k->TreeView1->topLevelItem(0)->child(0)->text(0), "Počet otvorů : 8");
        EXPECT_TRUE(k->preview->shapes().isEmpty());
        k->menuRecalc->trigger();
        EXPECT_EQ(k->preview->shapes().size(), 9);
        click(w, "BitBtnInsert");
    });
    trigger("Kruznice");
    const LoadResult saved = loadTextFile(kge);
    ASSERT_TRUE(saved.ok);
    ASSERT_EQ(saved.lines.size(), 9);
    EXPECT_EQ(saved.lines[0], "2- Roztečná kružnice : 100");
    EXPECT_EQ(saved.lines[1], "\tPočet otvorů : 8");
    EXPECT_EQ(doc->lineCount(), 1 + 9);
    EXPECT_EQ(doc->line(1), "N1 X43.301 Y25.");
}

TEST_F(CalculatorWindows, InsertionWritesTheGroupsTheTreeShows) {
    // Without automatic recalculation an edit empties the report and a deletion
    // leaves the deleted group in it; the insertion recalculates first.
    Document *doc = document({"N99 M30"}, 1, 1);
    io.inputs = {"2", "x", "1"};
    onModal([](QWidget *w) {
        auto *k = static_cast<TFKruznice *>(w);
        click(w, "BitBtnCount");
        type(w, "Edit971", "60");
        click(w, "BitBtnCount");
        type(w, "Edit971", "40");
        click(w, "BitBtnCount");
        k->selectIndex(9);
        k->menuDelete->trigger(); // the group of diameter 60
        k->selectIndex(1);
        k->menuEdit->trigger(); // two holes in the first group
        k->selectIndex(10);
        k->menuEdit->trigger(); // the third group's count: no number
        click(w, "BitBtnInsert");
        EXPECT_TRUE(w->isVisible()); // the message, and the window stays
        k->selectIndex(10);
        k->menuEdit->trigger(); // one hole
        click(w, "BitBtnInsert");
    });
    trigger("Kruznice");
    EXPECT_EQ(messages(), QStringList({"'x' is not a valid integer value"}));
    EXPECT_EQ(doc->lines(), QStringList({"(Souřadnice - otvory pr. :8)", "N1 X43.301 Y25.", "N1 X12.941 Y48.296",
                                         "(Souřadnice - otvory pr. :8)", "N1 X17.321 Y10.", "N99 M30"}));
}

TEST_F(CalculatorWindows, LineInsertsAndMovesTheCaretToTheLastBlock) {
    Document *doc = document({"N5 G0", "N99 M30"}, 2, 4);
    onModal([](QWidget *w) {
        type(w, "Edit975", "3");
        type(w, "Edit974", "12.5"); // this window takes the decimal comma only
        click(w, "ButtonCount");
        type(w, "Edit974", "20");
        click(w, "ButtonCount");
        EXPECT_EQ(w->findChild<QTreeWidget *>("TreeView1")->topLevelItem(0)->text(0), "1- Průměr otvorů : 6");
        click(w, "ButtonInsert");
    });
    trigger("Primka");
    EXPECT_EQ(messages(), QStringList({"'12.5' is not a valid floating point value"}));
    EXPECT_EQ(doc->lines(), QStringList({"N5 G0", "(Souřadnice - otvory pr. :6)", "N1 X0. Y0.", "N1 X17.321 Y10.",
                                         "N1 X34.641 Y20.", "N99 M30"}));
    EXPECT_EQ(doc->caretLine(), 5);
    EXPECT_EQ(doc->caretColumn(), 4);
}

TEST_F(CalculatorWindows, LineWithAutomaticRecalculationAndTwoDecimals) {
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Geometrie]", "Auto=1", "[Editor]", "EnterText=N5"}));
    calc::setGeometryDecimals(2); // the settings dialog's choice for this run
    Document *doc = document({"N99 M30"}, 1, 1);
    onModal([](QWidget *w) {
        auto *k = static_cast<TFPrimka *>(w);
        type(w, "Edit975", "2");
        click(w, "ButtonCount");
        type(w, "Edit976", "8");
        type(w, "Edit971", "1,005");
        click(w, "ButtonCount");
        EXPECT_EQ(k->TreeView1->topLevelItem(1)->text(0), "3- Průměr otvorů : 8");
        k->selectIndex(0);
        k->menuDelete->trigger(); // recalculated at once: the second group takes number 1
        ASSERT_EQ(k->TreeView1->topLevelItemCount(), 1);
        EXPECT_EQ(k->TreeView1->topLevelItem(0)->text(0), "1- Průměr otvorů : 8");
        click(w, "ButtonInsert");
    });
    trigger("Primka");
    // 1,005 to two places is 1 (halves to even), 1,005 + 17,3205... is 18,33
    EXPECT_EQ(doc->lines(), QStringList({"(Souřadnice - otvory pr. :8)", "N5 X1. Y0.", "N5 X18.33 Y10.", "N99 M30"}));
}

TEST_F(CalculatorWindows, GrooveTextTreeRecalculationAndInsertion) {
    Document *doc = document({"N99 M30"}, 1, 1);
    io.inputs = {"x"};
    onModal([](QWidget *w) {
        auto *g = static_cast<TFDrazka *>(w);
        EXPECT_EQ(g->ComboBox1->currentText(), "2");
        click(w, "ButtonSuma");
        const QStringList text = splitLines(g->Memo1->toPlainText());
        ASSERT_EQ(text.size(), 11);
        EXPECT_EQ(text[1], "( X: 0; Y: 0; Uhel: 0 )");
        EXPECT_EQ(text[7], "N1 G3 X0 Y-7 I0 J-7");
        ASSERT_EQ(g->TreeView1->topLevelItemCount(), 1);
        EXPECT_EQ(g->TreeView1->topLevelItem(0)->text(0), "Drážky");
        EXPECT_EQ(g->TreeView1->topLevelItem(0)->child(4)->text(0), "Úhel : 0");
        EXPECT_EQ(g->preview->shapes().size(), 5); // two sides, two arcs, the approach marker

        click(w, "ButtonDelete");
        EXPECT_TRUE(g->Memo1->toPlainText().isEmpty());
        EXPECT_TRUE(g->preview->shapes().isEmpty());
        g->MenuReCountClick(); // rebuilt from the tree
        EXPECT_EQ(splitLines(g->Memo1->toPlainText()).size(), 11);

        g->selectIndex(7); // the direction: not a whole number
        g->MenuEditClick();
        EXPECT_TRUE(g->Memo1->toPlainText().isEmpty());
        g->MenuReCountClick();

        g->selectIndex(7);
        g->ComboBox2->setCurrentIndex(1);
        g->ComboBox1->setCurrentIndex(3);
        click(w, "ButtonSuma");
        click(w, "ButtonInsert");
    });
    trigger("drzka");
    EXPECT_EQ(messages(), QStringList({"'x' is not a valid integer value"}));
    const QStringList lines = doc->lines();
    ASSERT_EQ(lines.size(), 12 + 1);
    EXPECT_EQ(lines[0], "(*********************************************)");
    EXPECT_EQ(lines[2], "N1 G0 X0. Y0.");
    EXPECT_EQ(lines[6], "N1 G2 X0. Y7. I0. J7.");
    EXPECT_EQ(lines[11], "N1 G0 Z2.");
    EXPECT_EQ(lines[12], "N99 M30");
    EXPECT_TRUE(doc->isModified());
}

TEST_F(CalculatorWindows, TheGrooveIsDrawnInBlueWhateverTheCircleColours) {
    folder.write("SetupCNC.ini", test::cp1250Lines({"[Geometrie]", "Kruznice=clLime", "RKruznice=clYellow", "Podklad=clSilver"}));
    int blue = -1, lime = -1;
    onModal([&](QWidget *w) {
        auto *g = static_cast<TFDrazka *>(w);
        click(w, "ButtonSuma");
        const QImage shot = g->preview->grab().toImage();
        blue = lime = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
                lime += c.green() > 200 && c.red() < 80 && c.blue() < 80;
            }
        click(w, "ButtonClose");
    });
    trigger("drzka");
    EXPECT_GT(blue, 50);
    EXPECT_EQ(lime, 0);
}

TEST_F(CalculatorWindows, AGeometryFileGetsItsExtensionOnlyWithTheFirstFilter) {
    io.files = {folder.file("kruh.txt"), folder.file("jako napsano")};
    io.filters = {0, 1};
    onModal([&](QWidget *w) {
        click(w, "BitBtnCount");
        click(w, "SBSave");
        click(w, "SBSave");
        click(w, "BitBtnClose");
    });
    trigger("Kruznice");
    EXPECT_TRUE(QFileInfo::exists(folder.file("kruh.kge")));
    EXPECT_FALSE(QFileInfo::exists(folder.file("kruh.txt")));
    EXPECT_TRUE(QFileInfo::exists(folder.file("jako napsano")));
    EXPECT_FALSE(QFileInfo::exists(folder.file("jako napsano.kge")));
    EXPECT_EQ(loadTextFile(folder.file("jako napsano")).lines.value(0), "2- Roztečná kružnice : 100");
    // The line window forces ".pge" the same way.
    io.files = {folder.file("primka")};
    io.filters = {0};
    onModal([&](QWidget *w) {
        click(w, "ButtonCount");
        click(w, "SpeedButton3"); // "Uložit geometrii přímky"
        click(w, "ButtonExit");
    });
    trigger("Primka");
    EXPECT_TRUE(QFileInfo::exists(folder.file("primka.pge")));
    EXPECT_TRUE(io.shown.isEmpty()) << messages().join('|').toStdString();
}

TEST_F(CalculatorWindows, TorvelWithoutAndWithTheLibrary) {
    setCurrentLanguageFile(QStringLiteral("English.lng")); // its message is the calculator's own
    QAction *torvel = editor->host().menu("Vypocty")->findChild<QAction *>("Torvel");
    ASSERT_TRUE(torvel);
    torvel->trigger();
    EXPECT_EQ(messages(), QStringList({"Není přítomna DLL knihovna."}));
    EXPECT_TRUE(editor->documents().isEmpty());

    QFile lib(TORVEL_FIXTURE);
    ASSERT_TRUE(lib.open(QIODevice::ReadOnly));
    folder.write("dll/torvel.so", lib.readAll());
    torvel->trigger(); // no document: a new one gets the lines
    ASSERT_EQ(editor->documents().size(), 1);
    Document *doc = editor->documents().first();
    EXPECT_EQ(doc->lines(), QStringList({"N10 G0 X0", "; občas", "N30 M30"}));
    EXPECT_EQ(doc->caretLine(), 1);

    doc->setCaret(2, 3);
    torvel->trigger();
    EXPECT_EQ(doc->lines(), QStringList({"N10 G0 X0", "N10 G0 X0", "; občas", "N30 M30", "; občas", "N30 M30"}));
    EXPECT_EQ(doc->caretLine(), 2);
    EXPECT_EQ(io.shown.size(), 1);
}

TEST(CalculatorPrint, ReportWithHeaderAndPageCounter) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("report.pdf"));
    QStringList lines;
    for (int i = 0; i < 150; ++i)
        lines << QStringLiteral("%1").arg(i * 1.5, -21) + QString::number(i);
    const int pages = printReport(&printer, QStringLiteral("Výpočet bodů na kružnici"), lines);
    EXPECT_GE(pages, 2);
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess p;
    p.start(pdftotext, {"-layout", dir.filePath("report.pdf"), "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Výpočet bodů na kružnici"));
    EXPECT_TRUE(text.contains(QStringLiteral("1/%1").arg(pages)));
    EXPECT_TRUE(text.contains(QStringLiteral("%1/%1").arg(pages)));
    EXPECT_TRUE(text.contains("223.5"));
}

TEST(CalculatorPreview, WheelAndDragRules) {
    GeoPreview view(70, 10);
    view.resize(400, 400);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), view.mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&view, &e);
    };
    QWheelEvent wheel(QPointF(200, 200), view.mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_NEAR(view.distance(), 10 * 1.21, 1e-9); // 1.1 to the power of 240/120

    send(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {200, 190}, Qt::NoButton, Qt::LeftButton); // up by 10: times 1 - 0.1
    EXPECT_NEAR(view.distance(), 12.1 * 0.9, 1e-9);
    send(QEvent::MouseMove, {200, 100000}, Qt::NoButton, Qt::LeftButton); // far down: at most 500
    EXPECT_DOUBLE_EQ(view.distance(), 500);
    send(QEvent::MouseButtonRelease, {200, 100000}, Qt::LeftButton, Qt::NoButton);

    view.setDistance(7);
    send(QEvent::MouseButtonPress, {100, 100}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {110, 120}, Qt::NoButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {110, 120}, Qt::RightButton, Qt::NoButton);
    const double k = 7 * 0.12 / 70;
    EXPECT_NEAR(view.viewCentre().x(), -10 * k, 1e-12);
    EXPECT_NEAR(view.viewCentre().y(), 20 * k, 1e-12);
}
