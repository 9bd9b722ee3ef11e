// The tool table panels, the tool list tree and the tool sheet, driven through
// the real main window as a user would drive them.
#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"
#include "tooltables/widgets/install.h"
#include "tooltables/widgets/lineprinter.h"
#include "tooltables/widgets/tablepanel.h"
#include "tooltables/widgets/toollisttree.h"
#include "tooltables/widgets/toolsheetwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

QString fixture(const char *name) { return QStringLiteral(VELMORA_SOURCE_TESTS "/data/") + QLatin1String(name); }

class ToolTableWindows : public ::testing::Test {
protected:
    ToolTableWindows() : folder(true) {
        setCurrentLanguageFile(QStringLiteral("Cestina.lng"));
        editor = std::make_unique<TFEditor>(&io);
        installToolTables(editor->host());
        p407 = editor->findChild<ToolTablePanel *>(QStringLiteral("Panel"));
        p530 = editor->findChild<ToolTablePanel *>(QStringLiteral("Panel530"));
        tree = editor->findChild<ToolListTree *>(QStringLiteral("TreeView"));
    }
    ~ToolTableWindows() override {
        // Nothing is asked at the end of the test.
        p407->session().setModified(false);
        p530->session().setModified(false);
        editor.reset();
        setToolSheetPreview({});
        setToolTableProjectHooks({});
        setPrintDialog({});
        setCurrentLanguageFile(QString());
    }
    void trigger(const char *name) {
        QAction *a = editor->host().action(QString::fromLatin1(name));
        ASSERT_TRUE(a && a->isEnabled()) << name;
        a->trigger();
    }
    QStringList messages() const {
        QStringList out;
        for (const auto &m : io.shown)
            out << m.text;
        return out;
    }
    // A copy of a built template with tool n named "T<n> D<n>".
    QString tableFile(const char *templ, const QString &name) {
        const LoadResult r = loadTextFile(programFile(QString::fromLatin1(templ)));
        ToolTable t(QString::fromLatin1(templ).endsWith(".t") ? ToolTableKind::Itnc530 : ToolTableKind::Tnc407);
        EXPECT_TRUE(t.load(r.lines));
        for (int n = 1; n <= 100; ++n)
            t.setName(n + 2, QStringLiteral("T%1 D%1").arg(n));
        saveTextFile(folder.file(name), t.lines());
        return folder.file(name);
    }
    QAction *treeItem(const char *name) {
        return tree->contextMenu()->findChild<QAction *>(QString::fromLatin1(name));
    }
    void setDragSetting(bool on) {
        IniFile(setupIniPath()).writeBool(QStringLiteral("Editor"), QStringLiteral("DragToolTable"), on);
    }
    void drop(QWidget *target, const QString &text) {
        QMimeData mime;
        mime.setData(QLatin1String(kToolNodeMime), text.toUtf8());
        // As a drag does it: the drop goes to the widget that accepted the drag.
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent e(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }

    test::ScratchFolder folder;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> editor;
    ToolTablePanel *p407 = nullptr;
    ToolTablePanel *p530 = nullptr;
    ToolListTree *tree = nullptr;
};

} // namespace

