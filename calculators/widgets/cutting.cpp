#include "calculators/widgets/cutting.h"

#include "calculators/logic/cutting.h"
#include "common/numbers.h"
#include "shell/logic/userio.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

QLineEdit *edit(const QString &name, const QString &text, QWidget *parent) {
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QLabel *label(const QString &name, const QString &text, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void setTextColour(QLineEdit *e, Qt::GlobalColor colour) {
    QPalette p = e->palette();
    p.setColor(QPalette::Text, colour);
    e->setPalette(p);
}

} // namespace

QGroupBox *radioGroup(const QString &name, const QString &caption, const QStringList &items, QList<QRadioButton *> &buttons,
                      QWidget *parent) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *r = new QRadioButton(items[i], box);
        r->setObjectName(QStringLiteral("%1.items[%2]").arg(name).arg(i));
        layout->addWidget(r);
        buttons << r;
    }
    return box;
}

int checkedIndex(const QList<QRadioButton *> &buttons) {
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

// --- speed ---------------------------------------------------------------------

TFOtacky::TFOtacky(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("FOtacky"));
    setWindowTitle(QStringLiteral("Výpočet otáček"));
    auto *form = new QFormLayout;
    Edit971 = edit(QStringLiteral("Edit971"), QStringLiteral("100"), this);
    Edit972 = edit(QStringLiteral("Edit972"), QStringLiteral("10"), this);
    Edit973 = edit(QStringLiteral("Edit973"), QString(), this);
    form->addRow(label(QStringLiteral("Label1"), QStringLiteral("Řezná rychlost :"), this), Edit971);
    form->addRow(label(QStringLiteral("Label2"), QStringLiteral("Průměr  :"), this), Edit972);
    form->addRow(label(QStringLiteral("Label3"), QStringLiteral("Otáčky  :"), this), Edit973);
    QGroupBox *group = radioGroup(QStringLiteral("RadioGroup"), QStringLiteral("Vložit do programu"),
                                  {QStringLiteral("nezaokrouhlené"), QStringLiteral("zaokrouhlené na celé číslo"),
                                   QStringLiteral("zaokrouhlené na 10")},
                                  rounding, this);
    rounding[2]->setChecked(true);
    auto *run = button(QStringLiteral("ButtonRun"), QStringLiteral("Spočti"), this);
    auto *ok = button(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    auto *insert = button(QStringLiteral("BitBtnInsert"), QStringLiteral("&Vložit"), this);
    auto *feed = button(QStringLiteral("BitBtnFeed"), QStringLiteral("&Posuv"), this);
    connect(run, &QPushButton::clicked, this, &TFOtacky::ButtonRunClick);
    connect(ok, &QPushButton::clicked, this, [this] { done(CloseOk); });
    connect(insert, &QPushButton::clicked, this, [this] { done(CloseInsert); });
    connect(feed, &QPushButton::clicked, this, [this] { done(CloseFeed); });
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {run, ok, insert, feed})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void TFOtacky::ButtonRunClick() {
    try {
        Edit973->setText(calc::speedText(Edit971->text(), Edit972->text(), calc::SpeedRounding(qMax(0, checkedIndex(rounding)))));
    } catch (const ConversionError &e) {
        io_.error(e.message());
    }
}

// --- feed ----------------------------------------------------------------------

TFPosuv::TFPosuv(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("FPosuv"));
    setWindowTitle(QStringLiteral("Výpočet posuvů"));
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));

    auto *turn = new QWidget;
    turn->setObjectName(QStringLiteral("TabSheetTurn"));
    {
        QGroupBox *g = radioGroup(QStringLiteral("RadioGroupCoT"), QStringLiteral("Spočítat a vložit do programu"),
                                  {QStringLiteral("Posuv/ 1 ot "), QStringLiteral("Posuv/ 1 min ")}, coT, turn);
        coT[0]->setChecked(true);
        EditOtacky = edit(QStringLiteral("EditOtacky"), QString(), turn);
        EditMin = edit(QStringLiteral("EditMin"), QString(), turn);
        EditOt = edit(QStringLiteral("EditOt"), QString(), turn);
        setTextColour(EditOt, Qt::red);
        auto *form = new QFormLayout;
        form->addRow(label(QStringLiteral("Label1"), QStringLiteral("Otáčky :"), turn), EditOtacky);
        form->addRow(label(QStringLiteral("Label2"), QStringLiteral("Posuv/min :"), turn), EditMin);
        form->addRow(label(QStringLiteral("Label3"), QStringLiteral("Posuv/ot :"), turn), EditOt);
        auto *run = button(QStringLiteral("TButtonRun"), QStringLiteral("Spočti"), turn);
        connect(run, &QPushButton::clicked, this, &TFPosuv::TButtonRunClick);
        Label9 = label(QStringLiteral("Label9"), QString(), turn);
        auto *l = new QVBoxLayout(turn);
        l->addWidget(g);
        l->addLayout(form);
        l->addWidget(Label9);
        l->addWidget(run);
        for (int i = 0; i < coT.size(); ++i)
            connect(coT[i], &QRadioButton::clicked, this, [this, i] { chooseCoT(i); });
    }
    pages->addTab(turn, QStringLiteral("Soustružení a vrtání"));

    auto *cut = new QWidget;
    cut->setObjectName(QStringLiteral("TabSheetCut"));
    {
        QGroupBox *g = radioGroup(QStringLiteral("RadioGroupCo"), QStringLiteral("Spočítat a vložit do programu"),
                                  {QStringLiteral("Posuv/ 1 zub"), QStringLiteral("Posuv/ 1 min ")}, co, cut);
        co[1]->setChecked(true);
        Edit971 = edit(QStringLiteral("Edit971"), QString(), cut);
        Edit973 = edit(QStringLiteral("Edit973"), QString(), cut);
        Edit974 = edit(QStringLiteral("Edit974"), QString(), cut);
        Edit975 = edit(QStringLiteral("Edit975"), QString(), cut);
        setTextColour(Edit975, Qt::red);
        auto *form = new QFormLayout;
        form->addRow(label(QStringLiteral("Label4"), QStringLiteral("Otáčky :"), cut), Edit971);
        form->addRow(label(QStringLiteral("Label5"), QStringLiteral("Posuv/zub :"), cut), Edit973);
        form->addRow(label(QStringLiteral("Label6"), QStringLiteral("Počet zubů :"), cut), Edit974);
        form->addRow(label(QStringLiteral("Label7"), QStringLiteral("Posuv/min:"), cut), Edit975);
        auto *run = button(QStringLiteral("FButtonRun"), QStringLiteral("Spočti"), cut);
        connect(run, &QPushButton::clicked, this, &TFPosuv::FButtonRunClick);
        Label10 = label(QStringLiteral("Label10"), QString(), cut);
        auto *l = new QVBoxLayout(cut);
        l->addWidget(g);
        l->addLayout(form);
        l->addWidget(Label10);
        l->addWidget(run);
        for (int i = 0; i < co.size(); ++i)
            connect(co[i], &QRadioButton::clicked, this, [this, i] { chooseCo(i); });
    }
    pages->addTab(cut, QStringLiteral("Frézování"));

    auto *round = new QWidget;
    round->setObjectName(QStringLiteral("TabSheetRound"));
    {
        QGroupBox *g = radioGroup(QStringLiteral("RadioGroupR"), QString(),
                                  {QStringLiteral("Nezaokrouhleno"), QStringLiteral("Zaokrouhleno na 3 desetinná čísla"),
                                   QStringLiteral("Zaokrouhleno na 2 desetinná čísla"),
                                   QStringLiteral("Zaokrouhleno na 1 desetinné číslo"), QStringLiteral("Zaokrouhleno na celé číslo"),
                                   QStringLiteral("Zaokrouhleno na desítky")},
                                  roundingR, round);
        roundingR[3]->setChecked(true);
        auto *l = new QVBoxLayout(round);
        l->addWidget(g);
    }
    pages->addTab(round, QStringLiteral("Zaokrouhlení"));
    connect(pages, &QTabWidget::currentChanged, this, [this] { showRoundingText(); });

    auto *ok = button(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    auto *insert = button(QStringLiteral("FBitBtnInsert"), QStringLiteral("&Vložit"), this);
    auto *cancel = button(QStringLiteral("BitBtn3"), QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, [this] { done(CloseOk); });
    connect(insert, &QPushButton::clicked, this, &TFPosuv::insertClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ok, insert, cancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    showRoundingText();
}

void TFPosuv::setSpeed(const QString &speed) {
    Edit971->setText(speed);
    EditOtacky->setText(speed);
}

void TFPosuv::showEvent(QShowEvent *e) {
    showRoundingText();
    QDialog::showEvent(e);
}

void TFPosuv::showRoundingText() {
    const int r = checkedIndex(roundingR);
    const QString text = r >= 0 ? roundingR[r]->text() : QString();
    Label9->setText(text);
    Label10->setText(text);
}

void TFPosuv::chooseCoT(int item) {
    if (item == 0) {
        EditMin->clear();
        setTextColour(EditOt, Qt::red);
        setTextColour(EditMin, Qt::black);
    } else {
        EditOt->clear();
        setTextColour(EditMin, Qt::red);
        setTextColour(EditOt, Qt::black);
    }
}

void TFPosuv::chooseCo(int item) {
    if (item == 0) {
        Edit973->clear();
        setTextColour(Edit973, Qt::red);
        setTextColour(Edit975, Qt::black);
        roundingR[1]->setChecked(true);
    } else {
        Edit975->clear();
        setTextColour(Edit975, Qt::red);
        setTextColour(Edit973, Qt::black);
        roundingR[4]->setChecked(true);
    }
    showRoundingText();
}

namespace {

calc::FeedFields feedFields(const TFPosuv &w, bool milling) {
    calc::FeedFields f;
    if (milling) {
        f.speed = w.Edit971->text();
        f.perTooth = w.Edit973->text();
        f.teeth = w.Edit974->text();
        f.perMinute = w.Edit975->text();
    } else {
        f.speed = w.EditOtacky->text();
        f.perMinute = w.EditMin->text();
        f.perRev = w.EditOt->text();
    }
    return f;
}

} // namespace

void TFPosuv::TButtonRunClick() {
    const bool perRev = checkedIndex(coT) != 1;
    try {
        const QString r = calc::feedText(perRev ? calc::FeedMode::TurnPerRev : calc::FeedMode::TurnPerMin, feedFields(*this, false),
                                         calc::FeedRounding(qMax(0, checkedIndex(roundingR))));
        (perRev ? EditOt : EditMin)->setText(r);
    } catch (const calc::InputError &) {
        io_.error(calc::InputError::text());
    } catch (const ConversionError &e) {
        io_.error(e.message());
    }
}

void TFPosuv::FButtonRunClick() {
    const bool perTooth = checkedIndex(co) == 0;
    try {
        const QString r = calc::feedText(perTooth ? calc::FeedMode::MillPerTooth : calc::FeedMode::MillPerMin, feedFields(*this, true),
                                         calc::FeedRounding(qMax(0, checkedIndex(roundingR))));
        (perTooth ? Edit973 : Edit975)->setText(r);
    } catch (const calc::InputError &) {
        io_.error(calc::InputError::text());
    } catch (const ConversionError &e) {
        io_.error(e.message());
    }
}

void TFPosuv::insertClick() {
    const QWidget *page = pages->currentWidget();
    if (page->objectName() == QLatin1String("TabSheetTurn"))
        feedToInsert_ = checkedIndex(coT) == 1 ? EditMin->text() : EditOt->text();
    else if (page->objectName() == QLatin1String("TabSheetCut"))
        feedToInsert_ = checkedIndex(co) == 0 ? Edit973->text() : Edit975->text();
    done(CloseInsert);
}

// --- drill point ---------------------------------------------------------------

TFVrchliky::TFVrchliky(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("FVrchliky"));
    setWindowTitle(QStringLiteral("Vrchlik"));
    Edit971 = edit(QStringLiteral("Edit971"), QStringLiteral("15"), this);
    Edit972 = edit(QStringLiteral("Edit972"), QStringLiteral("118"), this);
    Edit973 = edit(QStringLiteral("Edit973"), QString(), this);
    auto *form = new QFormLayout;
    form->addRow(label(QStringLiteral("Label1"), QStringLiteral("Průměr vrtáku :"), this), Edit971);
    form->addRow(label(QStringLiteral("Label2"), QStringLiteral("Vrcholový úhel :"), this), Edit972);
    form->addRow(label(QStringLiteral("Label3"), QStringLiteral("Vrchlík :"), this), Edit973);
    auto *run = button(QStringLiteral("FButtonF"), QStringLiteral("Spočti"), this);
    connect(run, &QPushButton::clicked, this, &TFVrchliky::FButtonFClick);

    const auto rows = calc::drillPointTable();
    ValueListEditor1 = new QTableWidget(int(rows.size()), 2, this);
    ValueListEditor1->setObjectName(QStringLiteral("ValueListEditor1"));
    ValueListEditor1->setHorizontalHeaderLabels({QStringLiteral("Prúměr"), QStringLiteral("Vrchlík")});
    ValueListEditor1->verticalHeader()->hide();
    ValueListEditor1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < rows.size(); ++i) {
        ValueListEditor1->setItem(i, 0, new QTableWidgetItem(rows[i].first));
        ValueListEditor1->setItem(i, 1, new QTableWidgetItem(rows[i].second));
    }
    auto *ok = button(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(run);
    layout->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Přednastavené pro úhel 118°"), this));
    layout->addWidget(ValueListEditor1);
    layout->addWidget(ok);
}

void TFVrchliky::FButtonFClick() {
    try {
        Edit973->setText(calc::drillPointText(Edit971->text(), Edit972->text()));
    } catch (const ConversionError &e) {
        io_.error(e.message());
    }
}

} // namespace velmora
