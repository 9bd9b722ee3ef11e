#include "simulator/widgets/simdialogs.h"

#include "shell/logic/userio.h"
#include "simulator/logic/infovalues.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora::sim {

namespace {

QColor qcolour(ColorValue v) {
    const ColorValue c = plainColour(v);
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

QIcon swatch(ColorValue v) {
    QPixmap pm(24, 14);
    pm.fill(qcolour(v));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 23, 13);
    return QIcon(pm);
}

QPushButton *okButton(QDialog *d, QVBoxLayout *layout) {
    auto *box = new QDialogButtonBox(d);
    QPushButton *ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    layout->addWidget(box);
    return ok;
}

} // namespace

// ------------------------------------------------------------------ colour picker

ColourPicker::ColourPicker(bool custom, QWidget *parent) : QComboBox(parent), custom_(custom) {
    setIconSize(QSize(24, 14));
    for (const ColorValue c : namedColours())
        addColour(c);
    if (custom_) {
        addItem(QStringLiteral("Vlastní..."));
        connect(this, &QComboBox::activated, this, [this](int index) {
            if (index != count() - 1) {
                previous_ = index;
                return;
            }
            const QColor picked = QColorDialog::getColor(qcolour(ColorValue(itemData(previous_).toUInt())), this);
            if (picked.isValid())
                setColour(colorFromRgb(picked.red(), picked.green(), picked.blue()));
            else
                setCurrentIndex(previous_);
        });
    }
}

void ColourPicker::addColour(ColorValue c) {
    const int at = custom_ && count() > 0 && itemData(count() - 1).isNull() ? count() - 1 : count();
    insertItem(at, swatch(c), colorToString(c), QVariant::fromValue(uint(c)));
}

ColorValue ColourPicker::colour() const { return ColorValue(currentData().toUInt()); }

void ColourPicker::setColour(ColorValue c) {
    int i = findData(QVariant::fromValue(uint(c)));
    if (i < 0) {
        addColour(c);
        i = findData(QVariant::fromValue(uint(c)));
    }
    setCurrentIndex(i);
    previous_ = i;
}

// ------------------------------------------------------------------ TFSetup

TFSetup::TFSetup(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFSetup"));
    setWindowTitle(QStringLiteral("Nastaveni"));
    auto *layout = new QVBoxLayout(this);
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));

    auto *machine = new QWidget(pages);
    auto *mf = new QFormLayout(machine);
    rapid_ = new QLineEdit(QStringLiteral("40000"), machine); // replaced when the settings are read
    rapid_->setObjectName(QStringLiteral("LBrychloposuv"));
    toolChange_ = new QLineEdit(QStringLiteral("0,5"), machine);
    toolChange_->setObjectName(QStringLiteral("LBvymanaNA"));
    mf->addRow(QStringLiteral("Rychloposuv :"), rapid_);
    mf->addRow(QStringLiteral("Výměna nástroje :"), toolChange_);
    pages->addTab(machine, QStringLiteral("Stroj"));

    auto *env = new QWidget(pages);
    auto *ef = new QFormLayout(env);
    auto picker = [&](const char *name, const char *caption, bool custom) {
        auto *p = new ColourPicker(custom, env);
        p->setObjectName(QLatin1String(name));
        ef->addRow(QString::fromUtf8(caption), p);
        return p;
    };
    background_ = picker("CBBackground", "Barva podkladu :", false);
    left_ = picker("CBLeftComp", "Levá korekce :", false);
    right_ = picker("CBRightComp", "Pravá korekce :", false);
    none_ = picker("CBNoneComp", "Bez korekce:", false);
    rapidColour_ = picker("CBRapid", "Rychloposuv :", false);
    currentLine_ = picker("CBCurentLine", "Aktualní řádka :", true);
    pages->addTab(env, QStringLiteral("Prostředí"));

    layout->addWidget(pages);
    okButton(this, layout);
}

void TFSetup::readSettings(const QString &iniPath) {
    const SimdraSettings s = SimdraSettings::forDialog(iniPath);
    background_->setColour(s.background);
    left_->setColour(s.leftComp);
    right_->setColour(s.rightComp);
    none_->setColour(s.noneComp);
    rapidColour_->setColour(s.rapid);
    currentLine_->setColour(s.currentLine);
    rapid_->setText(s.rapidMachine);
    toolChange_->setText(s.toolChange);
}

SimdraSettings TFSetup::settings() const {
    SimdraSettings s;
    s.background = background_->colour();
    s.leftComp = left_->colour();
    s.rightComp = right_->colour();
    s.noneComp = none_->colour();
    s.rapid = rapidColour_->colour();
    s.currentLine = currentLine_->colour();
    s.rapidMachine = rapid_->text();
    s.toolChange = toolChange_->text();
    return s;
}

