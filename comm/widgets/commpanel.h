#pragma once
// The "RS 232" tab: the machine list, adding, editing and deleting machines,
// connecting, sending the active document and receiving into a document.
#include "comm/logic/tcomm.h"
#include "comm/logic/transfer.h"

#include <QObject>


class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace velmora {
class Host;
class Document;
}

namespace velmora::comm {

class TFAddMaschine;

class CommPanel : public QObject {
    Q_OBJECT
public:
    CommPanel(Host &host, QWidget *page);
    ~CommPanel() override;

    TComm &comm1() { return *comm1_; }
    TFAddMaschine *dialog() const { return dialog_; }

    void fillMachineList();              // from stroje.ini, first machine chosen
    void ComboBoxMaschineChange();       // loads the chosen machine into the machine window
    void ButtonAddMachineClick();
    void ButtonEditMachineClick();
    void ButtonDelMachineClick();
    void ButtonConnectClick();
    void ButtonSendDataClick();
    void Comm1RxChar(int count);

private:
    bool ApplyPortSettings();            // false with the problem reported
    void disconnectPort();
    void commError(const QString &detail);
    void deviceLost(const QString &message);
    void keepPendingLine();
    void addReceivedLine(const QString &text);
    QString currentMachine() const;

    void showHeld(bool held);

    Host &host_;
    TComm *comm1_;
    Receiver receiver_;
    TFAddMaschine *dialog_ = nullptr; // owned by the main window
    QLabel *info_;
    QComboBox *machines_;
    QPushButton *connect_;
    QPushButton *send_;
    QPushButton *cancel_;
    QLabel *sendState_;
    QProgressBar *progress_;
    bool cancelRequested_ = false;
    bool receiving_ = false;
    bool sending_ = false;
    bool quietLost_ = false; // the vanished device was reported already
};

} // namespace velmora::comm
