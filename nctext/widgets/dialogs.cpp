#include "nctext/widgets/dialogs.h"

#include "common/language.h"
#include "common/programfolder.h"
#include "nctext/logic/compare.h"
#include "nctext/widgets/radiogroup.h"
#include "shell/logic/userio.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace velmora {

namespace {

QPushButton *button(const QString &name, const QString &caption, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLabel *label(const QString &name, const QString &caption, QWidget *parent) {
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit *edit(const QString &name, const QString &text, QWidget *parent) {
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QHBoxLayout *okCancel(QPushButton *ok, QPushButton *cancel, QDialog *dialog) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

} // namespace

// --- TFPrecislovani ---------------------------------------------------------------

TFPrecislovani::TFPrecislovani(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("TFPrecislovani"));
    setWindowTitle(QStringLiteral("Přečíslování"));
    setWindowFlag(Qt::Tool);
    setModal(true);

    RadioGroupStyle = new RadioGroup(QStringLiteral("RadioGroupStyle"), QStringLiteral("Styl číslování"),
                                     {QStringLiteral("Přečíslovat"), QStringLiteral("Zrušit"), QStringLiteral("Vytvořit")}, this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    auto *iso = new QWidget;
    iso->setObjectName(QStringLiteral("TabSheetISO"));
    auto *isoGrid = new QGridLayout(iso);
    StaticTextFirstB = label(QStringLiteral("StaticTextFirstB"), QStringLiteral("První blok"), iso);
    StaticTextNextB = label(QStringLiteral("StaticTextNextB"), QStringLiteral("Další bloky"), iso);
    Edit971 = edit(QStringLiteral("Edit971"), QStringLiteral("10"), iso);
    Edit972 = edit(QStringLiteral("Edit972"), QStringLiteral("1"), iso);
    RadioGroupTo = new RadioGroup(QStringLiteral("RadioGroupTo"), QStringLiteral("Přečíslovat k "),
                                  {QStringLiteral("M30"), QStringLiteral("M2"), QStringLiteral("Celý program")}, iso);
    CheckBoxSelect = new QCheckBox(QStringLiteral("Přečíslovat jenom v oznečeném textu"), iso);
    CheckBoxSelect->setObjectName(QStringLiteral("CheckBoxSelect"));
    isoGrid->addWidget(StaticTextFirstB, 0, 0);
    isoGrid->addWidget(Edit971, 0, 1);
    isoGrid->addWidget(StaticTextNextB, 1, 0);
    isoGrid->addWidget(Edit972, 1, 1);
    isoGrid->addWidget(RadioGroupTo, 0, 2, 3, 1);
    isoGrid->addWidget(CheckBoxSelect, 3, 0, 1, 3);
    PageControl1->addTab(iso, QStringLiteral("ISO"));

    auto *heid = new QWidget;
    heid->setObjectName(QStringLiteral("TabSheetHeidenhain"));
    auto *heidLayout = new QVBoxLayout(heid);
    RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("Přečíslování Heidenhain dialog"),
                                 {QStringLiteral("407"), QStringLiteral("426")}, heid);
    RadioGroup2->setEnabled(false); // its value comes from the settings only
    heidLayout->addWidget(RadioGroup2);
    heidLayout->addStretch();
    PageControl1->addTab(heid, QStringLiteral("Heidenhain"));

    auto *pelton = new QWidget;
    pelton->setObjectName(QStringLiteral("TabSheetPelton"));
    auto *peltonGrid = new QGridLayout(pelton);
    LabelMax = label(QStringLiteral("LabelMax"), QStringLiteral("Maximální počet číslovaných řádek"), pelton);
    Edit1 = edit(QStringLiteral("Edit1"), QStringLiteral("999"), pelton);
    peltonGrid->addWidget(LabelMax, 0, 0);
    peltonGrid->addWidget(Edit1, 0, 1);
    peltonGrid->setRowStretch(1, 1);
    PageControl1->addTab(pelton, QStringLiteral("Pelton 50"));

    ButtonOK = button(QStringLiteral("ButtonOK"), QStringLiteral("OK"), this);
    ButtonCancel = button(QStringLiteral("ButtonCancel"), QStringLiteral("Cancel"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroupStyle);
    layout->addWidget(PageControl1);
    layout->addLayout(okCancel(ButtonOK, ButtonCancel, this));
}

RenumberOptions TFPrecislovani::options() const {
    RenumberOptions o;
    o.style = RenumberStyle(qBound(0, RadioGroupStyle->itemIndex(), 2));
    o.page = RenumberPage(qBound(0, PageControl1->currentIndex(), 2));
    o.first = Edit971->text();
    o.step = Edit972->text();
    o.max = Edit1->text();
    o.to = endMarkerFromIndex(RadioGroupTo->itemIndex());
    o.variant = RadioGroup2->itemIndex() == 1 ? HeidenhainVariant::Tnc426 : HeidenhainVariant::Tnc407;
    return o;
}

bool TFPrecislovani::selectionOnly() const { return CheckBoxSelect->isChecked(); }

void TFPrecislovani::loadSettings() {
    const RenumberSettings s = readRenumberSettings(setupIniPath());
    Edit971->setText(s.first);
    Edit972->setText(s.step);
    RadioGroupTo->setItemIndex(s.to);
    RadioGroup2->setItemIndex(s.variant);
    Edit1->setText(s.max);
}

void TFPrecislovani::storeSettings() {
    RenumberSettings s;
    s.first = Edit971->text();
    s.step = Edit972->text();
    s.to = RadioGroupTo->itemIndex();
    s.variant = RadioGroup2->itemIndex();
    s.max = Edit1->text();
    QString error;
    if (!writeRenumberSettings(setupIniPath(), s, &error))
        io_.error(QStringLiteral("%1: %2").arg(setupIniPath(), error));
}

void TFPrecislovani::showEvent(QShowEvent *event) {
    loadSettings();
    QDialog::showEvent(event);
}

void TFPrecislovani::hideEvent(QHideEvent *event) {
    storeSettings();
    QDialog::hideEvent(event);
}

// --- TFSpacing --------------------------------------------------------------------

TFSpacing::TFSpacing(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFSpacing"));
    setWindowTitle(QStringLiteral("Mezery v kodu"));
    setWindowFlag(Qt::Tool);
    setModal(true);
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Počet mezer :"), this);
    Edit971 = edit(QStringLiteral("Edit971"), QStringLiteral("1"), this);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("0 - zruší všechny mezery"), this);
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Provést k"),
                                 {QStringLiteral("M30"), QStringLiteral("M2"), QStringLiteral("Celý program")}, this);
    ButtonOK = button(QStringLiteral("ButtonOK"), QStringLiteral("OK"), this);
    ButtonCancel = button(QStringLiteral("ButtonCancel"), QStringLiteral("Cancel"), this);
    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit971, 0, 1);
    grid->addWidget(Label2, 1, 0, 1, 2);
    grid->addWidget(RadioGroup1, 0, 2, 3, 1);
    grid->addLayout(okCancel(ButtonOK, ButtonCancel, this), 3, 0, 1, 3);
}

