#include "calculators/widgets/geowindow.h"

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
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora {

GeoWindow::GeoWindow(Host &host, GeoWindowSetup setup, QWidget *parent)
    : QDialog(parent), host_(host), setup_(std::move(setup)), filter_(setup_.builtInFilter) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.caption);
    resize(960, 600);

    toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("ToolBar1"));
    const QStringList hints = {QStringLiteral("Otevřít geometrii pro kružnice"), QStringLiteral("Uložit geometrii kružnice"),
                               QStringLiteral("Přiblížit"),       QStringLiteral("Oddálit"),
                               QStringLiteral("Skrýt kružnici"),  QStringLiteral("Zobrazit kružnici"),
                               QStringLiteral("Zobrazit vše")};
    const QStringList glyphs = {QStringLiteral("Otevřít"), QStringLiteral("Uložit"), QStringLiteral("+"), QStringLiteral("−"),
                                QStringLiteral("Skrýt"),   QStringLiteral("Zobrazit"), QStringLiteral("Vše")};
    for (int i = 0; i < setup_.toolNames.size() && i < hints.size(); ++i) {
        auto *b = new QToolButton(toolbar);
        b->setObjectName(setup_.toolNames[i]);
        b->setText(glyphs[i]);
        b->setToolTip(hints[i]);
        toolbar->addWidget(b);
        tools_ << b;
    }

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    preview = new GeoPreview(setup_.focalLength, setup_.distance, this);
    preview->setObjectName(QStringLiteral("Preview"));

    treeMenu = new QMenu(this);
    treeMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto addItem = [this](const QString &name, const QString &text) {
        QAction *a = treeMenu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    menuDelete = addItem(QStringLiteral("Smazat"), QStringLiteral("Smaž"));
    menuEdit = addItem(QStringLiteral("Editace1"), QStringLiteral("Editace"));
    menuHide = addItem(QStringLiteral("Zakryt"), QStringLiteral("Zakrýt"));
    menuShow = addItem(QStringLiteral("Obnovit"), QStringLiteral("Obnovit"));
    menuShowAll = addItem(QStringLiteral("ObnovitVse"), QStringLiteral("Obnovit vše"));
    menuRecalc = addItem(QStringLiteral("Prepocitat"), QStringLiteral("Přepočítat souřadnice"));

    connect(menuDelete, &QAction::triggered, this, &GeoWindow::deleteClick);
    connect(menuEdit, &QAction::triggered, this, &GeoWindow::editClick);
    connect(menuHide, &QAction::triggered, this, [this] { setSelectedHidden(true); });
    connect(menuShow, &QAction::triggered, this, [this] { setSelectedHidden(false); });
    connect(menuShowAll, &QAction::triggered, this, &GeoWindow::showAllClick);
    connect(menuRecalc, &QAction::triggered, this, &GeoWindow::recalculateClick);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { treeMenu->popup(TreeView1->viewport()->mapToGlobal(p)); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { updateMenu(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent() || setup_.editRootsOnDoubleClick)
            editClick();
    });
    if (tools_.size() == 7) {
        connect(tools_[0], &QToolButton::clicked, this, &GeoWindow::openClick);
        connect(tools_[1], &QToolButton::clicked, this, &GeoWindow::saveClick);
        connect(tools_[2], &QToolButton::clicked, preview, &GeoPreview::zoomIn);
        connect(tools_[3], &QToolButton::clicked, preview, &GeoPreview::zoomOut);
        connect(tools_[4], &QToolButton::clicked, this, [this] { setSelectedHidden(true); });
        connect(tools_[5], &QToolButton::clicked, this, [this] { setSelectedHidden(false); });
        connect(tools_[6], &QToolButton::clicked, this, &GeoWindow::showAllClick);
    }

    auto *splitter = new QSplitter(this);
    splitter->addWidget(TreeView1);
    splitter->addWidget(preview);
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);
    updateMenu();
}

void GeoWindow::setInputPanel(QWidget *panel) {
    auto *splitter = findChild<QSplitter *>();
    panel->setMaximumWidth(340);
    splitter->addWidget(panel);
    splitter->setSizes({240, 400, 320});
}

int GeoWindow::selectedIndex() const {
    const QTreeWidgetItem *item = TreeView1->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void GeoWindow::selectIndex(int index) {
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == index) {
            TreeView1->setCurrentItem(*it);
            return;
        }
    TreeView1->setCurrentItem(nullptr);
}

void GeoWindow::rebuildTree() {
    const int selected = selectedIndex();
    TreeView1->clear();
    QList<QTreeWidgetItem *> parents; // parents[d] is the last node of depth d
    const calc::GeoTree &tree = geoTree();
    for (int i = 0; i < tree.size(); ++i) {
        const int depth = qMin(tree[i].depth, int(parents.size()));
        auto *item = depth == 0 ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(parents[depth - 1]);
        item->setText(0, tree[i].text);
        item->setData(0, Qt::UserRole, i);
        parents.resize(depth);
        parents << item;
    }
    TreeView1->expandAll();
    if (selected >= 0 && selected < tree.size())
        selectIndex(selected);
    updateMenu();
}

void GeoWindow::refresh() {
    rebuildTree();
    preview->setShapes(geoShapes());
}