TEST_F(ToolTableWindows, SizeDecidesThePanelAndTheFilesSurviveAnEdit) {
    ASSERT_TRUE(p407 && p530 && tree);
    EXPECT_FALSE(p407->isVisible());
    EXPECT_FALSE(editor->host().action("ToolTable")->isChecked());

    // A TNC 426 table named ".t" and an iTNC 530 table named ".tnc".
    const QString t426 = tableFile("0000.tnc", "DIL426.t");
    const QString t530 = tableFile("tool.t", "DIL530.tnc");
    const QByteArray before426 = folder.read("DIL426.t"), before530 = folder.read("DIL530.tnc");
    // As the open command routes them.
    editor->openFileByType(t426);
    editor->openFileByType(t530);
    EXPECT_TRUE(p407->isVisible());
    EXPECT_TRUE(p530->isVisible());
    EXPECT_TRUE(editor->host().action("ToolTable")->isChecked());
    EXPECT_TRUE(editor->host().action("ToolTable530")->isChecked());
    EXPECT_EQ(p407->tableNameLabel()->text(), "0000.tnc");
    EXPECT_EQ(p530->tableNameLabel()->text(), "TOOL.t");
    EXPECT_EQ(p407->numberLabel(0)->text(), "1  ");
    EXPECT_EQ(p407->nameField(0)->text(), "T1 D1");
    EXPECT_EQ(p530->nameField(9)->text(), "T10 D10");
    EXPECT_FALSE(p530->drillBox(0)->isChecked());
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();

    // Edit tool 2 of each, save under new names, reopen.
    p407->nameField(1)->setText("FREZA D20");
    p407->radiusField(1)->setText("+10");
    p530->nameField(1)->setText("VRTAK D8");
    p530->drillBox(1)->setChecked(true);
    io.files = {folder.file("DILNA1"), folder.file("DIL")};
    trigger("SaveTable");
    trigger("SaveTable530");
    EXPECT_EQ(messages(), QStringList({QString::fromUtf8("Tabulka nástrojů byla uložena do souboru ") + folder.file("DILNA1.tnc"),
                                       QString::fromUtf8("Tabulka nástrojů byla uložena do souboru ") + folder.file("DIL.t")}));
    EXPECT_EQ(p407->tableNameLabel()->text(), "DILNA1.tnc");
    EXPECT_EQ(p530->tableNameLabel()->text(), "DIL.t");
    EXPECT_FALSE(p407->session().isModified());

    // Nothing else of the files changed.
    const auto differing = [](const QByteArray &a, const QByteArray &b) {
        QList<int> at;
        for (int i = 0; i < std::min(a.size(), b.size()); ++i)
            if (a[i] != b[i])
                at << i;
        return at;
    };
    const QByteArray after426 = folder.read("DILNA1.tnc"), after530 = folder.read("DIL.t");
    ASSERT_EQ(after426.size(), before426.size());
    ASSERT_EQ(after530.size(), before530.size());
    for (int i : differing(before426, after426)) {
        const int line = int(before426.left(i).count('\n'));
        const int col = int(i - (before426.lastIndexOf('\n', i - 1) + 1));
        EXPECT_TRUE((line == 0 && col >= 6 && col < 14) || (line == 4 && ((col >= 5 && col < 22) || (col >= 34 && col < 46))))
            << "426 byte " << i << " line " << line << " col " << col;
    }
    for (int i : differing(before530, after530)) {
        const int line = int(before530.left(i).count('\n'));
        const int col = int(i - (before530.lastIndexOf('\n', i - 1) + 1));
        EXPECT_TRUE((line == 0 && col >= 6 && col < 13) || (line == 4 && ((col >= 8 && col < 25) || (col >= 186 && col < 198))))
            << "530 byte " << i << " line " << line << " col " << col;
    }
    editor->host().openToolTableFile(folder.file("DILNA1.tnc"));
    editor->host().openToolTableFile(folder.file("DIL.t"));
    EXPECT_EQ(p407->nameField(1)->text(), "FREZA D20");
    EXPECT_EQ(p407->radiusField(1)->text(), "+10");
    EXPECT_EQ(p530->nameField(1)->text(), "VRTAK D8");
    EXPECT_TRUE(p530->drillBox(1)->isChecked());
    EXPECT_EQ(p530->tableNameLabel()->text(), "DIL.t");
}

TEST_F(ToolTableWindows, BadFilesAndMissingTemplatesChangeNothing) {
    // The tool tables' messages are their own, with or without a language file.
    setCurrentLanguageFile(QString());
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    folder.write("bad.tnc", "XYZ\r\nline\r\n");
    editor->host().openToolTableFile(folder.file("bad.tnc"));
    editor->host().openToolTableFile(folder.file("missing.tnc"));
    const QStringList m = messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0], QString::fromUtf8("Soubor není typu TNC."));
    EXPECT_TRUE(m[1].startsWith(QString::fromUtf8("Soubor ") + folder.file("missing.tnc"))) << m[1].toStdString();
    EXPECT_EQ(p407->nameField(0)->text(), "T1 D1");

    io.shown.clear();
    QFile::remove(folder.file("tool.t"));
    trigger("NewTable530");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QString::fromUtf8("Nebyl nalezen soubor \"tool.t\" v \r") + programFolder());
    EXPECT_FALSE(p530->session().isLoaded());
}