// --- TFCompare --------------------------------------------------------------------

TFCompare::TFCompare(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("TFCompare"));
    setWindowTitle(QStringLiteral("Porovnání dvou NC souboru"));
    setModal(true);
    resize(640, 480);
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Originální soubor :"), this);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Porovnávaný  soubor :"), this);
    FilenameEdit1 = edit(QStringLiteral("FilenameEdit1"), QString(), this);
    FilenameEdit2 = edit(QStringLiteral("FilenameEdit2"), QString(), this);
    auto *grid = new QGridLayout;
    int row = 0;
    for (auto [l, e] : {std::pair{Label1, FilenameEdit1}, std::pair{Label2, FilenameEdit2}}) {
        auto *browseButton = new QToolButton(this);
        browseButton->setObjectName(e->objectName() + QStringLiteral("Browse"));
        browseButton->setText(QStringLiteral("…"));
        QLineEdit *target = e;
        connect(browseButton, &QToolButton::clicked, this, [this, target] { browse(target); });
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row, 1);
        grid->addWidget(browseButton, row, 2);
        ++row;
    }
    ButtonCompare = button(QStringLiteral("ButtonCompare"), QStringLiteral("Porovnat"), this);
    ButtonClose = button(QStringLiteral("ButtonClose"), QStringLiteral("Zavřít"), this);
    connect(ButtonCompare, &QPushButton::clicked, this, &TFCompare::compare);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ButtonCompare);
    buttons->addWidget(ButtonClose);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, 2, 1);

    SynMemo1 = new QPlainTextEdit(this);
    SynMemo1->setObjectName(QStringLiteral("SynMemo1"));
    SynMemo1->setReadOnly(true);
    SynMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    SynMemo1->setFont(mono);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(SynMemo1, 1);
}

void TFCompare::browse(QLineEdit *target) {
    const QString name = io_.openFileName(windowTitle(), QString(), target->text());
    if (!name.isEmpty())
        target->setText(name);
}

void TFCompare::compare() {
    SynMemo1->clear();
    if (FilenameEdit1->text().trimmed().isEmpty() || FilenameEdit2->text().trimmed().isEmpty()) {
        io_.error(languageText(QStringLiteral("Messages"), QStringLiteral("CompareNoFile")));
        return;
    }
    const CompareResult r = compareFiles(FilenameEdit1->text(), FilenameEdit2->text());
    SynMemo1->setPlainText(r.report.join(QLatin1Char('\n')));
    if (!r.error.isEmpty())
        io_.error(r.error);
}

} // namespace velmora
