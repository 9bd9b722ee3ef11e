// The "RS 232" tab driven through the main window, against a socat peer.
#include "comm/logic/tcomm.h"
#include "comm/widgets/install.h"
#include "comm/widgets/tfaddmaschine.h"
#include "common/ini.h"
#include "common/language.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "tests/comm/ptypair.h"
#include "tests/support/testutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

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

template <class T> T *child(QWidget *w, const char *name) {
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(c) << name;
    return c;
}

void chooseText(QWidget *w, const char *name, const QString &text) {
    auto *c = child<QComboBox>(w, name);
    if (c->isEditable())
        c->setEditText(text);
    else
        c->setCurrentIndex(c->findText(text));
}

class Rs232Tab : public ::testing::Test {
protected:
    Rs232Tab() : folder(true) {
        setCurrentLanguageFile(QStringLiteral("Cestina.lng"));
    }
    ~Rs232Tab() override {
        editor.reset();
        setCurrentLanguageFile(QString());
    }
    void start(const QStringList &strojeIni) {
        folder.write("stroje.ini", test::cp1250Lines(strojeIni));
        editor = std::make_unique<TFEditor>(&io);
        installComm(editor->host());
        page = editor->host().sourcePage(SourcePage::Rs232);
    }
    // A machine on the test's pseudo-terminal.
    QStringList peerMachine(const QString &extra = {}) {
        QStringList l{"[Peer]", "Port=" + pty.ours(), "Rychlost=15200", "Parita=None", "DataBits=8", "TokDat=None",
                      "Chars=1", "CharBefore=#2", "CharAfter=#3"};
        if (!extra.isEmpty())
            l << extra;
        return l;
    }
    QStringList machineList() {
        QStringList out;
        auto *c = child<QComboBox>(page, "ComboBoxMaschine");
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    void click(const char *name) { child<QPushButton>(page, name)->click(); }
    QStringList messages() const {
        QStringList out;
        for (const auto &m : io.shown)
            out << m.text;
        return out;
    }
    comm::TComm *port() { return editor->findChild<comm::TComm *>("Comm1"); }

    test::ScratchFolder folder;
    test::PtyPair pty;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> editor;
    QWidget *page = nullptr;
};

} // namespace

TEST_F(Rs232Tab, AddsEditsAndDeletesMachinesInStrojeIni) {
    start({"[Mill]", "Parita=odd", "DataBits=9"});
    EXPECT_EQ(machineList(), QStringList{"Mill"});
    auto *dialog = editor->findChild<comm::TFAddMaschine *>("TFAddMaschine");
    ASSERT_TRUE(dialog);
    // The chosen machine is loaded into the window's fields: no data-bit choice, "Odd".
    EXPECT_EQ(child<QComboBox>(dialog, "ComboBoxDBits")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>(dialog, "ComboBoxParity")->currentText(), "Odd");

    // An empty description is refused; then the machine is added.
    onModal([&](QWidget *w) {
        EXPECT_FALSE(child<QLineEdit>(w, "Edit1")->isReadOnly());
        EXPECT_EQ(child<QComboBox>(w, "ComboBoxParity")->currentText(), "Even"); // start choice
        child<QPushButton>(w, "BitBtnOK")->click();
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        child<QLineEdit>(w, "Edit1")->setText("Lathe");
        chooseText(w, "ComboBoxBaud", "15200");
        chooseText(w, "ComboBoxPort", "/dev/ttyUSB3");
        child<QLineEdit>(w, "EditXon")->setText("A");
        child<QPushButton>(w, "BitBtnOK")->click();
    });
    click("ButtonAddMachine");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, "Zadejte popis stroje.");
    EXPECT_EQ(machineList(), (QStringList{"Mill", "Lathe"}));
    const IniFile ini(folder.file("stroje.ini"));
    EXPECT_EQ(ini.readString("Lathe", "Rychlost"), "15200");
    EXPECT_EQ(ini.readString("Lathe", "Port"), "/dev/ttyUSB3");
    EXPECT_EQ(ini.readString("Lathe", "XOn"), "A");
    EXPECT_EQ(ini.readString("Lathe", "DataBits"), "7");

    // Editing keeps the name.
    child<QComboBox>(page, "ComboBoxMaschine")->setCurrentIndex(1);
    onModal([&](QWidget *w) {
        EXPECT_TRUE(child<QLineEdit>(w, "Edit1")->isReadOnly());
        EXPECT_EQ(child<QComboBox>(w, "ComboBoxPort")->currentText(), "/dev/ttyUSB3");
        chooseText(w, "ComboBoxELine", "LF");
        child<QPushButton>(w, "BitBtnOK")->click();
    });
    click("ButtonEditMachine");
    EXPECT_EQ(ini.readString("Lathe", "EndLine"), "LF");

    // Deleting asks with the machine's name; No keeps it, Yes removes it.
    io.answers = {Answer::No, Answer::Yes, Answer::Yes};
    io.shown.clear();
    click("ButtonDelMachine");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, "Opravdu smazat stroj Lathe?");
    EXPECT_EQ(io.shown[0].buttons, kYesNo);
    EXPECT_EQ(machineList().size(), 2);
    click("ButtonDelMachine");
    EXPECT_EQ(machineList(), QStringList{"Mill"});
    EXPECT_EQ(child<QComboBox>(page, "ComboBoxMaschine")->currentIndex(), -1);
    child<QComboBox>(page, "ComboBoxMaschine")->setCurrentIndex(0);
    click("ButtonDelMachine");
    EXPECT_TRUE(machineList().isEmpty());
    EXPECT_EQ(io.shown.last().text, "Opravdu smazat stroj Mill?");
    // A language file whose question has no place for the name still names it.
    folder.write("Language/Bare.lng", "[Messages]\r\nDelMachine=Smazat?\r\n");
    setCurrentLanguageFile(QStringLiteral("Bare.lng"));
    IniFile(folder.file("stroje.ini")).writeString("Drill", "Port", "COM1");
    child<QComboBox>(page, "ComboBoxMaschine")->addItem("Drill");
    child<QComboBox>(page, "ComboBoxMaschine")->setCurrentIndex(0);
    io.answers = {Answer::No};
    click("ButtonDelMachine");
    EXPECT_EQ(io.shown.last().text, "Smazat?\nDrill");
}

