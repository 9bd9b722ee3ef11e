#pragma once
// TFAddMaschine: the machine window ("Přidat stroj"), which also holds the
// settings of the machine chosen on the "RS 232" tab while the program runs.
#include "comm/logic/machines.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace velmora::comm {

class TFAddMaschine : public QDialog {
    Q_OBJECT
public:
    explicit TFAddMaschine(QWidget *parent = nullptr);

    // The fields as texts; a list without a choice gives an empty text.
    MachineSettings settings() const;
    void setSettings(const MachineSettings &m);

    // Adding: an empty, editable description and the start choices of the
    // lists; the other fields keep what they showed.
    void prepareAdd();
    // Editing: the description shows the machine's name and cannot be changed.
    void prepareEdit(const MachineSettings &m);

    // Checked when OK is pressed; returns an error text to keep the window open.
    void setValidator(std::function<QString(const MachineSettings &)> check) { check_ = std::move(check); }

    // Refreshes the offered ports (COM1 to COM3 and the system's serial ports), keeping the text.
    void refreshPorts();

    void accept() override;

private:
    QLineEdit *edit1_;
    QComboBox *port_, *baud_, *parity_, *sbit_, *dbits_, *fc_, *eline_, *before_, *after_;
    QLineEdit *xon_, *xoff_;
    QCheckBox *chars_;
    std::function<QString(const MachineSettings &)> check_;
};

} // namespace velmora::comm
