#include "comm/widgets/commpanel.h"

#include "comm/widgets/tfaddmaschine.h"
#include "common/ini.h"
#include "common/language.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace velmora::comm {

namespace {

const QString kMessages = QStringLiteral("Messages");

// A language text with its "%s"/"%d" placeholders filled in order.
QString formatText(QString pattern, const QStringList &args) {
    qsizetype from = 0;
    for (const QString &a : args) {
        qsizetype i = from;
        while ((i = pattern.indexOf(u'%', i)) >= 0 && i + 1 < pattern.size() && pattern[i + 1] != u's' &&
               pattern[i + 1] != u'd')
            i += 1;
        if (i < 0 || i + 1 >= pattern.size())
            break;
        pattern.replace(i, 2, a);
        from = i + a.size();
    }
    return pattern;
}

QString message(const char *key, const QStringList &args = {}) {
    return formatText(languageText(kMessages, QLatin1String(key)), args);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// While a send runs, the window stays drawn and the cancel button (or Esc)
// works; every other click, key and close waits until the send is over.
class SendInputFilter : public QObject {
public:
    SendInputFilter(QWidget *cancel, std::function<void()> onCancel) : cancel_(cancel), onCancel_(std::move(onCancel)) {
        qApp->installEventFilter(this);
    }
    ~SendInputFilter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override {
        switch (e->type()) {
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return true;
        case QEvent::Close:
            if (auto *w = qobject_cast<QWidget *>(o); w && w->isWindow()) {
                e->ignore();
                return true;
            }
            return false;
        case QEvent::KeyPress:
            if (qobject_cast<QWidget *>(o) && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
                onCancel_();
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu: {
            // Window-level events pass: they become the widget events filtered here.
            auto *w = qobject_cast<QWidget *>(o);
            return w && w != cancel_ && !cancel_->isAncestorOf(w);
        }
        default:
            return false;
        }
    }

private:
    QWidget *cancel_;
    std::function<void()> onCancel_;
};

} // namespace

CommPanel::CommPanel(Host &host, QWidget *page) : QObject(page), host_(host), comm1_(new TComm(this)) {
    setObjectName(QStringLiteral("Comm1Panel"));
    comm1_->setObjectName(QStringLiteral("Comm1"));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    if (!layout)
        layout = new QVBoxLayout(page);

    info_ = new QLabel(page);
    info_->setObjectName(QStringLiteral("LabelInfo"));
    info_->setWordWrap(true);
    machines_ = new QComboBox(page);
    machines_->setObjectName(QStringLiteral("ComboBoxMaschine"));
    QPushButton *add = button(page, "ButtonAddMachine", QStringLiteral("Přidat stroj"));
    QPushButton *edit = button(page, "ButtonEditMachine", QStringLiteral("Editovat stroj"));
    QPushButton *del = button(page, "ButtonDelMachine", QStringLiteral("Smazat stroj"));
    connect_ = button(page, "ButtonConnect", QStringLiteral("Connect"));
    send_ = button(page, "ButtonSendData", QStringLiteral("Vyslat data"));
    QPushButton *send = send_;
    cancel_ = button(page, "ButtonCancelSend", QStringLiteral("Přerušit"));
    cancel_->setEnabled(false);
    sendState_ = new QLabel(page);
    sendState_->setObjectName(QStringLiteral("LabelSendState"));
    sendState_->setWordWrap(true);
    sendState_->hide();
    progress_ = new QProgressBar(page);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    layout->addWidget(machines_);
    auto *machineRow = new QHBoxLayout;
    machineRow->addWidget(add);
    machineRow->addWidget(edit);
    machineRow->addWidget(del);
    layout->addLayout(machineRow);
    auto *lineRow = new QHBoxLayout;
    lineRow->addWidget(connect_);
    lineRow->addWidget(send);
    layout->addLayout(lineRow);
    layout->addWidget(cancel_);
    layout->addWidget(info_);
    layout->addStretch(1);
    layout->addWidget(sendState_);
    layout->addWidget(progress_);

    dialog_ = new TFAddMaschine(host.mainWindow());
    dialog_->setValidator([this](const MachineSettings &m) {
        if (!m.name.trimmed().isEmpty())
            return QString();
        host_.userIO().error(message("NoMachineName"));
        return QStringLiteral("empty");
    });

    auto run = [this](void (CommPanel::*f)()) { return [this, f] { host_.runCommand([this, f] { (this->*f)(); }); }; };
    connect(add, &QPushButton::clicked, this, run(&CommPanel::ButtonAddMachineClick));
    connect(edit, &QPushButton::clicked, this, run(&CommPanel::ButtonEditMachineClick));
    connect(del, &QPushButton::clicked, this, run(&CommPanel::ButtonDelMachineClick));
    connect(connect_, &QPushButton::clicked, this, run(&CommPanel::ButtonConnectClick));
    connect(send, &QPushButton::clicked, this, run(&CommPanel::ButtonSendDataClick));
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
    connect(machines_, &QComboBox::activated, this, [this] { ComboBoxMaschineChange(); });
    connect(comm1_, &TComm::rxChar, this, &CommPanel::Comm1RxChar);
    connect(comm1_, &TComm::deviceLost, this, &CommPanel::deviceLost);

    fillMachineList();
}

CommPanel::~CommPanel() { comm1_->close(); }

QString CommPanel::currentMachine() const { return machines_->currentIndex() < 0 ? QString() : machines_->currentText(); }

void CommPanel::fillMachineList() {
    const IniFile ini(machinesIniPath());
    machines_->clear();
    machines_->addItems(machineNames(ini));
    machines_->setCurrentIndex(machines_->count() > 0 ? 0 : -1);
    if (machines_->count() > 0)
        ComboBoxMaschineChange();
}

void CommPanel::ComboBoxMaschineChange() {
    info_->clear();
    const QString name = currentMachine();
    if (name.isEmpty())
        return;
    dialog_->setSettings(readMachine(IniFile(machinesIniPath()), name));
}

bool CommPanel::ApplyPortSettings() {
    PortSettings s = comm1_->settings();
    QStringList problems;
    const MachineSettings m = dialog_->settings();
    if (!portSettingsFromMachine(m, s, &problems)) {
        commError(QStringLiteral("%1: %2").arg(m.name, problems.join(QStringLiteral("\n"))));
        return false;
    }
    if (!comm1_->setSettings(s)) {
        commError(comm1_->lastError());
        return false;
    }
    return true;
}

void CommPanel::commError(const QString &detail) {
    // The device name belongs to the message; the reason follows on its own line.
    const QString device = dialog_->settings().port;
    QString text = languageText(kMessages, QStringLiteral("ErrorComm"));
    text = text.contains(QLatin1String("%s")) ? formatText(text, {device}) : text + QStringLiteral(" (%1)").arg(device);
    if (!detail.isEmpty())
        text += QStringLiteral("\n") + detail;
    host_.userIO().error(text);
}

void CommPanel::disconnectPort() {
    keepPendingLine();
    comm1_->close();
    connect_->setText(languageText(QStringLiteral("Editor"), QStringLiteral("ButtonConnect")));
    info_->clear();
}

void CommPanel::ButtonConnectClick() {
    if (comm1_->isOpen()) {
        // A line that has not been ended yet is kept, not dropped.
        disconnectPort();
        return;
    }
    receiver_.clear();
    if (currentMachine().isEmpty()) {
        host_.userIO().error(message("NoMachine"));
        return;
    }
    ComboBoxMaschineChange();
    if (!ApplyPortSettings())
        return;
    if (!comm1_->open()) {
        commError(comm1_->lastError());
        return;
    }
    info_->setText(connectionInfo(dialog_->settings()));
    connect_->setText(languageText(QStringLiteral("Editor"), QStringLiteral("ButtonConnect2")));
}

void CommPanel::ButtonAddMachineClick() {
    dialog_->prepareAdd();
    dialog_->refreshPorts();
    info_->clear();
    if (comm1_->isOpen())
        disconnectPort();
    if (dialog_->exec() != QDialog::Accepted)
        return;
    const MachineSettings m = dialog_->settings();
    IniFile ini(machinesIniPath());
    if (!saveMachine(ini, m)) {
        host_.userIO().error(message("ErrorSaveMachine", {ini.path(), ini.lastError()}));
        return;
    }
    fillMachineList();
}

void CommPanel::ButtonEditMachineClick() {
    const QString name = currentMachine();
    if (name.isEmpty()) {
        host_.userIO().error(message("NoMachine"));
        return;
    }
    if (comm1_->isOpen())
        disconnectPort();
    else
        info_->clear();
    dialog_->prepareEdit(readMachine(IniFile(machinesIniPath()), name));
    dialog_->refreshPorts();
    if (dialog_->exec() != QDialog::Accepted)
        return;
    MachineSettings m = dialog_->settings();
    m.name = name;
    IniFile ini(machinesIniPath());
    if (!saveMachine(ini, m))
        host_.userIO().error(message("ErrorSaveMachine", {ini.path(), ini.lastError()}));
}

void CommPanel::ButtonDelMachineClick() {
    const QString name = currentMachine();
    if (name.isEmpty()) {
        host_.userIO().error(message("NoMachine"));
        return;
    }
    // The question names the machine, also with a language text that has no place for it.
    QString question = languageText(kMessages, QStringLiteral("DelMachine"));
    question = question.contains(QLatin1String("%s")) ? formatText(question, {name}) : question + QLatin1Char('\n') + name;
    if (!host_.userIO().confirm(question))
        return;
    IniFile ini(machinesIniPath());
    if (!deleteMachine(ini, name)) {
        host_.userIO().error(message("ErrorSaveMachine", {ini.path(), ini.lastError()}));
        return;
    }
    machines_->clear();
    machines_->addItems(machineNames(ini));
    machines_->setCurrentIndex(-1);
}

void CommPanel::ButtonSendDataClick() {
    Document *doc = host_.requireDocument();
    if (!doc)
        return;
    if (!comm1_->isOpen()) {
        if (host_.userIO().message(MessageKind::Warning, message("NoComm"), kYesNo) != Answer::Yes)
            return;
        ButtonConnectClick();
        if (!comm1_->isOpen())
            return;
    }
    const MachineSettings m = dialog_->settings();
    SendPlan plan;
    QString error;
    if (!makeSendPlan(doc->lines(), m, plan, &error)) {
        host_.userIO().error(message("SendBadChar", {error}));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sending_ = true;
    cancelRequested_ = false;
    cancel_->setEnabled(true);
    send_->setEnabled(false);
    connect_->setEnabled(false);
    progress_->setRange(0, qMax(1, int(plan.lines.size())));
    progress_->setValue(0);
    progress_->repaint();
    SendResult r;
    {
        const SendInputFilter filter(cancel_, [this] { cancelRequested_ = true; });
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        SendControl control;
        control.progress = [&](int sent) {
            progress_->setValue(sent);
            // The window is drawn and the cancel button heard about every 50 ms.
            if (sinceEvents.elapsed() >= 50) {
                QCoreApplication::processEvents();
                sinceEvents.restart();
            }
        };
        control.waiting = [&](bool held) {
            showHeld(held);
            QCoreApplication::processEvents();
            sinceEvents.restart();
            return !cancelRequested_;
        };
        control.cancelled = [this] { return cancelRequested_; };
        const WriteFn write = [&](const QByteArray &bytes, QString &err) -> qint64 {
            const TComm::WriteResult w = comm1_->write(bytes, control.waiting);
            if (w.failed) {
                err = comm1_->lastError();
                return -1;
            }
            return w.cancelled ? kWriteCancelled : w.written;
        };
        r = sendPlan(plan, write, control);
    }
    showHeld(false);
    sending_ = false;
    cancel_->setEnabled(false);
    send_->setEnabled(true);
    connect_->setEnabled(true);
    progress_->setValue(0);
    QApplication::restoreOverrideCursor();
    // Bytes that came in while sending are taken now.
    if (comm1_->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, [this] { Comm1RxChar(0); }, Qt::QueuedConnection);
    if (r.complete())
        return;
    if (r.cancelled) {
        host_.userIO().information(message("SendCancelled", {QString::number(r.linesSent), QString::number(r.lineCount)}));
        return;
    }
    const QString reason = !r.error.isEmpty()
                               ? r.error
                               : message("SendTimeout", {QString::number(comm1_->writeTimeout())});
    // A vanished device is closed by the port itself; this message covers it.
    quietLost_ = comm1_->deviceFailed();
    host_.userIO().error(message("SendIncomplete", {QString::number(r.linesSent), QString::number(r.lineCount)}) +
                         QStringLiteral("\n") + reason);
}

void CommPanel::showHeld(bool held) {
    if (held == !sendState_->isHidden())
        return;
    sendState_->setText(held ? message("SendHeld") : QString());
    sendState_->setVisible(held);
}

void CommPanel::addReceivedLine(const QString &text) {
    Document *doc = host_.activeDocument();
    if (!doc) {
        doc = host_.newDocument();
        QCoreApplication::processEvents();
    }
    if (!doc)
        return;
    doc->insertLine(doc->lineCount(), text);
    doc->setModified(true);
}

void CommPanel::keepPendingLine() {
    const QString rest = receiver_.takePending();
    if (!rest.isEmpty())
        addReceivedLine(rest);
}

void CommPanel::Comm1RxChar(int) {
    // The handler lets window events run; bytes that arrive meanwhile wait
    // and are taken here in order, never by a nested call.
    if (receiving_ || sending_)
        return;
    receiving_ = true;
    if (!host_.activeDocument()) {
        host_.newDocument();
        QCoreApplication::processEvents();
    }
    while (comm1_->bytesAvailable() > 0) {
        const QByteArray bytes = comm1_->read(comm1_->bytesAvailable());
        for (const ReceiveEvent &e : receiver_.feed(bytes, receiveTerminator(dialog_->settings().endLine))) {
            if (e.kind == ReceiveEvent::Line) {
                addReceivedLine(e.text);
                QCoreApplication::processEvents();
            } else {
                host_.userIO().information(QStringLiteral("Data byla přijmuta"));
            }
        }
    }
    receiving_ = false;
}

void CommPanel::deviceLost(const QString &reason) {
    // Everything that arrived goes into the document, the unfinished line too.
    Comm1RxChar(0);
    disconnectPort();
    if (std::exchange(quietLost_, false))
        return;
    host_.userIO().error(message("CommLost", {dialog_->settings().port}) + QStringLiteral("\n") + reason);
}

} // namespace velmora::comm
