// The main window's documents driven as a user would, with scripted answers to every question.
#include "common/codec.h"
#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "shell/logic/setup.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "shell/widgets/tfshow.h"
#include "tests/shell/shellfixture.h"
#include "tests/support/testutil.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::Shell;


TEST_F(Shell, FirstStartWithoutSettingsFile) {
    start();
    w->resize(828, 712);
    w->show();
    QApplication::processEvents();
    auto *source = w->findChild<QTabWidget *>("PageControl");
    EXPECT_EQ(source->currentIndex(), 1);
    EXPECT_TRUE(source->isVisible());
    EXPECT_EQ(source->width(), 230);
    EXPECT_EQ(w->folderCaptions().value(0), "Ověřené programy");
    EXPECT_EQ(w->folderListEntries().size(), 9);
    EXPECT_EQ(w->folderListEntries().value(8), "Tento Počítač");
    Document *doc = w->newDocument();
    EXPECT_EQ(doc->highlighter(), Highlighter::None);
    EXPECT_EQ(doc->editor()->paper(), QColor(0xFF, 0xFB, 0xF0)); // clCream
    // Trimming is on: trailing blanks go when the caret leaves the line.
    type(doc->editor(), Qt::Key_X, "X");
    type(doc->editor(), Qt::Key_Space, " ");
    type(doc->editor(), Qt::Key_Space, " ");
    type(doc->editor(), Qt::Key_Return, "\r");
    EXPECT_EQ(doc->line(0), "X");
    EXPECT_TRUE(io.shown.isEmpty()) << shownTexts().join('|').toStdString();
    // Closing writes the settings, the stored panel visibility is ignored at the next start.
    doc->setModified(false);
    ASSERT_TRUE(closeProgram());
    IniFile ini = setupIni();
    EXPECT_EQ(ini.readString("Editor", "Panel_sirka"), "230");
    EXPECT_EQ(ini.readString("Adresar", "Geometrie"), "c:\\");
    EXPECT_FALSE(ini.hasKey("Editor", "Trim"));
    ini.writeString("Editor", "Panel_visible", "0");
    w.reset();
    start();
    EXPECT_FALSE(w->findChild<QTabWidget *>("PageControl")->isHidden());
}

TEST_F(Shell, UntitledCounterAndTabOrder) {
    start();
    Document *a = w->newDocument();
    Document *b = w->newDocument();
    EXPECT_EQ(a->caption(), "Bez názvu 1");
    EXPECT_EQ(b->caption(), "Bez názvu 2");
    ASSERT_TRUE(w->closeDocument(a));
    EXPECT_EQ(w->newDocument()->caption(), "Bez názvu 3");
    auto *tabs = w->findChild<QTabWidget *>("PageControl2");
    tabs->setCurrentIndex(0);
    Document *opened = w->openDocument(program("p.nc", {"N10 G0 X0"}));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(tabs->indexOf(opened), 2);
    EXPECT_EQ(w->activeDocument(), opened);
    EXPECT_EQ(w->currentFileName(), folder.file("p.nc"));
    EXPECT_EQ(w->statusPanelText(3), "p.nc");
    EXPECT_FALSE(opened->isModified());
}

TEST_F(Shell, SavingIsLosslessAndRefusesCharactersOutsideTheCodePage) {
    start();
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    folder.write("all.nc", "N10 " + all + "\r\nN20 M30\r\n");
    const QByteArray before = folder.read("all.nc");
    Document *doc = w->openDocument(folder.file("all.nc"));
    ASSERT_NE(doc, nullptr);
    doc->setModified(true);
    trigger("Save");
    EXPECT_EQ(folder.read("all.nc"), before);
    EXPECT_FALSE(doc->isModified());

    // LF and CR line ends are written back as CR LF; a missing last line end is added.
    folder.write("mixed.nc", "N10\nN20\rN30\r\n\r\nN40");
    Document *mixed = w->openDocument(folder.file("mixed.nc"));
    EXPECT_EQ(mixed->lines(), (QStringList{"N10", "N20", "N30", "", "N40"}));
    mixed->setModified(true);
    trigger("Save");
    EXPECT_EQ(folder.read("mixed.nc"), QByteArray("N10\r\nN20\r\nN30\r\n\r\nN40\r\n"));

    w->findChild<QTabWidget *>("PageControl2")->setCurrentWidget(doc);
    doc->replaceLine(1, QString::fromUtf8("N20 \u20AC \u4E2D"));
    doc->setModified(true);
    trigger("Save");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(io.shown[0].text.contains("řádek 2")) << io.shown[0].text.toStdString();
    EXPECT_EQ(folder.read("all.nc"), before);
    EXPECT_TRUE(doc->isModified());
}