TEST_F(ToolTableWindows, ATableOfAnotherLayoutIsRefusedAndNeverWritten) {
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    // A TNC table whose radii start at column 34: the 407/426 fields would land in the wrong columns.
    const QString path = tableFile("0000.tnc", "OTHER.tnc");
    QStringList lines = loadTextFile(path).lines;
    lines[1].replace("NAME             L           R ", "NAME            L           R  ");
    saveTextFile(path, lines);
    const QByteArray before = folder.read("OTHER.tnc");
    editor->host().openToolTableFile(path);
    ASSERT_EQ(messages().size(), 1);
    const QString m = messages()[0];
    EXPECT_TRUE(m.startsWith(QString::fromUtf8("Soubor ") + QDir::toNativeSeparators(path) + " nelze otevřít")) << m.toStdString();
    EXPECT_TRUE(m.contains(QString::fromUtf8("není \"R\" ve sloupci 35"))) << m.toStdString();
    // The table in the panel is the one opened before; the refused file is untouched.
    EXPECT_EQ(p407->session().tableName(), "0000.tnc");
    EXPECT_EQ(p407->nameField(0)->text(), "T1 D1");
    EXPECT_EQ(folder.read("OTHER.tnc"), before);
    // The same for an iTNC 530 table without its TT:R-OFFS column where the format has it.
    const QString t530 = tableFile("tool.t", "OTHER.t");
    lines = loadTextFile(t530).lines;
    lines[1].replace("TT:R-OFFS", "TT:R-OFF ");
    saveTextFile(t530, lines);
    io.shown.clear();
    editor->host().openToolTableFile(t530);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(QString::fromUtf8("není \"TT:R-OFFS\" ve sloupci 187"))) << messages()[0].toStdString();
    EXPECT_FALSE(p530->session().isLoaded());
}

TEST_F(ToolTableWindows, InsertDeleteAndTheirChecks) {
    setCurrentLanguageFile(QString()); // prompts and messages need no language file
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    io.inputs = {"10", "0", "101", "abc", QString(), "1"};
    trigger("InsertLine");
    trigger("InsertLine");
    trigger("InsertLine");
    trigger("InsertLine");
    trigger("InsertLine"); // cancelled
    trigger("DeleteLine");
    ASSERT_EQ(io.asked.size(), 6);
    EXPECT_EQ(io.asked[0].title, "Vložit");
    EXPECT_EQ(io.asked[0].prompt, "Zadej číslo vkládané řádky");
    EXPECT_EQ(io.asked[5].title, "Zrušit");
    EXPECT_EQ(io.asked[5].prompt, "Zadej číslo rušené řádky");
    EXPECT_EQ(messages(), QStringList({QString::fromUtf8("Nelze zadat číslo menší,rovno nule !"),
                                       QString::fromUtf8("Nelze zadat číslo větší než sto !"),
                                       "'abc' is not a valid integer value"}));
    const ToolTable &t = p407->session().table();
    // Insert at 10 then delete at 1: old tool 2 is tool 1, the blank line is tool 9.
    EXPECT_EQ(t.name(3).trimmed(), "T2 D2");
    EXPECT_EQ(t.name(11).trimmed(), "");
    EXPECT_EQ(t.number(11), "9  ");
    EXPECT_EQ(t.name(12).trimmed(), "T10 D10");
    EXPECT_EQ(p407->nameField(0)->text(), "T2 D2");
    EXPECT_TRUE(p407->session().isModified());
}

