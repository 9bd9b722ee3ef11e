// Applying language files to windows, the "Jazyk" menu and one calculator window's section.
#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"
#include "shell/widgets/languagemenu.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace velmora {
namespace {

template <typename T>
T *make(QWidget *parent, const char *name) {
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    if (parent && parent->layout())
        parent->layout()->addWidget(w);
    return w;
}

QGroupBox *radioGroup(QWidget *parent, const char *name, int buttons) {
    auto *g = make<QGroupBox>(parent, name);
    auto *l = new QVBoxLayout(g);
    for (int i = 0; i < buttons; ++i)
        l->addWidget(new QRadioButton(QStringLiteral("built-in %1").arg(i), g));
    return g;
}

QStringList radioTexts(QGroupBox *g) {
    QStringList out;
    for (QRadioButton *b : g->findChildren<QRadioButton *>())
        out << b->text();
    return out;
}

// A main window and dialogs shaped like the program's, with the components the rules name.
struct Windows {
    QMainWindow main;
    QAction *newAction = nullptr;
    QMenu *fileMenu = nullptr;
    QToolBar *toolBar = nullptr;
    QToolButton *button = nullptr;
    QTabWidget *tabs = nullptr;
    QLabel *mainLabel = nullptr;
    QDialog *setup = nullptr;
    QLabel *setupLabel = nullptr;
    QGroupBox *setupRadio = nullptr;
    QTreeWidget *setupList = nullptr;
    QDialog *otacky = nullptr;
    QLabel *otackyLabel = nullptr;
    QGroupBox *otackyRadio = nullptr;

