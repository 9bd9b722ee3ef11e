#include "calculators/widgets/primka.h"

#include "calculators/logic/settings.h"
#include "calculators/widgets/cutting.h"
#include "calculators/widgets/preview.h"

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

GeoWindowSetup lineSetup() {
    GeoWindowSetup s;
    s.objectName = QStringLiteral("FPrimka");
    s.caption = QStringLiteral("Výpočet bodů na přímce");
    s.toolNames = {QStringLiteral("SpeedButton4"), QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton1"),
                   QStringLiteral("SpeedButton2"), QStringLiteral("SpeedButton5"), QStringLiteral("SpeedButton6"),
                   QStringLiteral("SpeedButton7")};
    s.openTitle = QStringLiteral("Otevření geometrie přímky");
    s.saveTitle = QStringLiteral("Uložení geometrie přímky");
    s.filterLine = 3;
    s.builtInFilter = QStringLiteral("Geometrie přímky(*.pge)|*.pge|Vše(*.*)|*.*");
    s.extension = QStringLiteral(".pge");
    s.printSection = QStringLiteral("FPrimka");
    s.focalLength = 150;
    s.distance = 5;
    s.editRootsOnDoubleClick = true;
    return s;
}

} // namespace

TFPrimka::TFPrimka(Host &host, QWidget *parent)
    : GeoWindow(host, lineSetup(), parent), calc_(calc::LineTexts::fromLanguage(), calc::geometryDecimals()) {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
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
    Edit971 = field(QStringLiteral("Edit971"), QStringLiteral("0"));
    Edit972 = field(QStringLiteral("Edit972"), QStringLiteral("0"));
    Edit973 = field(QStringLiteral("Edit973"), QStringLiteral("30"));
    Edit974 = field(QStringLiteral("Edit974"), QStringLiteral("20"));
    Edit975 = field(QStringLiteral("Edit975"), QStringLiteral("15"));
    Edit976 = field(QStringLiteral("Edit976"), QStringLiteral("6"));
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("X"));
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("Y"));
    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(Label2, row, 1);
    grid->addWidget(Label3, row++, 2);
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Počáteční bod :")), row, 0);
    grid->addWidget(Edit971, row, 1);
    grid->addWidget(Edit972, row++, 2);
    grid->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Úhel :")), row, 0);
    grid->addWidget(Edit973, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label5"), QStringLiteral("Rozteč bodů :")), row, 0);
    grid->addWidget(Edit974, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label6"), QStringLiteral("Počet :")), row, 0);
    grid->addWidget(Edit975, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Label7"), QStringLiteral("Průměr otvorů :")), row, 0);
    grid->addWidget(Edit976, row++, 1, 1, 2);

    QGroupBox *planes = radioGroup(QStringLiteral("RadioGroupCS"), QStringLiteral("Souřadný systém"),
                                   {QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ")}, planeItems, panel);
    planeItems[0]->setChecked(true);
    CheckBoxSAxis = new QCheckBox(QStringLiteral("Zobrazit osy"), panel);
    CheckBoxSAxis->setObjectName(QStringLiteral("CheckBoxSAxis"));
    CheckBoxSAxis->setChecked(true);
    connect(CheckBoxSAxis, &QCheckBox::toggled, this,
            [this](bool on) { preview->setAxes(on, 0.6, QLatin1Char('X'), QLatin1Char('Y')); });
    preview->setAxes(true, 0.6, QLatin1Char('X'), QLatin1Char('Y'));

    auto button = [&](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, panel);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *count = button(QStringLiteral("ButtonCount"), QStringLiteral("Výpočet"));
    QPushButton *print = button(QStringLiteral("ButtonPrint"), QStringLiteral("Tisk"));
    QPushButton *insert = button(QStringLiteral("ButtonInsert"), QStringLiteral("Vložit do programu"));
    QPushButton *del = button(QStringLiteral("ButtonDel"), QStringLiteral("Vše smazat"));
    QPushButton *exit = button(QStringLiteral("ButtonExit"), QStringLiteral("Konec"));
    connect(count, &QPushButton::clicked, this, &TFPrimka::ButtonCountClick);
    connect(print, &QPushButton::clicked, this, &GeoWindow::printClick);
    connect(insert, &QPushButton::clicked, this, &GeoWindow::insertClick);
    connect(del, &QPushButton::clicked, this, &GeoWindow::deleteAllClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(panel);
    layout->addLayout(grid);
    layout->addWidget(planes);
    layout->addWidget(CheckBoxSAxis);
    for (QPushButton *b : {count, print, insert, del, exit})
        layout->addWidget(b);
    layout->addStretch();
    setInputPanel(panel);
}

calc::LineTexts TFPrimka::texts() const {
    calc::LineTexts t = calc::LineTexts::fromLanguage();
    t.label2 = Label2->text();
    t.label3 = Label3->text();
    return t;
}

void TFPrimka::ButtonCountClick() {
    calc::LineInput in;
    in.x0 = Edit971->text();
    in.y0 = Edit972->text();
    in.angle = Edit973->text();
    in.spacing = Edit974->text();
    in.holes = Edit975->text();
    in.holeDiameter = Edit976->text();
    in.plane = calc::Plane(qMax(0, checkedIndex(planeItems)));
    calc_.setTexts(texts());
    calc_.setDecimals(calc::geometryDecimals());
    guarded([&] { calc_.calculate(in); });
}

void TFPrimka::recalculate() {
    calc_.setDecimals(calc::geometryDecimals());
    calc_.recalculate();
}

bool TFPrimka::editNode(int index, const QString &value, bool autoRecalc) { return calc_.editNode(index, value, autoRecalc); }

QStringList TFPrimka::blocks() const { return calc::lineBlocks(calc_.report(), calc::LineTexts::fromLanguage(), calc::blockPrefix()); }

} // namespace velmora