TEST_F(Rs232Tab, SendingAsksToConnectAndWritesTheDocumentsBytes) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    test::Peer peer(pty.peer());
    start(peerMachine());
    Document *doc = editor->host().newDocument();
    doc->setLines({"%", "M30"});
    io.answers = {Answer::Yes}; // connect?
    click("ButtonSendData");
    ASSERT_EQ(io.shown.size(), 1) << messages().join("|").toStdString();
    EXPECT_EQ(io.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(io.shown[0].text, "Sériový port není připojen.");
    EXPECT_EQ(peer.read(), QByteArray("\x02%\r\nM30\r\n\x03"));
    EXPECT_EQ(child<QLabel>(page, "LabelInfo")->text(), pty.ours() + " ;15200 ;None ;8 ;1 ;None ;CR/LF");
    EXPECT_EQ(child<QPushButton>(page, "ButtonConnect")->text(), "Odpojit");
    ASSERT_TRUE(port());
    EXPECT_EQ(port()->settings().baudRate, 115200);

    click("ButtonConnect");
    EXPECT_FALSE(port()->isOpen());
    EXPECT_EQ(child<QPushButton>(page, "ButtonConnect")->text(), "Připojit");
    EXPECT_TRUE(child<QLabel>(page, "LabelInfo")->text().isEmpty());
}

TEST_F(Rs232Tab, ReceivesIntoANewDocumentAndReportsTheEndOfText) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    test::Peer peer(pty.peer());
    start(peerMachine());
    click("ButtonConnect");
    ASSERT_TRUE(port()->isOpen()) << messages().join("|").toStdString();
    ASSERT_EQ(editor->host().activeDocument(), nullptr);
    peer.write("N10 G0\r\nN20 M30\r\nAB");
    ASSERT_TRUE(test::waitUntil([&] {
        Document *d = editor->host().activeDocument();
        return d && d->lineCount() == 2;
    }));
    Document *doc = editor->host().activeDocument();
    EXPECT_EQ(doc->lines(), (QStringList{"N10 G0", "N20 M30"}));
    EXPECT_TRUE(doc->isModified());
    peer.write("C\r\x03");
    ASSERT_TRUE(test::waitUntil([&] { return !io.shown.isEmpty(); }));
    EXPECT_EQ(io.shown[0].text, "Data byla přijmuta");
    EXPECT_EQ(doc->lines(), (QStringList{"N10 G0", "N20 M30", "ABC"}));
}

TEST_F(Rs232Tab, AVanishedDeviceEndsTheTransferAndKeepsWhatArrived) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    test::Peer peer(pty.peer());
    start(peerMachine());
    click("ButtonConnect");
    ASSERT_TRUE(port()->isOpen());
    peer.write("N10 G0\r\nN20 X1");
    ASSERT_TRUE(test::waitUntil([&] { return editor->host().activeDocument() &&
                                             editor->host().activeDocument()->lineCount() == 1; }));
    pty.kill();
    ASSERT_TRUE(test::waitUntil([&] { return !io.shown.isEmpty(); }));
    EXPECT_TRUE(io.shown[0].text.startsWith("Spojení se zařízením " + pty.ours() + " bylo přerušeno."))
        << io.shown[0].text.toStdString();
    EXPECT_EQ(editor->host().activeDocument()->lines(), (QStringList{"N10 G0", "N20 X1"}));
    EXPECT_FALSE(port()->isOpen());
    EXPECT_EQ(child<QPushButton>(page, "ButtonConnect")->text(), "Připojit");

    // The program goes on: sending now asks to connect, which fails with a message.
    io.answers = {Answer::Yes};
    click("ButtonSendData");
    ASSERT_EQ(io.shown.size(), 3);
    EXPECT_TRUE(io.shown[2].text.startsWith("Chyba sériového portu.")) << io.shown[2].text.toStdString();
}

