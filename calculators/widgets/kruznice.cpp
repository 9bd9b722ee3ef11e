#include "calculators/widgets/kruznice.h"

#include "calculators/logic/settings.h"
#include "calculators/widgets/cutting.h"
#include "calculators/widgets/preview.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

GeoWindowSetup circleSetup() {
    GeoWindowSetup s;
    s.objectName = QStringLiteral("FKruznice");
    s.caption = QStringLiteral("Výpočet bodů na kružnici");
    s.toolNames = {QStringLiteral("SBOpen"),       QStringLiteral("SBSave"),       QStringLiteral("SBZoomUp"),
                   QStringLiteral("SBZoomDown"),   QStringLiteral("SBHideCircle"), QStringLiteral("SBShowCircle"),
                   QStringLiteral("SBShowAllCircle")};
    s.openTitle = s.saveTitle = QStringLiteral("Uložení geometrie kružnic");
    s.filterLine = 2;
    s.builtInFilter = QStringLiteral("Geometrie(*.kge)|*.kge|Vše(*.*)|*.*");
    s.extension = QStringLiteral(".kge");
    s.printSection = QStringLiteral("FKruznice");
    s.focalLength = 70;
    s.distance = 3;
    return s;
}

} // namespace

TFKruznice::TFKruznice(Host &host, QWidget *parent)
    : GeoWindow(host, circleSetup(), parent), texts_(calc::CircleTexts::fromLanguage()), calc_(texts_, calc::geometryDecimals()) {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *grid = new QGridLayout;
    auto field = [&](const QString &name, const QString &text) {
        auto *e = new QLineEdit(text, panel);
        e->setObjectName(name);
        return e;
    };
    auto label = [&](const QString &name, const QString &text) {
        auto *l = new QLabel(text, panel);
        l->setObjectName(name);
        return l;
    };
    Edit971 = field(QStringLiteral("Edit971"), QStringLiteral("100"));
    Edit972 = field(QStringLiteral("Edit972"), QStringLiteral("8"));
    Edit973 = field(QStringLiteral("Edit973"), QStringLiteral("30"));
    Edit976 = field(QStringLiteral("Edit976"), QStringLiteral("45"));
    Edit974 = field(QStringLiteral("Edit974"), QStringLiteral("0"));
    Edit975 = field(QStringLiteral("Edit975"), QStringLiteral("0"));
    Edit977 = field(QStringLiteral("Edit977"), QStringLiteral("8"));
    Label5 = label(QStringLiteral("Label5"), QStringLiteral("X"));
    Label6 = label(QStringLiteral("Label6"), QStringLiteral("Y"));
    int row = 0;
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Průměr roztečné kružnice")), row, 0);
    grid->addWidget(Edit971, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Počet otvorů")), row, 0);
    grid->addWidget(Edit972, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Počáteční úhel")), row, 0);
    grid->addWidget(Edit973, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Další úhel")), row, 0);
    grid->addWidget(Edit976, row++, 1, 1, 2);
    grid->addWidget(Label5, row, 1);
    grid->addWidget(Label6, row++, 2);
    grid->addWidget(label(QStringLiteral("Label7"), QStringLiteral("Souřadnice středu")), row, 0);
    grid->addWidget(Edit974, row, 1);
    grid->addWidget(Edit975, row++, 2);
    grid->addWidget(label(QStringLiteral("Label8"), QStringLiteral("Průměry otvoru")), row, 0);
    grid->addWidget(Edit977, row++, 1, 1, 2);

    QGroupBox *polar = radioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("Polárně Heidenhain ISO"),
                                  {QStringLiteral("Ano"), QStringLiteral("Ne")}, polarItems, panel);
    polarItems[0]->setObjectName(QStringLiteral("RadioGroup2.colums[0]"));
    polarItems[1]->setObjectName(QStringLiteral("RadioGroup2.colums[1]"));
    polarItems[1]->setChecked(true);
    QGroupBox *planes = radioGroup(QStringLiteral("RadioGroupCS"), QStringLiteral("Souřadný systém"),
                                   {QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ")}, planeItems, panel);
    planeItems[0]->setChecked(true);
    for (QRadioButton *r : planeItems)
        connect(r, &QRadioButton::clicked, this, &TFKruznice::planeChosen);
    CheckBox1 = new QCheckBox(QStringLiteral("Zobrazit osy"), panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    connect(CheckBox1, &QCheckBox::toggled, this, &TFKruznice::planeChosen);

    auto button = [&](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, panel);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *count = button(QStringLiteral("BitBtnCount"), QStringLiteral("Spočti"));
    QPushButton *print = button(QStringLiteral("BitBtnPrint"), QStringLiteral("Tiskni"));
    QPushButton *insert = button(QStringLiteral("BitBtnInsert"), QStringLiteral("Vložit do programu"));
    QPushButton *del = button(QStringLiteral("BitBtnDel"), QStringLiteral("Vše smazat"));
    QPushButton *close = button(QStringLiteral("BitBtnClose"), QStringLiteral("&Zavřít"));
    connect(count, &QPushButton::clicked, this, &TFKruznice::BitBtnCountClick);
    connect(print, &QPushButton::clicked, this, &GeoWindow::printClick);
    connect(insert, &QPushButton::clicked, this, &GeoWindow::insertClick);
    connect(del, &QPushButton::clicked, this, &GeoWindow::deleteAllClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(panel);
    layout->addLayout(grid);
    layout->addWidget(polar);
    layout->addWidget(planes);
    layout->addWidget(CheckBox1);
    for (QPushButton *b : {count, print, insert, del, close})
        layout->addWidget(b);
    layout->addStretch();
    setInputPanel(panel);
    planeChosen();
}

calc::Plane TFKruznice::plane() const { return calc::Plane(qMax(0, checkedIndex(planeItems))); }

void TFKruznice::planeChosen() {
    const calc::Plane p = plane();
    Label5->setText(QString(calc::firstAxis(p)));
    Label6->setText(QString(calc::secondAxis(p)));
    preview->setAxes(CheckBox1->isChecked(), 0.6, calc::firstAxis(p), calc::secondAxis(p));
}

calc::OverlapQuestion TFKruznice::overlapQuestion() {
    return [this] {
        return host_.userIO().message(MessageKind::Information, calc::overlapQuestionText(), kYesNo) == Answer::Yes;
    };
}

void TFKruznice::BitBtnCountClick() {
    calc::CircleInput in;
    in.diameter = Edit971->text();
    in.holes = Edit972->text();
    in.startAngle = Edit973->text();
    in.stepAngle = Edit976->text();
    in.centre1 = Edit974->text();
    in.centre2 = Edit975->text();
    in.holeDiameter = Edit977->text();
    in.polar = checkedIndex(polarItems) == 0;
    in.plane = plane();
    calc_.setDecimals(calc::geometryDecimals());
    guarded([&] { calc_.calculate(in, overlapQuestion()); });
}

void TFKruznice::recalculate() {
    calc_.setDecimals(calc::geometryDecimals());
    calc_.recalculate(overlapQuestion());
}

void TFKruznice::deleteGroup(int root, bool autoRecalc) { calc_.deleteGroup(root, autoRecalc, overlapQuestion()); }

bool TFKruznice::editNode(int index, const QString &value, bool autoRecalc) {
    return calc_.editNode(index, value, autoRecalc, overlapQuestion());
}

QStringList TFKruznice::blocks() const { return calc::circleBlocks(calc_.report(), texts_, calc::blockPrefix()); }

} // namespace velmora