QString TFSetup::rapidText() const { return rapid_->text(); }
QString TFSetup::toolChangeText() const { return toolChange_->text(); }

// ------------------------------------------------------------------ TFInfo

TFInfo::TFInfo(UserIO &io, QWidget *parent) : QDialog(parent), io_(io) {
    setObjectName(QStringLiteral("TFInfo"));
    setWindowTitle(QStringLiteral("Informace"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    auto value = [&](const char *name) {
        auto *l = new QLabel(QStringLiteral("0"), this);
        l->setObjectName(QLatin1String(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setMinimumWidth(110);
        return l;
    };
    grid->addWidget(new QLabel(QStringLiteral("Počáteční bod"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Koncový bod"), this), 0, 2, 1, 2);
    const char *axes[3] = {"X :", "Y :", "Z :"};
    const char *startNames[3] = {"LStartX", "LStartY", "LStartZ"}, *endNames[3] = {"LEndX", "LEndY", "LEndZ"};
    const char *diffNames[3] = {"LDifX", "LDifY", "LDifZ"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QLatin1String(axes[i]), this), i + 1, 0);
        grid->addWidget(start_[i] = value(startNames[i]), i + 1, 1);
        grid->addWidget(new QLabel(QLatin1String(axes[i]), this), i + 1, 2);
        grid->addWidget(end_[i] = value(endNames[i]), i + 1, 3);
    }
    grid->addWidget(new QLabel(QStringLiteral("Typ :"), this), 4, 0, 1, 4);
    type_ = value("LTyp");
    grid->addWidget(type_, 5, 0, 1, 4);
    for (int i = 0; i < 3; ++i) {
        // The ampersand is shown: "&X :".
        auto *caption = new QLabel(QStringLiteral("&&%1").arg(QLatin1String(axes[i])), this);
        grid->addWidget(caption, 6 + i, 0);
        grid->addWidget(difference_[i] = value(diffNames[i]), 6 + i, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("S :"), this), 6, 2);
    grid->addWidget(s_ = value("LS"), 6, 3);
    grid->addWidget(new QLabel(QStringLiteral("F :"), this), 7, 2);
    grid->addWidget(f_ = value("LF"), 7, 3);
    grid->addWidget(new QLabel(QStringLiteral("Čas dráhy :"), this), 8, 2);
    grid->addWidget(time_ = value("LCas"), 8, 3);
    layout->addLayout(grid);
    okButton(this, layout);
}

void TFInfo::setSegment(const PickInfo &info) {
    for (int i = 0; i < 3; ++i) {
        start_[i]->setText(info.start[i]);
        end_[i]->setText(info.end[i]);
    }
    if (!info.type.isEmpty())
        type_->setText(info.type);
    s_->setText(info.s);
    f_->setText(info.f);
}

void TFInfo::recompute() {
    QString a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = start_[i]->text();
        b[i] = end_[i]->text();
    }
    const InfoValues v = infoValues(a, b, f_->text());
    for (int i = 0; i < 3; ++i)
        if (!v.difference[i].isEmpty())
            difference_[i]->setText(v.difference[i]);
    if (v.timeOk)
        time_->setText(v.time);
    else
        io_.error(v.error);
}

QString TFInfo::text(const char *name) const {
    const auto *l = findChild<QLabel *>(QLatin1String(name));
    return l ? l->text() : QString();
}

bool TFInfo::event(QEvent *e) {
    const bool r = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        recompute();
    return r;
}

// ------------------------------------------------------------------ TFHelp

TFHelp::TFHelp(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFHelp"));
    setWindowTitle(QStringLiteral("FHelp"));
    resize(720, 460);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    topics_ = new QTreeWidget(this);
    topics_->setObjectName(QStringLiteral("TreeView1"));
    topics_->setHeaderHidden(true);
    topics_->setMaximumWidth(200);
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    row->addWidget(topics_);
    row->addWidget(pages_, 1);
    layout->addLayout(row, 1);
    okButton(this, layout);

    struct Topic {
        const char *caption;
        const char *text;
    };
    auto page = [&](const char *text) {
        auto *b = new QTextBrowser(pages_);
        b->setHtml(QString::fromUtf8(text));
        pages_->addWidget(b);
        return pages_->count() - 1;
    };
    auto add = [&](QTreeWidgetItem *parentItem, const Topic &t) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(topics_);
        item->setText(0, QString::fromUtf8(t.caption));
        item->setData(0, Qt::UserRole, page(t.text));
        return item;
    };
    const Topic g = {"G Funkce",
                     "<h3>G funkce</h3><p>G funkce určují druh pohybu a režim programu. Simulátor zná pohyby "
                     "G0 až G3, polární pohyby G10 až G13, volbu roviny G17 až G19, zrcadlení G28, "
                     "kompenzace G40 až G42, posunutí nulového bodu G54, otočení G73, cykly G79 až G85, "
                     "absolutní a přírůstkový režim G90 a G91 a návěští G98.</p>"};
    const Topic gs[] = {
        {"G0", "<h3>G0 – rychloposuv</h3><p>Přímý pohyb rychloposuvem do zadaného bodu. Čas dráhy je délka "
               "dělená rychloposuvem stroje (Nastavení – Prostředí – Stroj).</p><p><tt>N10 G00 G90 X+10 Y+10 Z+5</tt></p>"},
        {"G1", "<h3>G1 – přímka posuvem</h3><p>Přímý pohyb pracovním posuvem F. Barva dráhy ukazuje "
               "korekci: bez korekce, levá (G41) nebo pravá (G42).</p><p><tt>N20 G01 X+50 F200</tt></p>"},
        {"G2", "<h3>G2 – kruhový oblouk ve směru hodinových ručiček</h3><p>Oblouk ze stávající polohy do "
               "zadaného bodu kolem středu I, J (G17), I, K (G18) nebo J, K (G19). Rovinu je nutné zvolit "
               "předem.</p><p><tt>N30 G17 G02 X+10 Y+0 I+5 J+0</tt></p>"},
        {"G3", "<h3>G3 – kruhový oblouk proti směru hodinových ručiček</h3><p>Jako G2, opačným směrem.</p>"},
        {"G10", "<h3>G10 – polární rychloposuv</h3><p>Rychloposuv do bodu zadaného poloměrem R a úhlem H "
                "kolem pólu I, J (pól nastaví G29 nebo slova I a J).</p>"},
        {"G11", "<h3>G11 – polární přímka</h3><p>Posuv do bodu zadaného poloměrem R a úhlem H kolem pólu.</p>"},
        {"G12", "<h3>G12 – polární kružnice ve směru hodinových ručiček</h3><p>Oblouk kolem pólu do úhlu H; "
                "úhel větší o více než 360° dává šroubovici s několika otáčkami.</p>"},
        {"G13", "<h3>G13 – polární kružnice proti směru hodinových ručiček</h3><p>Jako G12, opačným směrem.</p>"},
        {"G28", "<h3>G28 – zrcadlení</h3><p>G28 X zrcadlí osu X, G28 Y osu Y, G28 X Y obě osy; samotné G28 "
                "zrcadlení zruší.</p>"},
    };
    const Topic m = {"M  Funkce", "<h3>M funkce</h3><p>Přídavné funkce: konec programu a vyvolání cyklu.</p>"};
    const Topic ms[] = {
        {"M2", "<h3>M2 – konec programu</h3><p>Simulace se zastaví a ukáže hlášení „Ok“.</p>"},
        {"M30", "<h3>M30 – konec programu</h3><p>Jako M2.</p>"},
        {"M6", "<h3>M6 – výměna nástroje</h3><p>Výměnu nástroje simulátor počítá u bloku G17 se slovem T; "
               "její čas se přičte k celkovému času.</p>"},
        {"M89", "<h3>M89 – modální vyvolání cyklu</h3><p>Definovaný cyklus se provede v každém dalším bloku "
                "s pohybem, dokud ho nezruší M99 nebo výměna nástroje.</p>"},
        {"M99", "<h3>M99 – vyvolání cyklu</h3><p>Definovaný cyklus se provede jen v tomto bloku.</p>"},
    };
    const Topic q = {"Q parametry",
                     "<h3>Q parametry</h3><p>Simulátor má parametry Q0 až Q255. Přiřazení <tt>Q1 = 2 * sin(pi/6)</tt> "
                     "vypočte výraz se závorkami, mocninou ^ a funkcemi (abs, sqr, sin, cos, tan, round, int, "
                     "exp, log …); názvy funkcí pište malými písmeny, velká písmena G, M, D a Q se čtou jako slova "
                     "bloku. Hodnota parametru se dosadí za slovo, např. <tt>X-Q3</tt>.</p>"};
    const Topic d = {"D parametry",
                     "<h3>D funkce</h3><p>D00 až D08 počítají s parametry P01 a P02 (přiřazení, součet, rozdíl, "
                     "součin, podíl, odmocnina, sinus, kosinus, délka vektoru), D13 úhel vektoru v radiánech. "
                     "D09 až D12 skáčou na návěští P03 (G98 L…), když platí rovnost, nerovnost, větší nebo menší.</p>"};
    QTreeWidgetItem *gi = add(nullptr, g);
    for (const Topic &t : gs)
        add(gi, t);
    QTreeWidgetItem *mi = add(nullptr, m);
    for (const Topic &t : ms)
        add(mi, t);
    add(nullptr, q);
    add(nullptr, d);
    topics_->expandAll();
    connect(topics_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            pages_->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
    });
    topics_->setCurrentItem(gi);
}

} // namespace velmora::sim
