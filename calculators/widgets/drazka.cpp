#include "calculators/widgets/drazka.h"

#include "calculators/logic/settings.h"
#include "calculators/widgets/cutting.h"
#include "calculators/widgets/insert.h"
#include "calculators/widgets/preview.h"
#include "common/language.h"
#include "common/numbers.h"
#include "common/textfile.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace velmora {

// --- the picture of the approach points ----------------------------------------

namespace {

// A groove at 20 degrees drawn from the generator's own geometry, so that the
// numbered points stand where the generator puts them.
class GroovePicture : public QWidget {
public:
    explicit GroovePicture(QWidget *parent) : QWidget(parent) { setFixedSize(420, 300); }

protected:
    void paintEvent(QPaintEvent *) override {
        calc::GrooveInput in;
        in.x0 = QStringLiteral("0");
        in.y0 = QStringLiteral("0");
        in.length = QStringLiteral("60");
        in.width = QStringLiteral("30");
        in.angle = QStringLiteral("20");
        const calc::GrooveGeometry g = calc::grooveGeometry(in);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        const double k = 3;
        const QPointF origin(110, 200);
        auto at = [&](QPointF q) { return QPointF(origin.x() + q.x() * k, origin.y() - q.y() * k); };

        // axes
        p.setPen(QPen(Qt::darkGray, 1));
        p.drawLine(at({-30, 0}), at({95, 0}));
        p.drawLine(at({0, -30}), at({0, 55}));
        p.drawText(at({95, 0}) + QPointF(4, 4), QStringLiteral("X"));
        p.drawText(at({0, 55}) + QPointF(-4, -6), QStringLiteral("Y"));

        // contour
        p.setPen(QPen(Qt::blue, 2));
        for (const calc::Shape &s : calc::grooveShapes(in, g)) {
            if (s.colour != calc::ShapeColour::Contour)
                continue;
            QPolygonF poly;
            for (const QPointF &q : s.points)
                poly << at(q);
            p.drawPolyline(poly);
        }
        // axis of the groove and the start centre as a star
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(at(g.c0), at(g.c1));
        p.setPen(QPen(Qt::black, 1));
        const QPointF c = at(g.c0);
        for (int i = 0; i < 4; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(c + QPointF(7 * std::cos(a), 7 * std::sin(a)), c - QPointF(7 * std::cos(a), 7 * std::sin(a)));
        }
        // the angle
        p.drawArc(QRectF(c - QPointF(40, 40), QSizeF(80, 80)), 0, 20 * 16);
        p.drawText(c + QPointF(44, -4), QStringLiteral("Úhel"));
        // length along the axis, width across the end
        p.drawText((at(g.c0) + at(g.c1)) / 2 + QPointF(-20, -8), QStringLiteral("Délka"));
        p.setPen(QPen(Qt::darkGreen, 1));
        p.drawLine(at(g.p1), at(g.p2));
        p.drawText(at(g.c1) + QPointF(8, 4), QStringLiteral("Šířka"));

        // the four approach points
        p.setPen(QPen(Qt::red, 2));
        const QPointF pts[] = {g.p1, g.p2, g.p3, g.p4};
        for (int i = 0; i < 4; ++i) {
            const QPointF q = at(pts[i]);
            p.drawEllipse(q, 4, 4);
            p.drawText(q + QPointF(6, i % 2 == 0 ? 14 : -6), QString::number(i + 1));
        }
    }
};

} // namespace