TEST_F(Shell, OverwriteQuestionOnlyForAnExistingFile) {
    folder.write("SetupCNC.ini", "[Editor]\r\nOverwrite=1\r\n");
    start();
    const QString path = program("o.nc", {"N10"});
    Document *doc = w->openDocument(path);
    doc->replaceLine(0, "N20");
    io.answers = {Answer::No};
    trigger("Save");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_TRUE(io.shown[0].text.contains(path));
    EXPECT_EQ(folder.read("o.nc"), QByteArray("N10\r\n"));
    QFile::remove(path);
    trigger("Save");
    EXPECT_EQ(io.shown.size(), 1);
    EXPECT_EQ(folder.read("o.nc"), QByteArray("N20\r\n"));
}

TEST_F(Shell, ClosingAModifiedDocumentNeverLosesIt) {
    start();
    Document *doc = w->newDocument();
    doc->insertAtCaret("G01 X10");
    // Yes, then the save dialog is cancelled: the document stays with its text.
    io.answers = {Answer::Yes};
    io.files = {QString()};
    trigger("CloseOne");
    ASSERT_EQ(w->documents().size(), 1);
    EXPECT_EQ(w->activeDocument()->line(0), "G01 X10");
    // No closes it without saving.
    io.answers = {Answer::No};
    trigger("CloseOne");
    EXPECT_TRUE(w->documents().isEmpty());
    EXPECT_FALSE(w->templatePanel()->isEnabled());
}

TEST_F(Shell, ProgramCloseAsksForEveryModifiedDocument) {
    start();
    Document *first = w->openDocument(program("a.nc", {"N10"}));
    Document *second = w->openDocument(program("b.nc", {"N10"}));
    first->replaceLine(0, "N11");
    first->setModified(true);
    second->replaceLine(0, "N12");
    second->setModified(true);
    // The second one is active; Yes for the first saves the first.
    io.answers = {Answer::Yes, Answer::Cancel};
    EXPECT_FALSE(closeProgram());
    EXPECT_EQ(folder.read("a.nc"), QByteArray("N11\r\n"));
    EXPECT_EQ(folder.read("b.nc"), QByteArray("N10\r\n"));
    ASSERT_EQ(io.shown.size(), 2);
    EXPECT_TRUE(io.shown[1].text.contains("b.nc"));
    EXPECT_EQ(io.shown[1].buttons, kYesNoCancel);

    // A save that fails keeps the program open.
    QDir().mkpath(folder.file("ro"));
    Document *untitled = w->newDocument();
    untitled->insertAtCaret("X");
    io.shown.clear();
    io.answers = {Answer::No, Answer::Yes};
    io.files = {folder.file("missing/dir/x.nc")};
    EXPECT_FALSE(closeProgram());
    EXPECT_EQ(w->documents().size(), 3);
    EXPECT_EQ(io.shown.last().kind, MessageKind::Error);
}

TEST_F(Shell, EnterRuleAndUpperCaseRule) {
    folder.write("SetupCNC.ini", "[Editor]\r\nEnter=1\r\nUpCase=1\r\n");
    start();
    Document *doc = w->newDocument();
    doc->setLines({"G01 X10"});
    doc->setCaret(1, 4);
    type(doc->editor(), Qt::Key_Return, "\r");
    EXPECT_EQ(doc->lines(), (QStringList{"G01 X10", "N1"}));
    EXPECT_EQ(doc->caretLine(), 2);
    EXPECT_EQ(doc->caretColumn(), 4);
    type(doc->editor(), Qt::Key_X, "x");
    EXPECT_EQ(doc->line(1), "N1 X");
    trigger("MSpecialChars");
    trigger("MSpecialChars");
    type(doc->editor(), 0, QString::fromUtf8("č"));
    type(doc->editor(), Qt::Key_Y, "y");
    EXPECT_EQ(doc->line(1), QString::fromUtf8("N1 XčY"));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(w->statusPanelText(2), "Upraveno");
}

