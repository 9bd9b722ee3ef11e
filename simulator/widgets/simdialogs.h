#pragma once
// The simulator's dialogs: the settings dialog (TFSetup, "Nastaveni"), the
// information window of a picked segment (TFInfo, "Informace") and the help
// window (TFHelp, "FHelp").
#include "common/colour.h"
#include "simulator/logic/interpreter.h"
#include "simulator/logic/simsettings.h"

#include <QComboBox>
#include <QDialog>

class QLabel;
class QLineEdit;
class QStackedWidget;
class QTreeWidget;

namespace velmora {
class UserIO;
}

namespace velmora::sim {

// A choice of the named colours (16 standard, 4 extended, the system colours),
// each shown as a swatch; with `custom`, "Vlastní..." picks any colour.
class ColourPicker : public QComboBox {
    Q_OBJECT
public:
    explicit ColourPicker(bool custom, QWidget *parent = nullptr);
    ColorValue colour() const;
    void setColour(ColorValue c);

private:
    void addColour(ColorValue c);
    bool custom_;
    int previous_ = 0;
};

class TFSetup : public QDialog {
    Q_OBJECT
public:
    explicit TFSetup(QWidget *parent = nullptr);
    // Fields from Plugin/Simdra.ini (the dialog's defaults: white current line, 10000, 0,5).
    void readSettings(const QString &iniPath);
    // What the dialog holds now (the field texts as typed).
    SimdraSettings settings() const;
    QString rapidText() const;
    QString toolChangeText() const;

private:
    QLineEdit *rapid_;
    QLineEdit *toolChange_;
    ColourPicker *background_, *left_, *right_, *none_, *rapidColour_, *currentLine_;
};

class TFInfo : public QDialog {
    Q_OBJECT
public:
    TFInfo(UserIO &io, QWidget *parent = nullptr);
    // The texts a picked segment gives (an empty type keeps the previous one).
    void setSegment(const PickInfo &info);
    // Differences and the path time from the texts shown; on a failure the message
    // is shown and the time keeps its text.
    void recompute();
    QString text(const char *name) const;

protected:
    bool event(QEvent *e) override;

private:
    UserIO &io_;
    QLabel *start_[3], *end_[3], *type_, *difference_[3], *s_, *f_, *time_;
};

class TFHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFHelp(QWidget *parent = nullptr);

private:
    QTreeWidget *topics_;
    QStackedWidget *pages_;
};

} // namespace velmora::sim