TFPopisDrazek::TFPopisDrazek(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FPopisDrazek"));
    setWindowTitle(QStringLiteral("Popis drážek"));
    auto *picture = new GroovePicture(this);
    picture->setObjectName(QStringLiteral("Image1"));
    auto *text = new QLabel(QStringLiteral("Body 1..4 jsou nájezdové body"), this);
    text->setObjectName(QStringLiteral("Label1"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

// --- the groove window ---------------------------------------------------------

TFDrazka::TFDrazka(Host &host, TFPopisDrazek *help, QWidget *parent) : QDialog(parent), host_(host), help_(help) {
    setObjectName(QStringLiteral("FDrazka"));
    setWindowTitle(QStringLiteral("Drážky"));

    auto *grid = new QGridLayout;
    auto field = [&](const QString &name, const QString &caption, const QString &labelName, const QString &text) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(labelName);
        auto *e = new QLineEdit(text, this);
        e->setObjectName(name);
        const int row = grid->rowCount();
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row, 1);
        return e;
    };
    Edit1 = field(QStringLiteral("Edit1"), QStringLiteral("Poloha X"), QStringLiteral("StaticTextX"), QStringLiteral("0"));
    Edit2 = field(QStringLiteral("Edit2"), QStringLiteral("Poloha Y"), QStringLiteral("StaticTextY"), QStringLiteral("0"));
    Edit3 = field(QStringLiteral("Edit3"), QStringLiteral("Délka drážky"), QStringLiteral("StaticTextLength"), QStringLiteral("25"));
    Edit4 = field(QStringLiteral("Edit4"), QStringLiteral("Šířka drážky"), QStringLiteral("StaticTextWidth"), QStringLiteral("14"));
    Edit5 = field(QStringLiteral("Edit5"), QStringLiteral("Úhel"), QStringLiteral("StaticTextAngle"), QStringLiteral("0"));
    auto combo = [&](const QString &name, const QString &caption, const QString &labelName, const QStringList &items) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(labelName);
        auto *c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(items);
        const int row = grid->rowCount();
        grid->addWidget(l, row, 0);
        grid->addWidget(c, row, 1);
        return c;
    };
    ComboBox1 = combo(QStringLiteral("ComboBox1"), QStringLiteral("Nájezdový bod"), QStringLiteral("StaticTextApproach"),
                      {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    ComboBox2 = combo(QStringLiteral("ComboBox2"), QStringLiteral("Směr"), QStringLiteral("StaticTextDirection"),
                      {QStringLiteral("Sousledné ( po zubu ) [0]"), QStringLiteral("Nesousledné ( proti zubu ) [1]")});
    ComboBox4 = combo(QStringLiteral("ComboBox4"), QStringLiteral("Paremetry"), QStringLiteral("StaticTextIParam"),
                      {QStringLiteral("Střed kružnice - počát. bod [0]"), QStringLiteral("Středy kružnic ( absolutně ) [1]")});

    auto button = [&](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *suma = button(QStringLiteral("ButtonSuma"), QStringLiteral("Spočti"));
    QPushButton *insert = button(QStringLiteral("ButtonInsert"), QStringLiteral("Vložit do programu"));
    QPushButton *del = button(QStringLiteral("ButtonDelete"), QStringLiteral("Smazat"));
    QPushButton *close = button(QStringLiteral("ButtonClose"), QStringLiteral("Konec"));
    QPushButton *helpButton = button(QStringLiteral("BitBtn5"), QStringLiteral("&Help"));
    connect(suma, &QPushButton::clicked, this, &TFDrazka::ButtonSumaClick);
    connect(insert, &QPushButton::clicked, this, [this] { done(CloseInsert); });
    connect(del, &QPushButton::clicked, this, &TFDrazka::ButtonDeleteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (help_)
            help_->exec();
    });

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    preview = new GeoPreview(60, 60, this);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setAxes(true, 10, QLatin1Char('X'), QLatin1Char('Y'));

    treeMenu = new QMenu(this);
    treeMenu->setObjectName(QStringLiteral("PopupMenu1"));
    MenuDelete = treeMenu->addAction(QStringLiteral("Smaž"));
    MenuDelete->setObjectName(QStringLiteral("MenuDelete"));
    MenuEdit = treeMenu->addAction(QStringLiteral("Editace"));
    MenuEdit->setObjectName(QStringLiteral("MenuEdit"));
    MenuReCount = treeMenu->addAction(QStringLiteral("Přepočítat souřadnice"));
    MenuReCount->setObjectName(QStringLiteral("MenuReCount"));
    connect(MenuDelete, &QAction::triggered, this, &TFDrazka::MenuDeleteClick);
    connect(MenuEdit, &QAction::triggered, this, &TFDrazka::MenuEditClick);
    connect(MenuReCount, &QAction::triggered, this, &TFDrazka::MenuReCountClick);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { treeMenu->popup(TreeView1->viewport()->mapToGlobal(p)); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { updateMenu(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent())
            MenuEditClick();
    });

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {suma, insert, del, close, helpButton})
        buttons->addWidget(b);
    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(TreeView1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(preview, 2);
    right->addWidget(Memo1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedSize(900, 620);
    updateMenu();
}

void TFDrazka::showEvent(QShowEvent *e) {
    // A fresh start for the choices each time the window opens.
    ComboBox1->setCurrentIndex(1);
    ComboBox2->setCurrentIndex(0);
    ComboBox4->setCurrentIndex(0);
    const calc::GeometrySettings g = calc::readGeometrySettings();
    preview->setColours(g.background, g.pitch, g.hole);
    QDialog::showEvent(e);
}

void TFDrazka::changeEvent(QEvent *e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        const calc::GeometrySettings g = calc::readGeometrySettings();
        preview->setColours(g.background, g.pitch, g.hole);
    }
    QDialog::changeEvent(e);
}

void TFDrazka::calculate(const calc::GrooveInput &in) {
    const calc::GrooveGeometry g = calc::grooveGeometry(in); // throws before anything is added
    shapes_ += calc::grooveShapes(in, g);
    preview->setShapes(shapes_);
    for (const QString &line : calc::grooveText(in, g))
        Memo1->appendPlainText(line);
}

void TFDrazka::ButtonSumaClick() {
    calc::GrooveInput in;
    in.x0 = Edit1->text();
    in.y0 = Edit2->text();
    in.length = Edit3->text();
    in.width = Edit4->text();
    in.angle = Edit5->text();
    in.approach = ComboBox1->currentText();
    in.direction = ComboBox2->currentIndex();
    in.centres = ComboBox4->currentIndex();
    try {
        calculate(in);
    } catch (const ConversionError &e) {
        host_.userIO().error(e.message());
        return;
    }
    calc::GrooveCaptions c;
    c.root = languageText(QStringLiteral("FDrazka"), QStringLiteral("FDrazka"));
    if (c.root == QLatin1String("Error"))
        c.root = windowTitle();
    auto caption = [this](const char *name) { return findChild<QLabel *>(QString::fromLatin1(name))->text(); };
    c.x = caption("StaticTextX");
    c.y = caption("StaticTextY");
    c.length = caption("StaticTextLength");
    c.width = caption("StaticTextWidth");
    c.angle = caption("StaticTextAngle");
    c.approach = caption("StaticTextApproach");
    c.direction = caption("StaticTextDirection");
    c.centres = caption("StaticTextIParam");
    tree_ += calc::grooveGroup(in, c);
    rebuildTree();
}

void TFDrazka::ButtonDeleteClick() {
    shapes_.clear();
    preview->setShapes(shapes_);
    Memo1->clear();
}

int TFDrazka::selectedIndex() const {
    const QTreeWidgetItem *item = TreeView1->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void TFDrazka::selectIndex(int index) {
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == index) {
            TreeView1->setCurrentItem(*it);
            return;
        }
    TreeView1->setCurrentItem(nullptr);
}

void TFDrazka::rebuildTree() {
    const int selected = selectedIndex();
    TreeView1->clear();
    QTreeWidgetItem *root = nullptr;
    for (int i = 0; i < tree_.size(); ++i) {
        auto *item = tree_[i].depth == 0 || !root ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(root);
        if (tree_[i].depth == 0 || !root)
            root = item;
        item->setText(0, tree_[i].text);
        item->setData(0, Qt::UserRole, i);
    }
    TreeView1->expandAll();
    if (selected >= 0 && selected < tree_.size())
        selectIndex(selected);
    updateMenu();
}

void TFDrazka::updateMenu() {
    const QTreeWidgetItem *item = TreeView1->currentItem();
    MenuDelete->setEnabled(item && !item->parent());
    MenuEdit->setEnabled(item && item->parent());
}

void TFDrazka::MenuDeleteClick() {
    const int i = selectedIndex();
    if (i < 0 || tree_[i].depth != 0)
        return;
    tree_.remove(i, calc::groupEnd(tree_, i) - i);
    TreeView1->setCurrentItem(nullptr);
    rebuildTree();
}

void TFDrazka::MenuEditClick() {
    const int i = selectedIndex();
    if (i < 0 || tree_[i].depth == 0 || !tree_[i].text.contains(QLatin1Char(':')))
        return;
    QString value = calc::nodeValue(tree_[i].text);
    if (!host_.userIO().inputText(QStringLiteral("Editace"), calc::nodeLabel(tree_[i].text), value))
        return;
    calc::setNodeValue(tree_[i].text, value);
    rebuildTree();
    Memo1->clear();
    if (calc::readGeometrySettings().autoRecalc)
        MenuReCountClick();
}

void TFDrazka::MenuReCountClick() {
    Memo1->clear();
    shapes_.clear();
    preview->setShapes(shapes_);
    try {
        for (int root : calc::grooveRoots(tree_))
            calculate(calc::grooveFromTree(tree_, root)); // what was drawn before an error stays
    } catch (const ConversionError &e) {
        host_.userIO().error(e.message());
    }
}

QStringList TFDrazka::blocks() const { return calc::grooveNcLines(splitLines(Memo1->toPlainText())); }

} // namespace velmora