TEST_F(Shell, RecentFilesInBothMenus) {
    start();
    QStringList paths;
    for (int i = 1; i <= 6; ++i)
        paths << program(QString("f%1.nc").arg(i), {"N10"});
    io.files = paths;
    for (int i = 0; i < 6; ++i)
        trigger("Open");
    const QStringList expected{paths[5], paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(w->recentFiles(), expected);
    EXPECT_EQ(readRecentFiles(), expected);
    QMenu *recent = w->findChild<QMenu *>("NaposledyOtevrene");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->actions().size(), 7); // five files, a dash and "Smazat seznam"
    EXPECT_EQ(recent->actions().value(0)->text(), paths[5]);
    io.files = {paths[5]};
    trigger("Open");
    EXPECT_EQ(w->recentFiles().value(0), paths[5]);
    EXPECT_EQ(w->recentFiles().value(1), paths[5]);
    // A vanished recent file gives the error and nothing else.
    const int tabs = int(w->documents().size());
    QFile::remove(paths[4]);
    w->openRecentFile(paths[4]);
    EXPECT_EQ(int(w->documents().size()), tabs);
    EXPECT_EQ(io.shown.last().text, languageText("Messages", "ErrorLastOpen"));
    trigger("SmazatSeznam");
    EXPECT_TRUE(w->recentFiles().isEmpty());
    EXPECT_TRUE(readRecentFiles().isEmpty());
    EXPECT_EQ(recent->actions().size(), 2);
}

TEST_F(Shell, HighlighterCommandThatIsTheLastChoiceDoesNothing) {
    start();
    Document *a = w->newDocument();
    Document *b = w->newDocument();
    w->findChild<QTabWidget *>("PageControl2")->setCurrentWidget(a);
    trigger("SyntaxeISO");
    EXPECT_EQ(a->highlighter(), Highlighter::ISO);
    EXPECT_EQ(w->statusPanelText(4), "ISO");
    w->findChild<QTabWidget *>("PageControl2")->setCurrentWidget(b);
    EXPECT_EQ(w->statusPanelText(4), "");
    trigger("SyntaxeISO");
    EXPECT_EQ(b->highlighter(), Highlighter::None);
    trigger("SyntaxeISO2");
    EXPECT_EQ(b->highlighter(), Highlighter::ISO2);
    EXPECT_EQ(w->statusPanelText(4), "ISO 2");
    EXPECT_TRUE(w->action("SyntaxeISO2")->isChecked());
    EXPECT_FALSE(w->action("SyntaxeISO")->isChecked());
}

TEST_F(Shell, RemoveLeftBlanksIsOneUndoStep) {
    start();
    Document *doc = w->newDocument();
    doc->setLines({"  \tN10 G0", "", " N20"});
    trigger("MRemoveLeftChars");
    EXPECT_EQ(doc->lines(), (QStringList{"N10 G0", "", "N20"}));
    EXPECT_TRUE(doc->isModified());
    trigger("Undo");
    EXPECT_EQ(doc->lines(), (QStringList{"  \tN10 G0", "", " N20"}));
    EXPECT_TRUE(io.shown.isEmpty());
}

TEST_F(Shell, LineListDoesNotSetTheModifiedFlag) {
    start();
    Document *doc = w->newDocument();
    doc->insertLine(0, "N20");
    doc->insertLine(0, "N10");
    doc->insertLine(2, "N30");
    doc->replaceLine(1, "N21");
    EXPECT_EQ(doc->lines(), (QStringList{"N10", "N21", "N30"}));
    doc->deleteLine(2);
    EXPECT_EQ(doc->lines(), (QStringList{"N10", "N21"}));
    EXPECT_EQ(doc->lineCount(), 2);
    EXPECT_FALSE(doc->isModified());
    doc->clear();
    EXPECT_EQ(doc->lineCount(), 0);
    EXPECT_FALSE(w->host().activeDocument()->isModified());
}