TEST_F(ToolTableWindows, PagingTrackBarAndEnterShortcuts) {
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    p407->trackBar()->setValue(100);
    EXPECT_EQ(p407->session().firstLine(), 93);
    EXPECT_EQ(p407->numberLabel(9)->text(), "100");
    p407->pageDown();
    EXPECT_EQ(messages(), QStringList{"Konec souboru"});
    p530->session().create(loadTextFile(programFile("tool.t")).lines, "TOOL");
    p530->showRows();
    p530->session().track(93);
    p530->pageDown(); // the iTNC 530 panel says nothing at the end
    EXPECT_EQ(messages().size(), 1);

    p407->trackBar()->setValue(3);
    // Enter in a name field computes the radius; Enter in the tenth radius field pages down.
    p407->nameField(0)->setText("VRTAK 12,5");
    QTest::keyClick(p407->nameField(0), Qt::Key_Return);
    EXPECT_EQ(p407->radiusField(0)->text(), "+6,25");
    p407->nameField(1)->clear();
    QTest::keyClick(p407->nameField(1), Qt::Key_Return);
    EXPECT_EQ(p407->radiusField(1)->text(), "+0");
    QTest::keyClick(p407->radiusField(9), Qt::Key_Return);
    EXPECT_EQ(p407->session().firstLine(), 4);
    EXPECT_EQ(p407->nameField(0)->text(), ""); // tool 2, cleared above
    EXPECT_EQ(p407->session().table().name(3).trimmed(), "VRTAK 12,5");
    EXPECT_EQ(p407->session().table().radius(3).trimmed(), "+6,25");

    // A name longer than the field is cut and said so; the radius column stays in place.
    p407->nameField(0)->setText("FREZA VALCOVA DLOUHA D20");
    p407->storeRows();
    EXPECT_EQ(p407->nameField(0)->text(), "FREZA VALCOVA DLO");
    EXPECT_EQ(p407->session().table().line(4).mid(34, 3), "+0 ");
    // The panel says so itself; the status bar keeps its eight panels.
    EXPECT_FALSE(p407->messageLabel()->isHidden());
    EXPECT_EQ(p407->messageLabel()->text(), QString::fromUtf8("Název nástroje je delší než 17 znaků, byl zkrácen."));
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(editor->findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(i))->isHidden()) << i;
}

TEST_F(ToolTableWindows, ThePanelsFoldToTheirTitleBarAndOpenAgain) {
    editor->show();
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    ASSERT_TRUE(p407->isVisible());
    auto *minimise = p407->findChild<QToolButton *>(QStringLiteral("ButtonMinimize"));
    ASSERT_TRUE(minimise);
    QApplication::processEvents();
    const int open = p407->height();
    minimise->click();
    QApplication::processEvents();
    EXPECT_TRUE(p407->isFolded());
    EXPECT_FALSE(p407->nameField(0)->isVisible());
    EXPECT_TRUE(p407->isVisible()); // still there, as its title bar
    EXPECT_LE(p407->height(), p407->titleBarWidget()->sizeHint().height() + 8);
    EXPECT_TRUE(editor->host().action("ToolTable")->isChecked());
    minimise->click();
    QApplication::processEvents();
    EXPECT_FALSE(p407->isFolded());
    EXPECT_TRUE(p407->nameField(0)->isVisible());
    EXPECT_GE(p407->height(), open);
    // Opening a table unfolds a folded panel; the close button hides it.
    minimise->click();
    editor->host().openToolTableFile(tableFile("0000.tnc", "B.tnc"));
    EXPECT_FALSE(p407->isFolded());
    p407->findChild<QToolButton *>(QStringLiteral("ButtonClosePanel"))->click();
    EXPECT_FALSE(p407->isVisible());
    EXPECT_FALSE(editor->host().action("ToolTable")->isChecked());
    // The iTNC 530 panel has the same button.
    EXPECT_TRUE(p530->findChild<QToolButton *>(QStringLiteral("ButtonMinimize530")));
}

