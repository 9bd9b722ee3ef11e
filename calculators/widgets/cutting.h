#pragma once
// The speed, feed and drill-point windows. They are created at start-up and
// keep their fields for the whole run.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace velmora {

class UserIO;

// How a calculator window was closed.
enum CloseResult { CloseNone = QDialog::Rejected, CloseOk = QDialog::Accepted, CloseInsert = 2, CloseFeed = 3 };

// A group of radio buttons named "<group>.items[i]".
QGroupBox *radioGroup(const QString &name, const QString &caption, const QStringList &items, QList<QRadioButton *> &buttons,
                      QWidget *parent);
int checkedIndex(const QList<QRadioButton *> &buttons);

class TFOtacky : public QDialog {
    Q_OBJECT
public:
    TFOtacky(UserIO &io, QWidget *parent = nullptr);
    QLineEdit *Edit971, *Edit972, *Edit973;
    QList<QRadioButton *> rounding;
    void ButtonRunClick();

private:
    UserIO &io_;
};

class TFPosuv : public QDialog {
    Q_OBJECT
public:
    TFPosuv(UserIO &io, QWidget *parent = nullptr);
    QTabWidget *pages;
    QLineEdit *EditOtacky, *EditMin, *EditOt;          // turning
    QLineEdit *Edit971, *Edit973, *Edit974, *Edit975;  // milling
    QList<QRadioButton *> coT, co, roundingR;
    QLabel *Label9, *Label10;
    QString feedToInsert() const { return feedToInsert_; }
    // The spindle speed handed over by the speed calculator.
    void setSpeed(const QString &speed);
    void TButtonRunClick();
    void FButtonRunClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void showRoundingText();
    void chooseCoT(int item);
    void chooseCo(int item);
    void insertClick();
    UserIO &io_;
    QString feedToInsert_;
};

class TFVrchliky : public QDialog {
    Q_OBJECT
public:
    TFVrchliky(UserIO &io, QWidget *parent = nullptr);
    QLineEdit *Edit971, *Edit972, *Edit973;
    QTableWidget *ValueListEditor1;
    void FButtonFClick();

private:
    UserIO &io_;
};

} // namespace velmora