TEST_F(Shell, RenamedFolderCaptionIsStoredAtOnce) {
    start();
    io.inputs = {QString::fromUtf8("Díly")};
    w->renameFolderCaption(5);
    EXPECT_EQ(setupIni().readString("Adresare", "6"), QString::fromUtf8("Díly"));
    w.reset();
    start();
    EXPECT_EQ(w->folderCaptions().value(5), QString::fromUtf8("Díly"));
    EXPECT_EQ(w->folderListEntries().value(5), QString::fromUtf8("Díly"));
}

TEST_F(Shell, NoDocumentMessageAndUndoWithNothingToUndo) {
    start();
    EXPECT_EQ(w->host().requireDocument(), nullptr);
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, languageText("Messages", "NoProgram"));
    EXPECT_EQ(io.shown[0].buttons, kCancel);
    w->newDocument();
    trigger("Undo");
    EXPECT_EQ(io.shown.last().text, "No Undo");
}

TEST_F(Shell, SplashBarEndsFullWithTemplateFilesAndArguments) {
    for (const char *name : {"a", "b", "c"})
        folder.write(QString("sablony/%1.sab").arg(name),
                     QString("[popis | popis]\r\n%1: Set %1\r\ninfo: \r\ndialog:none\r\n[S | Start]\r\nN10\r\n\r\n").arg(name).toLatin1());
    for (int arguments : {0, 2}) {
        auto *splash = new TFShow;
        splash->show();
        w = std::make_unique<TFEditor>(&io);
        w->setSplash(splash);
        for (int i = 0; i < 3; ++i) // the keyword lists
            w->splashStep();
        w->buildTemplatePanel();
        w->splashPauses(arguments);
        EXPECT_EQ(splash->maximum(), 6);
        EXPECT_EQ(splash->position(), 6 - arguments);
        QStringList files;
        for (int i = 0; i < arguments; ++i)
            files << program(QString("arg%1.nc").arg(i), {"N10"});
        w->openStartupFiles(files);
        EXPECT_EQ(splash->position(), 6);
        EXPECT_EQ(w->documents().size(), arguments);
        delete splash;
    }
}

TEST_F(Shell, TemplateButtonInsertsItsSectionBeforeTheCaretLine) {
    folder.write("sablony/iso.sab", QByteArray("[popis | popis]\r\niso: ISO set\r\ninfo: \r\ndialog:none\r\n"
                                               "[VRT | Vrtani]\r\nG81 X|0 Y0\r\n\r\nG80\r\n[KON | Konec]\r\nM30\r\nlast\r\n"));
    start();
    w->buildTemplatePanel();
    Document *doc = w->newDocument();
    doc->setLines({"N10", "N20"});
    doc->setModified(false);
    doc->setCaret(2, 2);
    const auto buttons = w->templatePanel()->findChildren<QToolButton *>();
    auto button = [&](const QString &caption) {
        for (QToolButton *b : buttons)
            if (b->text() == caption)
                return b;
        return static_cast<QToolButton *>(nullptr);
    };
    ASSERT_TRUE(button("VRT") && button("KON"));
    EXPECT_EQ(button("VRT")->toolTip(), " Vrtani");
    button("VRT")->click();
    // The empty body line goes in as one blank; the "|" is taken out and marks the caret.
    EXPECT_EQ(doc->lines(), QStringList({"N10", "G81 X0 Y0", " ", "G80", "N20"}));
    EXPECT_EQ(doc->caretLine(), 2);
    EXPECT_EQ(doc->caretColumn(), 6);
    EXPECT_TRUE(doc->isModified());
    trigger("Undo");
    EXPECT_EQ(doc->lines(), QStringList({"N10", "N20"}));
    // The last section: the file's last line is never inserted; without a mark the caret keeps its line.
    doc->setCaret(1, 1);
    button("KON")->click();
    EXPECT_EQ(doc->lines(), QStringList({"M30", "N10", "N20"}));
    EXPECT_EQ(doc->caretLine(), 1);
}