TEST_F(ToolTableWindows, ListingsFillTheTreeAndMoveIntoANewTable) {
    // Without a document: the no-document message.
    trigger("WriteToolIntoPanelMazak");
    EXPECT_EQ(messages(), QStringList{QString::fromUtf8("Není otevřen žádný program.")});
    ASSERT_TRUE(editor->host().openDocument(fixture("dil_mazak.eia")));
    trigger("WriteToolIntoPanelMazak");
    ASSERT_TRUE(editor->host().openDocument(fixture("dil4.h")));
    trigger("WriteToolIntoPanelHeiden");
    trigger("WriteToolIntoPanelHeiden"); // the same tools are not listed twice
    const QList<ToolListItem> expected{
        {0, QString::fromUtf8("Nástroje z programu MAZAK :dil_mazak.eia")},
        {1, "T01 FREZA D20" + QString(22, u' ') + "H01"},
        {1, "HORIZONTALNI HLAVA "},
        {1, "T02 VRTAK 8,5" + QString(22, u' ') + "H02"},
        {0, QString::fromUtf8("Nástroje z programu Heidenhain :dil4.h")},
        {1, "T1 ;FREZA VALCOVA D20 *"},
        {1, "T12 ;VRTAK D8,5 *"},
        {0, QString::fromUtf8("Nástroje z programu Heidenhain :dil4.h")},
    };
    EXPECT_EQ(tree->items(), expected);

    io.shown.clear();
    treeItem("PUMNMove")->trigger();
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();
    EXPECT_EQ(p407->tableNameLabel()->text(), "dil_mazak.tnc");
    EXPECT_TRUE(p407->session().isModified());
    EXPECT_EQ(p407->nameField(0)->text(), "FREZA D20"); // the rest of the line was cut at 17
    EXPECT_EQ(p407->radiusField(0)->text(), "+10");
    EXPECT_EQ(p407->nameField(1)->text(), "HLAVA");
    EXPECT_EQ(p407->radiusField(2)->text(), "+4,25");
    EXPECT_EQ(p407->nameField(4)->text(), ";FREZA VALCOVA D2");
    EXPECT_EQ(p407->radiusField(4)->text(), "+10");

    // Tool list file: save, change the tree, load back; a bad level is refused.
    io.files = {folder.file("list.txt"), folder.file("list.txt"), folder.file("bad.txt")};
    treeItem("PUMNSaveToFile")->trigger();
    tree->setCurrentItem(tree->topLevelItem(0));
    treeItem("PUMNDel")->trigger();
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    treeItem("PUMNOpenFromFile")->trigger();
    EXPECT_EQ(tree->items(), expected);
    folder.write("bad.txt", "A\r\n\t\tB\r\n");
    treeItem("PUMNOpenFromFile")->trigger();
    EXPECT_EQ(messages().last(), "Invalid level (2) for item \"B\"");
    EXPECT_EQ(tree->items(), expected);
}

TEST_F(ToolTableWindows, DropsFollowTheSettingAndTheFields) {
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    p530->session().create(loadTextFile(programFile("tool.t")).lines, "TOOL");
    p530->showRows();
    setDragSetting(false);
    drop(p407->nameField(1), "T5 VRTAK D8 *");
    EXPECT_EQ(p407->nameField(1)->text(), "T2 D2");

    setDragSetting(true);
    // What the tree offers: the text of its selected node, as a copy.
    tree->addListing({"TOP", {"T5 VRTAK D8 *"}});
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    EXPECT_EQ(tree->model()->supportedDragActions(), Qt::CopyAction);
    std::unique_ptr<QMimeData> offered(tree->model()->mimeData({tree->currentIndex()}));
    ASSERT_TRUE(offered);
    drop(p407->nameField(1), QString::fromUtf8(offered->data(QLatin1String(kToolNodeMime))));
    EXPECT_EQ(p407->nameField(1)->text(), "VRTAK D8 *");
    EXPECT_EQ(p407->radiusField(1)->text(), "+4");
    EXPECT_EQ(p407->session().table().name(4).trimmed(), "VRTAK D8 *");
    drop(p407->radiusField(2), "+7,5");
    EXPECT_EQ(p407->session().table().radius(5).trimmed(), "+7,5");
    // The iTNC 530 panel takes drops on its first name field only.
    drop(p530->nameField(1), "T5 VRTAK D8 *");
    EXPECT_EQ(p530->nameField(1)->text(), "");
    drop(p530->nameField(0), "T1 ;FREZA VALCOVA DLOUHA D20 *");
    EXPECT_EQ(p530->session().table().name(3), ";FREZA VALCOVA DL");
    EXPECT_EQ(p530->radiusField(0)->text(), "+10");
}

