#include "comm/widgets/tfaddmaschine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace velmora::comm {

namespace {

QComboBox *combo(QWidget *parent, const char *name, const QStringList &entries, bool editable = false) {
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(entries);
    c->setEditable(editable);
    c->setCurrentIndex(-1);
    return c;
}

void choose(QComboBox *c, const QStringList &entries, const QString &text) {
    c->setCurrentIndex(int(entries.indexOf(matchEntry(entries, text))));
}

QString chosen(const QComboBox *c) { return c->currentIndex() < 0 ? QString() : c->currentText(); }

} // namespace

TFAddMaschine::TFAddMaschine(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFAddMaschine"));
    setWindowTitle(QStringLiteral("Přidat stroj"));
    setWindowFlag(Qt::Tool, true);
    setModal(true);

    auto *form = new QFormLayout;
    auto row = [&](const char *labelName, const QString &caption, QWidget *field) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(labelName));
        l->setBuddy(field);
        form->addRow(l, field);
    };
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    row("LabelPopis", QStringLiteral("Popis stroje : "), edit1_);
    port_ = combo(this, "ComboBoxPort", availablePortTexts(), true);
    port_->setToolTip(QStringLiteral("COM1–COM3 = /dev/ttyS0–/dev/ttyS2; jiné zařízení lze napsat (/dev/ttyUSB0)"));
    row("LabelPort", QStringLiteral("Port :"), port_);
    baud_ = combo(this, "ComboBoxBaud", baudEntries());
    row("LabelBaud", QStringLiteral("Rychlost : "), baud_);
    parity_ = combo(this, "ComboBoxParity", parityEntries());
    row("LabelParity", QStringLiteral("Parita : "), parity_);
    sbit_ = combo(this, "ComboBoxSBit", stopBitEntries());
    row("LabelSBit", QStringLiteral("Stop bit : "), sbit_);
    dbits_ = combo(this, "ComboBoxDBits", dataBitEntries());
    row("LabelDBits", QStringLiteral("Data bity : "), dbits_);
    fc_ = combo(this, "ComboBoxFC", flowEntries());
    row("LabelFC", QStringLiteral("Tok dat : "), fc_);
    eline_ = combo(this, "ComboBoxELine", endLineEntries());
    row("LabelELine", QStringLiteral("Ukonční řádky : "), eline_);
    xon_ = new QLineEdit(this);
    xon_->setObjectName(QStringLiteral("EditXon"));
    row("LabelXon", QStringLiteral("Xon : "), xon_);
    xoff_ = new QLineEdit(this);
    xoff_->setObjectName(QStringLiteral("EditXOff"));
    row("LabelXOff", QStringLiteral("Xoff : "), xoff_);
    chars_ = new QCheckBox(QStringLiteral("Řídící znaky před vylsáním a po vyslání dat  :"), this);
    chars_->setObjectName(QStringLiteral("CheckBoxChars"));
    form->addRow(chars_);
    before_ = combo(this, "ComboBoxBefore", beforeEntries());
    row("LabelBefore", QStringLiteral("Před : "), before_);
    after_ = combo(this, "ComboBoxAfter", afterEntries());
    row("LabelAfter", QStringLiteral("Po : "), after_);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BitBtnOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BitBtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFAddMaschine::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFAddMaschine::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    setSettings(MachineSettings());
    if (QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

MachineSettings TFAddMaschine::settings() const {
    MachineSettings m;
    m.name = edit1_->text();
    m.port = port_->currentText().trimmed();
    m.baud = chosen(baud_);
    m.parity = chosen(parity_);
    m.stopBits = chosen(sbit_);
    m.dataBits = chosen(dbits_);
    m.flow = chosen(fc_);
    m.endLine = chosen(eline_);
    m.xon = xon_->text();
    m.xoff = xoff_->text();
    m.chars = chars_->isChecked();
    m.charBefore = chosen(before_);
    m.charAfter = chosen(after_);
    return m;
}

void TFAddMaschine::setSettings(const MachineSettings &m) {
    edit1_->setText(m.name);
    port_->setEditText(m.port);
    const int p = port_->findText(m.port, Qt::MatchFixedString);
    if (p >= 0)
        port_->setCurrentIndex(p);
    else
        port_->setEditText(m.port);
    choose(baud_, baudEntries(), m.baud);
    choose(parity_, parityEntries(), m.parity);
    choose(sbit_, stopBitEntries(), m.stopBits);
    choose(dbits_, dataBitEntries(), m.dataBits);
    choose(fc_, flowEntries(), m.flow);
    choose(eline_, endLineEntries(), m.endLine);
    xon_->setText(m.xon);
    xoff_->setText(m.xoff);
    chars_->setChecked(m.chars);
    choose(before_, beforeEntries(), m.charBefore);
    choose(after_, afterEntries(), m.charAfter);
}

void TFAddMaschine::prepareAdd() {
    edit1_->setReadOnly(false);
    edit1_->clear();
    const MachineSettings d;
    MachineSettings m = settings();
    m.name.clear();
    m.port = d.port;
    m.baud = d.baud;
    m.parity = d.parity;
    m.stopBits = d.stopBits;
    m.dataBits = d.dataBits;
    m.flow = d.flow;
    m.endLine = d.endLine;
    setSettings(m);
}

void TFAddMaschine::prepareEdit(const MachineSettings &m) {
    setSettings(m);
    edit1_->setReadOnly(true);
}

void TFAddMaschine::refreshPorts() {
    const QString text = port_->currentText();
    port_->clear();
    port_->addItems(availablePortTexts());
    const int p = port_->findText(text, Qt::MatchFixedString);
    port_->setCurrentIndex(p);
    if (p < 0)
        port_->setEditText(text);
}

void TFAddMaschine::accept() {
    if (check_) {
        const QString problem = check_(settings());
        if (!problem.isEmpty())
            return;
    }
    QDialog::accept();
}

} // namespace velmora::comm
