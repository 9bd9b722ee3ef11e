#pragma once
// The dialogs of the NC text commands: renumbering, spacing and file compare.
#include "nctext/logic/renumber.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace velmora {

class RadioGroup;
class UserIO;

// "Přečíslování": its values live in SetupCNC.ini, section "Precislovani";
// they are read each time the dialog is shown and written each time it closes.
class TFPrecislovani : public QDialog {
    Q_OBJECT
public:
    explicit TFPrecislovani(UserIO &io, QWidget *parent = nullptr);

    RadioGroup *RadioGroupStyle;
    QTabWidget *PageControl1;
    QLineEdit *Edit971;
    QLineEdit *Edit972;
    RadioGroup *RadioGroupTo;
    RadioGroup *RadioGroup2;
    QLineEdit *Edit1;
    QCheckBox *CheckBoxSelect;
    QLabel *StaticTextFirstB, *StaticTextNextB, *LabelMax;
    QPushButton *ButtonOK, *ButtonCancel;

    // The options of the fields as they stand (texts are converted when the renumbering runs).
    RenumberOptions options() const;
    bool selectionOnly() const;

    void loadSettings();
    void storeSettings();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    UserIO &io_;
};

// "Mezery v kodu": its values stay while the program runs.
class TFSpacing : public QDialog {
    Q_OBJECT
public:
    explicit TFSpacing(QWidget *parent = nullptr);
    QLineEdit *Edit971;
    RadioGroup *RadioGroup1;
    QLabel *Label1, *Label2;
    QPushButton *ButtonOK, *ButtonCancel;
};

// "Porovnání dvou NC souboru": compares two files on disk.
class TFCompare : public QDialog {
    Q_OBJECT
public:
    explicit TFCompare(UserIO &io, QWidget *parent = nullptr);
    QLineEdit *FilenameEdit1, *FilenameEdit2;
    QLabel *Label1, *Label2;
    QPushButton *ButtonCompare, *ButtonClose;
    QPlainTextEdit *SynMemo1;

    void compare(); // "Porovnat"

private:
    void browse(QLineEdit *edit);
    UserIO &io_;
};

} // namespace velmora