TEST_F(ToolTableWindows, UnsavedTablesAreAskedAboutAtClose) {
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    p407->nameField(0)->setText("FREZA D20");
    // Cancel keeps the program open; Yes with a cancelled save dialog too.
    io.answers = {Answer::Cancel, Answer::Yes};
    EXPECT_FALSE(editor->close());
    EXPECT_FALSE(editor->close());
    EXPECT_EQ(messages(), QStringList(2, QString::fromUtf8("Tabulka nástrojů nebyla uložena. Uložit ji?")));
    EXPECT_EQ(p407->session().table().name(3).trimmed(), "FREZA D20");
    // Opening another table asks as well; No drops the changes.
    io.answers = {Answer::No};
    editor->host().openToolTableFile(tableFile("0000.tnc", "B.tnc"));
    EXPECT_EQ(messages().size(), 3);
    EXPECT_FALSE(p407->session().isModified());
    // Yes saves, then the program closes.
    p407->nameField(0)->setText("VRTAK D5");
    io.answers = {Answer::Yes};
    io.files = {folder.file("C.tnc")};
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(loadTextFile(folder.file("C.tnc")).lines.value(3).mid(5, 8), "VRTAK D5");
}

TEST_F(ToolTableWindows, ToolSheetPrintsThroughQPrinter) {
    const QString pdf = folder.file("sheet.pdf");
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    p407->session().create(p407->session().table().lines(), "DIL4.tnc");
    p407->showRows();
    QStringList shown;
    QString caption;
    setToolSheetPreview([&](TFTisk &w) {
        shown = w.lines();
        caption = w.windowTitle();
        return true;
    });
    int lineHeight = 0, pageHeight = 0, topMargin = 0;
    setPrintDialog([&](QPrinter &printer, QWidget *) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        const QFontMetrics fm(QFont(courierFont(12, true), &printer), &printer);
        lineHeight = fm.height() + fm.leading();
        pageHeight = printer.paperRect(QPrinter::DevicePixel).toRect().height();
        topMargin = qRound(15 / 25.4 * printer.logicalDpiY());
        return true;
    });
    trigger("PrintTnc");
    // "T1 D1" to "T9 D9" have a blank in their third character: tools 10 to 100 are listed.
    EXPECT_EQ(caption, QString::fromUtf8("Počet nástrojů :91"));
    ASSERT_EQ(shown.size(), 12 + 4 * 91);
    ASSERT_TRUE(QFileInfo::exists(pdf));

    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    const int perPage = (pageHeight - 2 * topMargin) / lineHeight;
    const int pages = (int(shown.size()) + perPage - 1) / perPage;
    EXPECT_TRUE(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))))
        << infoText.toStdString() << " expected " << pages;

    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QStringList pdfLines = QString::fromUtf8(text.readAllStandardOutput()).split('\n');
    QStringList printed, expected;
    for (const QString &l : pdfLines)
        if (!l.trimmed().isEmpty())
            printed << l.trimmed().simplified();
    for (const QString &l : shown)
        if (!l.trimmed().isEmpty())
            expected << l.trimmed().simplified();
    ASSERT_GE(printed.size(), 8);
    EXPECT_EQ(printed[0], "Velmora verze : 1.1");
    EXPECT_EQ(printed[1], QString::fromUtf8("N á s t r o j o v ý l i s t pro Rendal"));
    EXPECT_EQ(printed[3], QString::fromUtf8("Č. výkresu : Č. tabulek :DIL4.tnc"));
    EXPECT_EQ(printed, expected);
}