TEST_F(Rs232Tab, ASendThatStallsSaysHowManyLinesWent) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    test::Peer peer(pty.peer()); // reads nothing
    start(peerMachine());
    Document *doc = editor->host().newDocument();
    QStringList lines;
    for (int i = 0; i < 40000; ++i)
        lines << QStringLiteral("N%1 G1 X100.000 Y200.000 Z-5.000 F1000 (a long line)").arg(i);
    doc->setLines(lines);
    click("ButtonConnect");
    ASSERT_TRUE(port()->isOpen());
    port()->setWriteTimeout(200);
    click("ButtonSendData");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(io.shown[0].text.contains(" z 40000 řádků.")) << io.shown[0].text.toStdString();
    EXPECT_TRUE(io.shown[0].text.contains("Zařízení nepřevzalo data do 200 ms.")) << io.shown[0].text.toStdString();
}

TEST_F(Rs232Tab, SettingsTheDeviceCannotTakeAreReportedOnConnecting) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    start(peerMachine("StopBits=1.5") + QStringList{"[NoBits]", "Port=" + pty.ours(), "DataBits=9"});
    click("ButtonConnect");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_TRUE(io.shown[0].text.contains("1.5 stop bits")) << io.shown[0].text.toStdString();
    EXPECT_FALSE(port()->isOpen());
    child<QComboBox>(page, "ComboBoxMaschine")->setCurrentIndex(1);
    click("ButtonConnect");
    ASSERT_EQ(io.shown.size(), 2);
    EXPECT_TRUE(io.shown[1].text.contains("data bits: '' is not a valid choice")) << io.shown[1].text.toStdString();
    EXPECT_EQ(child<QPushButton>(page, "ButtonConnect")->text(), "Connect");
}

TEST_F(Rs232Tab, WhileTheMachineHoldsTheLineTheSendWaitsSaysSoAndCanBeStopped) {
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    test::Peer peer(pty.peer());
    start({"[Drip]", "Port=" + pty.ours(), "Rychlost=15200", "Parita=None", "DataBits=8", "TokDat=Software",
           "EndLine=CR/LF", "Chars=0"});
    Document *doc = editor->host().newDocument();
    doc->setLines({"%", "N10 G0 X1", "N20 M30"});
    click("ButtonConnect");
    ASSERT_TRUE(port()->isOpen()) << messages().join("|").toStdString();
    auto *state = child<QLabel>(page, "LabelSendState");
    auto *cancel = child<QPushButton>(page, "ButtonCancelSend");
    EXPECT_FALSE(cancel->isEnabled());

    // XOFF for two seconds, then XON: the send waits, shows it, and completes.
    peer.write("\x13");
    ASSERT_TRUE(test::waitUntil([&] { return port()->isHeld(); }));
    QString shownWhileHeld;
    bool cancelEnabled = false;
    QTimer::singleShot(1000, [&] {
        shownWhileHeld = state->isHidden() ? QString() : state->text();
        cancelEnabled = cancel->isEnabled();
    });
    QTimer::singleShot(2000, [&] { peer.write("\x11"); });
    click("ButtonSendData");
    EXPECT_TRUE(io.shown.isEmpty()) << messages().join("|").toStdString();
    EXPECT_EQ(shownWhileHeld, "Stroj pozastavil příjem dat; vysílání čeká, až bude stroj pokračovat. "
                              "Vysílání lze přerušit tlačítkem Přerušit.");
    EXPECT_TRUE(cancelEnabled);
    EXPECT_EQ(peer.read(), QByteArray("%\r\nN10 G0 X1\r\nN20 M30\r\n"));
    EXPECT_TRUE(state->isHidden());
    EXPECT_FALSE(cancel->isEnabled());

    // Held again: the cancel button stops the send and says how far it got.
    peer.write("\x13");
    ASSERT_TRUE(test::waitUntil([&] { return port()->isHeld(); }));
    QTimer::singleShot(800, [&] { cancel->click(); });
    click("ButtonSendData");
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(io.shown[0].text, "Vysílání bylo přerušeno: odesláno 0 z 3 řádků.");
    EXPECT_TRUE(peer.read(-1, 300, 600).isEmpty());
    EXPECT_TRUE(port()->isOpen());
    EXPECT_EQ(doc->lines(), QStringList({"%", "N10 G0 X1", "N20 M30"}));
}