    Windows() {
        main.setObjectName(QStringLiteral("TFEditor"));
        fileMenu = main.menuBar()->addMenu(QStringLiteral("Soubor"));
        fileMenu->setObjectName(QStringLiteral("Soubor"));
        fileMenu->menuAction()->setObjectName(QStringLiteral("Soubor"));
        newAction = new QAction(QStringLiteral("Nový"), &main);
        newAction->setObjectName(QStringLiteral("New"));
        fileMenu->addAction(newAction);
        toolBar = main.addToolBar(QStringLiteral("Soubory"));
        toolBar->setObjectName(QStringLiteral("ToolBar1"));
        toolBar->addAction(newAction);
        button = qobject_cast<QToolButton *>(toolBar->widgetForAction(newAction));
        button->setObjectName(QStringLiteral("ToolButton1"));
        auto *central = new QWidget(&main);
        new QVBoxLayout(central);
        main.setCentralWidget(central);
        tabs = make<QTabWidget>(central, "PageControl");
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheetSoubory"));
        tabs->addTab(page, QStringLiteral("Soubory"));
        mainLabel = make<QLabel>(central, "Label1");

        setup = new QDialog(&main); // parented to the main window, a window of its own
        setup->setObjectName(QStringLiteral("TFSetup"));
        new QVBoxLayout(setup);
        setupLabel = make<QLabel>(setup, "Label1");
        setupRadio = radioGroup(setup, "RadioGroup2", 4);
        setupList = make<QTreeWidget>(setup, "ListViewFISO");
        setupList->setColumnCount(2);

        otacky = new QDialog(&main);
        otacky->setObjectName(QStringLiteral("FOtacky")); // named like its section
        otacky->setWindowTitle(QStringLiteral("built-in"));
        new QVBoxLayout(otacky);
        otackyLabel = make<QLabel>(otacky, "Label1");
        otackyRadio = radioGroup(otacky, "RadioGroup", 3);
    }
};

TEST(LanguageApply, KeyRulesPerSection) {
    test::ScratchFolder folder;
    folder.write(QStringLiteral("Language/Test.lng"),
                 test::cp1250Lines({"[Editor]", "New=New", "Soubor=&File", "ToolButton1=first hint", "ToolButton1H=later hint",
                                    "TabSheetSoubory=Files", "ToolBar1=Files bar", "Label1=main label", "NoSuchThing=x",
                                    "[FSetup]", "FSetup=Settings", "Label1=setup label", "RadioGroup2=ISO,ISO2,\"NO NE\"",
                                    "RadioGroup2C=Assign", "ListViewFISO.colums[0]=Function", "ListViewFISO.colums[1]=Description",
                                    "[FOtacky]", "FOtacky=Speed", "[Messages]", "Label1=never"}));
    Windows w;
    ASSERT_TRUE(applyLanguageFile(folder.file(QStringLiteral("Language/Test.lng"))));

    EXPECT_EQ(w.newAction->text(), QStringLiteral("New"));
    EXPECT_EQ(w.fileMenu->title(), QStringLiteral("&File"));
    EXPECT_EQ(w.button->toolTip(), QStringLiteral("later hint")); // the later of the two keys wins
    EXPECT_EQ(w.tabs->tabText(0), QStringLiteral("Files"));
    EXPECT_EQ(w.toolBar->windowTitle(), QStringLiteral("Files bar"));
    EXPECT_EQ(w.mainLabel->text(), QStringLiteral("main label"));
    // The hint survives a later change of the button's action.
    w.newAction->setText(QStringLiteral("Nový"));
    EXPECT_EQ(w.button->toolTip(), QStringLiteral("later hint"));

    // Each window takes its own section only.
    EXPECT_EQ(w.setup->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(w.setupLabel->text(), QStringLiteral("setup label"));
    EXPECT_EQ(radioTexts(w.setupRadio), QStringList({"ISO", "ISO2", "NO NE", "built-in 3"}));
    EXPECT_EQ(w.setupRadio->title(), QStringLiteral("Assign"));
    EXPECT_EQ(w.setupList->headerItem()->text(0), QStringLiteral("Function"));
    EXPECT_EQ(w.setupList->headerItem()->text(1), QStringLiteral("Description"));

    // A section holding only the caption: every other fixed text reads "Error"; labels stay.
    EXPECT_EQ(w.otacky->windowTitle(), QStringLiteral("Speed"));
    EXPECT_EQ(w.otackyRadio->title(), QStringLiteral("Error"));
    EXPECT_EQ(radioTexts(w.otackyRadio), QStringList({"Error", "Error", "Error"}));
    EXPECT_EQ(w.otackyLabel->text(), QString());
}

TEST(LanguageApply, RadioGroupItemsByIndexAndMissingSections) {
    test::ScratchFolder folder;
    folder.write(QStringLiteral("Language/Test.lng"),
                 test::cp1250Lines({"[FOtacky]", "RadioGroup=Insert", "RadioGroup.items[0]=a", "RadioGroup.items[2]=c", "Label1=Cutting speed"}));
    Windows w;
    ASSERT_TRUE(applyLanguageFile(folder.file(QStringLiteral("Language/Test.lng"))));
    EXPECT_EQ(w.otacky->windowTitle(), QStringLiteral("Error")); // caption key missing
    EXPECT_EQ(w.otackyRadio->title(), QStringLiteral("Insert"));
    EXPECT_EQ(radioTexts(w.otackyRadio), QStringList({"a", "Error", "c"}));
    EXPECT_EQ(w.otackyLabel->text(), QStringLiteral("Cutting speed"));
    // No Editor section: the main window keeps its texts.
    EXPECT_EQ(w.newAction->text(), QStringLiteral("Nový"));
    EXPECT_FALSE(applyLanguageFile(folder.file(QStringLiteral("Language/None.lng"))));
}

TEST(LanguageApply, CalculatorWindowSection) {
    test::ScratchFolder folder;
    folder.write(QStringLiteral("Language/Test.lng"),
                 test::cp1250Lines({"[FKruznice]", "Label1=Diameter", "RadioGroup2.colums[0]=Cartesian",
                                    "RadioGroup2.colums[1]=Polar", "SpeedButton1=Delete all", "[FDrazka]", "ComboBox1=one,two",
                                    "[FPrimka]"}));
    QDialog kruznice;
    new QVBoxLayout(&kruznice);
    QLabel *label = make<QLabel>(&kruznice, "Label1");
    QGroupBox *radio = radioGroup(&kruznice, "RadioGroup2", 2);
    auto *flat = make<QToolButton>(&kruznice, "SpeedButton1");
    flat->setText(QStringLiteral("X"));
    QDialog drazka;
    new QVBoxLayout(&drazka);
    auto *combo = make<QComboBox>(&drazka, "ComboBox1");
    combo->addItems({"jedna", "dvě", "tři"});
    combo->setCurrentIndex(2);
    QDialog primka;
    primka.setWindowTitle(QStringLiteral("built-in"));

    setCurrentLanguageFile(QString());
    applyWindowSection(&kruznice, QStringLiteral("FKruznice")); // no language file: nothing changes
    EXPECT_EQ(label->text(), QString());

    setCurrentLanguageFile(QStringLiteral("Test.lng"));
    applyWindowSection(&kruznice, QStringLiteral("FKruznice"));
    EXPECT_EQ(kruznice.windowTitle(), QStringLiteral("ERROR"));
    EXPECT_EQ(label->text(), QStringLiteral("Diameter"));
    EXPECT_EQ(radioTexts(radio), QStringList({"Cartesian", "Polar"}));
    EXPECT_EQ(flat->toolTip(), QStringLiteral("Delete all"));
    EXPECT_EQ(flat->text(), QStringLiteral("X"));

    applyWindowSection(&drazka, QStringLiteral("FDrazka"));
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("two"));
    EXPECT_EQ(combo->currentIndex(), 1);

    applyWindowSection(&primka, QStringLiteral("FPrimka")); // an empty section keeps the built-in texts
    EXPECT_EQ(primka.windowTitle(), QStringLiteral("built-in"));
    setCurrentLanguageFile(QString());
}

// The real main window with the shipped language files.
class LanguageMenu : public ::testing::Test {
protected:
    LanguageMenu() {
        for (const char *lang : {"Cestina", "English"}) {
            const QString rel = QStringLiteral("Language/%1.lng").arg(QLatin1String(lang));
            QFile src(QStringLiteral(VELMORA_PROGRAM_DIR "/") + rel);
            EXPECT_TRUE(src.open(QIODevice::ReadOnly));
            folder.write(rel, src.readAll());
        }
        folder.write(QStringLiteral("Language/Broken.lng"), test::cp1250Lines({"[Editor]", "New=Broken"}));
    }
    ~LanguageMenu() override { setCurrentLanguageFile(QString()); }
    QAction *item(TFEditor &editor, const char *name) {
        QMenu *menu = editor.host().menu(QStringLiteral("Jazyk"));
        return menu ? menu->findChild<QAction *>(QString::fromLatin1(name)) : nullptr;
    }
    test::ScratchFolder folder;
    ScriptedUserIO io;
};

TEST_F(LanguageMenu, ChoosingALanguageAppliesAndStoresIt) {
    folder.write(QStringLiteral("SetupCNC.ini"), test::cp1250Lines({"[Language]", "lng=Cestina"}));
    TFEditor editor(&io);
    installLanguageMenu(editor.host());
    QAction *cs = item(editor, "Cestina");
    QAction *en = item(editor, "English");
    QAction *broken = item(editor, "Broken");
    ASSERT_TRUE(cs && en && broken);
    EXPECT_EQ(cs->text(), QStringLiteral("Čeština"));
    EXPECT_EQ(en->text(), QStringLiteral("English"));
    EXPECT_EQ(broken->text(), QStringLiteral("ERROR")); // no "Language" key
    EXPECT_TRUE(cs->isChecked());
    EXPECT_FALSE(en->isChecked());

    en->trigger();
    EXPECT_EQ(currentLanguageFile(), QStringLiteral("English.lng"));
    EXPECT_EQ(IniFile(folder.file(QStringLiteral("SetupCNC.ini"))).readString("Language", "lng"), QStringLiteral("English"));
    EXPECT_TRUE(en->isChecked());
    EXPECT_FALSE(cs->isChecked());
    EXPECT_EQ(editor.host().action(QStringLiteral("New"))->text(),
              IniFile(folder.file(QStringLiteral("Language/English.lng"))).readString("Editor", "New"));
    EXPECT_EQ(languageText(QStringLiteral("Messages"), QStringLiteral("NoProgram")), QStringLiteral("No program is open."));
    EXPECT_TRUE(io.shown.isEmpty());
}

TEST_F(LanguageMenu, StartUpAppliesTheStoredFile) {
    // A stored file that is not there leaves the program in Czech, and the choice stored.
    const struct {
        const char *stored;
        const char *current;
        const char *caption;
    } cases[] = {{"English", "English.lng", "New"}, {"english", "English.lng", "New"}, {"Missing", "Cestina.lng", "Nový"}};
    for (const auto &c : cases) {
        setCurrentLanguageFile(QString());
        folder.write(QStringLiteral("SetupCNC.ini"), test::cp1250Lines({"[Language]", QStringLiteral("lng=") + c.stored}));
        chooseStartupLanguage();
        TFEditor editor(&io);
        applyStartupLanguage(editor.host());
        EXPECT_EQ(currentLanguageFile(), QString::fromLatin1(c.current)) << c.stored;
        EXPECT_EQ(editor.host().action(QStringLiteral("New"))->text(), QString::fromUtf8(c.caption)) << c.stored;
        EXPECT_EQ(IniFile(setupIniPath()).readString("Language", "lng"), QString::fromLatin1(c.stored));
    }
    // Without any language file the built-in captions stay and nothing is reported.
    QDir(folder.file("Language")).removeRecursively();
    QFile::remove(folder.file("SetupCNC.ini"));
    setCurrentLanguageFile(QString());
    chooseStartupLanguage();
    TFEditor editor(&io);
    const QString builtIn = editor.host().action(QStringLiteral("New"))->text();
    applyStartupLanguage(editor.host());
    EXPECT_TRUE(currentLanguageFile().isEmpty());
    EXPECT_EQ(editor.host().action(QStringLiteral("New"))->text(), builtIn);
    EXPECT_TRUE(io.shown.isEmpty());
}

} // namespace
} // namespace velmora