TEST_F(ToolTableWindows, TheToolSheetPreviewClosesOnlyAfterThePrint) {
    editor->host().openToolTableFile(tableFile("0000.tnc", "A.tnc"));
    const QString pdf = folder.file("sheet.pdf");
    int dialogs = 0;
    QList<bool> previewOpen;
    setPrintDialog([&](QPrinter &printer, QWidget *) {
        ++dialogs;
        auto *preview = editor->findChild<TFTisk *>(QStringLiteral("TFTisk"));
        previewOpen << (preview && preview->isVisible());
        if (dialogs == 1)
            return false; // the print dialog cancelled
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    bool openAfterCancel = false;
    QTimer::singleShot(0, [&] {
        auto *w = qobject_cast<TFTisk *>(QApplication::activeModalWidget());
        ASSERT_TRUE(w);
        w->findChild<QPushButton *>(QStringLiteral("ButtonOK"))->click();
        // A cancelled print dialog leaves the preview open for another try.
        openAfterCancel = w->isVisible() && QApplication::activeModalWidget() == w;
        w->findChild<QPushButton *>(QStringLiteral("ButtonOK"))->click();
    });
    trigger("PrintTnc");
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(previewOpen, QList<bool>({true, true}));
    EXPECT_TRUE(openAfterCancel);
    EXPECT_FALSE(editor->findChild<TFTisk *>(QStringLiteral("TFTisk"))->isVisible());
    EXPECT_TRUE(QFileInfo::exists(pdf));
}

TEST_F(ToolTableWindows, MovingAnEmptyListStillMakesTheNewTable) {
    ASSERT_TRUE(tree->nodeTexts().isEmpty());
    treeItem("PUMNMove")->trigger();
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();
    EXPECT_TRUE(p407->session().isLoaded());
    EXPECT_TRUE(p407->isVisible());
    EXPECT_EQ(p407->tableNameLabel()->text(), "0000.tnc");
    EXPECT_TRUE(p407->session().isModified());
    EXPECT_EQ(p407->nameField(0)->text(), "");
}

TEST_F(ToolTableWindows, UnformattedListingFromTheEditorMenuAndPrintingTheList) {
    ASSERT_TRUE(editor->host().openDocument(fixture("dil4.h")));
    QMenu *editorMenu = editor->host().menu("EditorMenu");
    ASSERT_TRUE(editorMenu);
    QAction *noFormat = editor->host().action("PUPMENoFormat");
    EXPECT_TRUE(editorMenu->actions().contains(noFormat));
    trigger("PUPMENoFormat");
    const QStringList nodes = tree->nodeTexts();
    EXPECT_EQ(nodes, QStringList({QString::fromUtf8("Neformát. nástroje z programu :dil4.h"), ";FREZA VALCOVA D20 ",
                                  ";VRTAK D8,5 ", ";FREZA VALCOVA D20 "}));

    // The print holds every node, one per line, without indentation.
    const QString pdf = folder.file("list.pdf");
    setPrintDialog([&](QPrinter &printer, QWidget *) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    treeItem("PUMNPrint")->trigger();
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    QStringList printed;
    for (const QString &l : QString::fromUtf8(text.readAllStandardOutput()).split('\n'))
        if (!l.trimmed().isEmpty())
            printed << l;
    QStringList expected;
    for (const QString &n : nodes)
        expected << n.trimmed();
    ASSERT_EQ(printed.size(), expected.size()) << printed.join('|').toStdString();
    for (int i = 0; i < printed.size(); ++i)
        EXPECT_EQ(printed[i].trimmed(), expected[i]);
    // All lines start in the same column.
    EXPECT_EQ(printed[0].indexOf(u'N'), printed[1].indexOf(u';'));
}

TEST_F(ToolTableWindows, WithAProjectANewTableIsSavedAndAddedAndSavingRenamesItsEntry) {
    QStringList added;
    QList<QPair<QString, QString>> renamed;
    setToolTableProjectHooks({[] { return true; }, [&](const QString &p) { added << p; },
                              [&](const QString &from, const QString &to) { renamed.append({from, to}); }});
    io.files = {folder.file("NOVA"), folder.file("DILNA2")};
    trigger("NewTable");
    EXPECT_EQ(added, QStringList{folder.file("NOVA.tnc")});
    EXPECT_TRUE(renamed.isEmpty());
    EXPECT_FALSE(p407->session().isModified());
    EXPECT_EQ(p407->tableNameLabel()->text(), "NOVA.tnc");
    trigger("SaveTable");
    EXPECT_EQ(renamed, (QList<QPair<QString, QString>>{{"NOVA.tnc", folder.file("DILNA2.tnc")}}));
    // Without a project nothing is saved at once.
    setToolTableProjectHooks({});
    trigger("NewTable530");
    EXPECT_EQ(p530->tableNameLabel()->text(), "TOOL");
    EXPECT_TRUE(p530->session().savedPath().isEmpty());
}

TEST_F(ToolTableWindows, PanelsTakeTheirTextsFromTheLanguageFile) {
    setCurrentLanguageFile(QStringLiteral("English.lng"));
    editor->host().openToolTableFile(tableFile("tool.t", "A.t"));
    folder.write("bad.tnc", "XYZ\r\n");
    editor->host().openToolTableFile(folder.file("bad.tnc"));
    EXPECT_EQ(p530->windowTitle(), "Tool table Heidenhain iTNC530");
    EXPECT_EQ(p530->drillBox(0)->text(), "Drill");
    // A text the program quotes itself stays Czech.
    EXPECT_EQ(messages(), QStringList{"Soubor není typu TNC."});
    emit tree->contextMenu()->aboutToShow();
    EXPECT_EQ(treeItem("PUMNMove")->text(), "Move all into a tool table");
}

TEST(LinePrinter, TitlesPageNumbersWrapAndMarginUnits) {
    test::ScratchFolder dir;
    TUCLinePrinter lp;
    lp.setMarginUnit(TUCLinePrinter::MarginUnit::Inch);
    EXPECT_DOUBLE_EQ(lp.Margins().Left, 0.59);
    lp.setMarginUnit(TUCLinePrinter::MarginUnit::Mm);
    EXPECT_DOUBLE_EQ(lp.Margins().Left, 14.99);
    lp.setMargins({15, 15, 15, 15});

    for (int i = 1; i <= 150; ++i)
        lp.Lines << QStringLiteral("RADEK %1").arg(i);
    lp.Lines << QString(40, u'A') + " " + QString(200, u'B'); // wider than the page: wrapped
    lp.Font = courierFont(12, false);
    lp.PrintTitle = "SEZNAM";
    lp.TitleOnPrintout = TUCLinePrinter::TitlePlace::TopOfPage;
    lp.PrintPageNumbers = true;
    QList<QPair<int, int>> pagesSeen;
    QObject::connect(&lp, &TUCLinePrinter::OnNextPage, [&](int page, int count) { pagesSeen.append({page, count}); });
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("lines.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    const int pages = lp.PrintLines(printer);
    ASSERT_GE(pages, 2);
    ASSERT_EQ(pagesSeen.size(), pages);
    for (int p = 0; p < pages; ++p)
        EXPECT_EQ(pagesSeen[p], qMakePair(p + 1, pages));

    QStringList body; // every page's lines below its title
    for (int p = 1; p <= pages; ++p) {
        QProcess text;
        text.start("pdftotext", {"-f", QString::number(p), "-l", QString::number(p), "-layout", dir.file("lines.pdf"), "-"});
        ASSERT_TRUE(text.waitForFinished(20000));
        QStringList lines;
        for (const QString &l : QString::fromUtf8(text.readAllStandardOutput()).split('\n'))
            if (!l.trimmed().isEmpty())
                lines << l.trimmed();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines[0], QStringLiteral("SEZNAM (%1/%2)").arg(p).arg(pages));
        body += lines.mid(1);
    }
    // Nothing lost; the long line broke after its blank, then where the B's no longer fitted.
    ASSERT_GE(body.size(), 153);
    for (int i = 0; i < 150; ++i)
        ASSERT_EQ(body[i], QStringLiteral("RADEK %1").arg(i + 1));
    EXPECT_EQ(body[150], QString(40, u'A'));
    const QString bs = body.mid(151).join(QString());
    EXPECT_EQ(bs, QString(200, u'B'));
    EXPECT_EQ(TUCLinePrinter().PrintLines(printer), 0); // no lines, no job
}
