// The whole start-up of the program in a fresh program folder, as a new user meets it.
#include "app/startup.h"
#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "shell/logic/userio.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A copy of the built program folder without SetupCNC.ini (and without plug-ins,
// which have tests of their own).
class FreshProgramFolder : public ::testing::Test {
protected:
    test::ScratchFolder folder{true};
    ScriptedUserIO io;

    void SetUp() override {
        QDir(folder.file("Plugin")).removeRecursively();
        ASSERT_FALSE(QFileInfo::exists(folder.file("SetupCNC.ini")));
    }
    void TearDown() override { setCurrentLanguageFile(QString()); }

    QStringList shownTexts() const {
        QStringList out;
        for (const auto &s : io.shown)
            out << s.text;
        return out;
    }
};

// Every text a user can see in the windows of the program: captions, menu
// items, hints, tab and column titles, list entries.
QStringList visibleTexts() {
    QStringList out;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        out << top->windowTitle();
        for (QAction *a : top->findChildren<QAction *>())
            out << a->text() << a->toolTip();
        for (QMenu *m : top->findChildren<QMenu *>())
            out << m->title();
        for (QWidget *w : top->findChildren<QWidget *>()) {
            out << w->toolTip();
            if (w->isWindow())
                out << w->windowTitle();
            if (auto *l = qobject_cast<QLabel *>(w))
                out << l->text();
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                out << b->text();
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                out << g->title();
            else if (auto *c = qobject_cast<QComboBox *>(w))
                for (int i = 0; i < c->count(); ++i)
                    out << c->itemText(i);
            else if (auto *t = qobject_cast<QTabWidget *>(w))
                for (int i = 0; i < t->count(); ++i)
                    out << t->tabText(i);
            else if (auto *tree = qobject_cast<QTreeWidget *>(w))
                for (int i = 0; i < tree->columnCount(); ++i)
                    out << tree->headerItem()->text(i);
        }
    }
    return out;
}

} // namespace

TEST_F(FreshProgramFolder, TheFirstStartSpeaksCzechEverywhere) {
    const std::unique_ptr<TFEditor> w = startVelmora({}, &io);
    EXPECT_TRUE(io.shown.isEmpty()) << shownTexts().join('|').toStdString();
    // The shipped Czech file is in force and stored as the choice.
    EXPECT_EQ(currentLanguageFile(), "Cestina.lng");
    EXPECT_EQ(IniFile(setupIniPath()).readString("Language", "lng"), "Cestina");
    QAction *czech = w->menuByName("Jazyk")->findChild<QAction *>("Cestina");
    ASSERT_TRUE(czech);
    EXPECT_TRUE(czech->isChecked());

    Document *doc = w->newDocument();
    EXPECT_EQ(doc->caption(), "Bez názvu 1");
    QStringList withError;
    for (const QString &t : visibleTexts())
        if (t.contains("Error", Qt::CaseInsensitive))
            withError << t;
    EXPECT_TRUE(withError.isEmpty()) << withError.join('|').toStdString();

    // A question and a command's message read as texts.
    doc->setLines({"N20 G1 X10"});
    io.answers = {Answer::Ok, Answer::No};
    w->action("ConltrolXYZ")->trigger();
    EXPECT_EQ(shownTexts(), QStringList({"Chyba souřadnice X na : N20 G1 X10", "Pokračovat ?"}));
    io.shown.clear();
    io.answers = {Answer::No};
    doc->setModified(true);
    w->action("CloseOne")->trigger();
    EXPECT_EQ(shownTexts(), QStringList({"Program byl změněn. Uložit změny?"}));
}

TEST_F(FreshProgramFolder, AStoredChoiceStaysAndAVanishedFileFallsBackToCzech) {
    folder.write("SetupCNC.ini", "[Language]\r\nlng=English\r\n");
    {
        const std::unique_ptr<TFEditor> w = startVelmora({}, &io);
        EXPECT_EQ(currentLanguageFile(), "English.lng");
        EXPECT_EQ(w->newDocument()->caption(), "Untitled 1");
    }
    QFile::remove(folder.file("Language/English.lng"));
    const std::unique_ptr<TFEditor> w = startVelmora({}, &io);
    EXPECT_EQ(currentLanguageFile(), "Cestina.lng");
    EXPECT_EQ(w->newDocument()->caption(), "Bez názvu 1");
    // The user's choice is kept for when the file comes back.
    EXPECT_EQ(IniFile(setupIniPath()).readString("Language", "lng"), "English");
    EXPECT_TRUE(io.shown.isEmpty()) << shownTexts().join('|').toStdString();
}

TEST_F(FreshProgramFolder, StartUpMessagesNameTheFileAndCarryTheirText) {
    QFile::remove(folder.file("Kody/funkce_M.txt"));
    const QString missing = folder.file("nic/zadny.nc");
    const QString folderArg = folder.file("sablony");
    for (bool withLanguage : {true, false}) {
        io.shown.clear();
        if (!withLanguage) // not even the language files are there
            QDir(folder.file("Language")).removeRecursively();
        const std::unique_ptr<TFEditor> w = startVelmora({missing, folderArg}, &io);
        const QStringList m = shownTexts();
        ASSERT_EQ(m.size(), 3) << m.join('|').toStdString();
        EXPECT_EQ(m[0], "Chybí soubor " + QDir::toNativeSeparators(folder.file("Kody/funkce_M.txt")) + ".");
        EXPECT_TRUE(m[1].startsWith("Soubor " + missing + " nelze otevřít: ")) << m[1].toStdString();
        EXPECT_TRUE(m[2].startsWith("Soubor " + folderArg + " nelze otevřít: ")) << m[2].toStdString();
        for (const QString &t : m)
            EXPECT_FALSE(t.contains("Error")) << t.toStdString();
        EXPECT_TRUE(w->documents().isEmpty());
    }
}

TEST_F(FreshProgramFolder, TheStandardDialogsSpeakTheLanguageInForce) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_cs.qm"))
        GTEST_SKIP() << "Qt's Czech translations are not installed (Debian package qt6-translations-l10n, see dev.sh)";
    const std::unique_ptr<TFEditor> w = startVelmora({}, &io);
    // The buttons of message boxes, input boxes and file dialogs.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ano");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Zrušit");
    // The English file names no Qt translation: the buttons are Qt's own again.
    w->menuByName("Jazyk")->findChild<QAction *>("English")->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    w->menuByName("Jazyk")->findChild<QAction *>("Cestina")->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ano");
}
