#pragma once
// The About window: the program, its history and information about this system.
#include <QDialog>

class QLabel;

namespace velmora {

// What the "Info" page shows, read from this system.
struct SystemInfo {
    bool ok = false;        // false when the operating system's description could not be read
    QString owner;          // the user's full name, else the login name
    QString organisation;   // the machine's host name
    QString productName;    // the operating system's name
    QString versionNumber;  // the kernel release
    QString memory;         // "<n> Kbytes", or the text for an unreadable size
};
SystemInfo readSystemInfo();

// "1.4.5.0 na Linux"
QString versionText();

class TFAboutReg : public QDialog {
    Q_OBJECT
public:
    explicit TFAboutReg(QWidget *parent = nullptr);
    int exec() override;

private:
    void fillInfo();
    QLabel *owner_, *organisation_, *system_, *osVersion_, *memory_;
};

} // namespace velmora