void GeoWindow::updateMenu() {
    const QTreeWidgetItem *item = TreeView1->currentItem();
    const bool root = item && !item->parent();
    for (QAction *a : {menuDelete, menuHide, menuShow, menuShowAll})
        a->setEnabled(root);
}

bool GeoWindow::guarded(const std::function<void()> &operation) {
    try {
        operation();
    } catch (const calc::TooManyHoles &) {
        refresh();
        host_.userIO().error(calc::TooManyHoles::text());
        return false;
    } catch (const ConversionError &e) {
        refresh();
        host_.userIO().error(e.message());
        return false;
    }
    refresh();
    return true;
}

void GeoWindow::insertClick() {
    // After an edit or a deletion the report still holds the old groups: the
    // program is to get what the tree shows.
    if (reportIsStale() && !guarded([this] { recalculate(); }))
        return;
    done(CloseInsert);
}

void GeoWindow::recalculateClick() { guarded([this] { recalculate(); }); }

void GeoWindow::deleteClick() {
    const int i = selectedIndex();
    if (i < 0 || geoTree()[i].depth != 0)
        return;
    const bool autoRecalc = calc::readGeometrySettings().autoRecalc;
    TreeView1->setCurrentItem(nullptr);
    guarded([&] { deleteGroup(i, autoRecalc); });
}

void GeoWindow::editClick() {
    const int i = selectedIndex();
    if (i < 0)
        return;
    const QString text = geoTree()[i].text;
    if (!text.contains(QLatin1Char(':')))
        return;
    QString value = calc::nodeValue(text);
    if (!host_.userIO().inputText(QStringLiteral("Editace"), calc::nodeLabel(text), value))
        return;
    const bool autoRecalc = calc::readGeometrySettings().autoRecalc;
    guarded([&] { editNode(i, value, autoRecalc); });
}

void GeoWindow::setSelectedHidden(bool hidden) {
    const int i = selectedIndex();
    if (i < 0 || geoTree()[i].depth != 0)
        return;
    setGroupHidden(i, hidden);
    preview->setShapes(geoShapes());
}

void GeoWindow::showAllClick() {
    showAll();
    preview->setShapes(geoShapes());
}

void GeoWindow::deleteAllClick() {
    if (!host_.userIO().confirm(languageText(QStringLiteral("Messages"), QStringLiteral("DelAll"))))
        return;
    clearAll();
    refresh();
}

void GeoWindow::openClick() {
    const QString path = host_.userIO().openFileName(setup_.openTitle, filter_, calc::geometryFolder());
    if (path.isEmpty())
        return;
    const LoadResult r = loadTextFile(path);
    if (!r.ok) {
        host_.userIO().error(r.error);
        return;
    }
    setGeoTree(calc::geoTreeFromLines(r.lines));
    rebuildTree();
}

void GeoWindow::saveClick() {
    int chosenFilter = 0;
    const QString chosen = host_.userIO().saveFileName(setup_.saveTitle, filter_, calc::geometryFolder(), &chosenFilter);
    if (chosen.isEmpty())
        return;
    // The first filter entry gives the file its extension; with any other the name is used as typed.
    QString path = chosen;
    const QFileInfo info(chosen);
    if (chosenFilter == 0 && info.suffix().compare(setup_.extension.mid(1), Qt::CaseInsensitive) != 0)
        path = (info.suffix().isEmpty() ? chosen : chosen.chopped(info.suffix().size() + 1)) + setup_.extension;
    // The dialog asked about the name chosen; a file under the changed name was not asked about.
    if (path != chosen && QFileInfo::exists(path) &&
        !host_.userIO().confirm(languageText(QStringLiteral("Messages"), QStringLiteral("Save1")).replace(QLatin1String("%s"), path)))
        return;
    const SaveResult r = saveTextFile(path, calc::geoFileLines(geoTree()));
    if (!r.ok) {
        QString message = r.error;
        if (r.badLine >= 0)
            message = QStringLiteral("%1: line %2 holds a character the file cannot hold").arg(path).arg(r.badLine + 1);
        host_.userIO().error(message);
    }
}

QString GeoWindow::printHeader() const { return languageText(setup_.printSection, setup_.printSection); }

void GeoWindow::printClick() {
    if (reportIsStale() && !guarded([this] { recalculate(); }))
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    const QStringList lines = report();
    const QString header = printHeader();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *p) { printReport(p, header, lines); });
    dialog.exec();
}

void GeoWindow::applyColours() {
    const calc::GeometrySettings g = calc::readGeometrySettings();
    preview->setColours(g.background, g.pitch, g.hole);
}

void GeoWindow::showEvent(QShowEvent *e) {
    applyColours();
    QString error;
    const QString f = geometryFilter(setup_.filterLine, setup_.builtInFilter, &error);
    if (error.isEmpty())
        filter_ = f;
    else // reported once the window is up; the dialogs keep their filter
        QTimer::singleShot(0, this, [this, error] { host_.userIO().error(error); });
    QDialog::showEvent(e);
}

void GeoWindow::changeEvent(QEvent *e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        applyColours();
    QDialog::changeEvent(e);
}

} // namespace velmora
