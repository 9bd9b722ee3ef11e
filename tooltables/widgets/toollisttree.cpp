#include "tooltables/widgets/toollisttree.h"

#include "common/textfile.h"
#include "tooltables/widgets/lineprinter.h"
#include "tooltables/widgets/tablepanel.h"

#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace velmora {

namespace {

// Head changes ("HLAVA") stand out in red, bold and italic unless selected.
class HeadDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.parent().isValid() && option->text.contains(QLatin1String("HLAVA")) &&
            !(option->state & QStyle::State_Selected)) {
            option->font.setBold(true);
            option->font.setItalic(true);
            option->palette.setColor(QPalette::Text, Qt::red);
        }
    }
};

void collect(const QTreeWidgetItem *item, int level, QList<ToolListItem> &out) {
    out.append({level, item->text(0)});
    for (int i = 0; i < item->childCount(); ++i)
        collect(item->child(i), level + 1, out);
}

QTreeWidgetItem *newItem(const QString &text) {
    auto *item = new QTreeWidgetItem(QStringList{text});
    item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    return item;
}

} // namespace

ToolListTree::ToolListTree(QWidget *parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("TreeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction); // dragging a node onto a table never removes it
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setFont(courierFont(font().pointSizeF(), false));
    setItemDelegate(new HeadDelegate(this));
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenuTree"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { menu_->popup(viewport()->mapToGlobal(p)); });
}

void ToolListTree::addListing(const ToolListing &listing) {
    QTreeWidgetItem *top = newItem(listing.top);
    addTopLevelItem(top);
    for (const QString &c : listing.children)
        top->addChild(newItem(c));
    top->setExpanded(true);
}

QList<ToolListItem> ToolListTree::items() const {
    QList<ToolListItem> out;
    for (int i = 0; i < topLevelItemCount(); ++i)
        collect(topLevelItem(i), 0, out);
    return out;
}

QStringList ToolListTree::nodeTexts() const {
    QStringList out;
    for (const ToolListItem &i : items())
        out << i.text;
    return out;
}

void ToolListTree::setItems(const QList<ToolListItem> &list) {
    clear();
    QList<QTreeWidgetItem *> parents; // the last item of each level
    for (const ToolListItem &i : list) {
        QTreeWidgetItem *item = newItem(i.text);
        parents.resize(i.level);
        if (i.level == 0)
            addTopLevelItem(item);
        else
            parents[i.level - 1]->addChild(item);
        parents.append(item);
    }
    expandAll();
}

bool ToolListTree::loadFromFile(const QString &path, QString *error) {
    const LoadResult r = loadTextFile(path);
    if (!r.ok) {
        *error = r.error;
        return false;
    }
    QList<ToolListItem> list;
    if (!parseToolListFile(r.lines, list, error))
        return false;
    setItems(list);
    return true;
}

bool ToolListTree::saveToFile(const QString &path, QString *error) const {
    const SaveResult r = saveTextFile(path, toolListFileLines(items()));
    if (!r.ok)
        *error = r.error;
    return r.ok;
}

void ToolListTree::insertBeforeSelected(const QString &text) {
    QTreeWidgetItem *at = currentItem();
    QTreeWidgetItem *item = newItem(text);
    if (!at) {
        addTopLevelItem(item);
    } else if (QTreeWidgetItem *parent = at->parent()) {
        parent->insertChild(parent->indexOfChild(at), item);
    } else {
        insertTopLevelItem(indexOfTopLevelItem(at), item);
    }
    setCurrentItem(item);
}

void ToolListTree::deleteSelected() {
    // The last selected first; selected nodes below it go with it.
    QList<QTreeWidgetItem *> selected = selectedItems();
    while (!selected.isEmpty()) {
        QTreeWidgetItem *item = selected.takeLast();
        selected.removeIf([item](QTreeWidgetItem *s) {
            for (QTreeWidgetItem *p = s->parent(); p; p = p->parent())
                if (p == item)
                    return true;
            return false;
        });
        delete item;
    }
}

void ToolListTree::editSelected() {
    if (QTreeWidgetItem *item = currentItem())
        editItem(item, 0);
}

QStringList ToolListTree::mimeTypes() const { return {QLatin1String(kToolNodeMime), QStringLiteral("text/plain")}; }

QMimeData *ToolListTree::mimeData(const QList<QTreeWidgetItem *> &items) const {
    QTreeWidgetItem *item = currentItem();
    if (!item && !items.isEmpty())
        item = items.first();
    if (!item)
        return nullptr;
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(kToolNodeMime), item->text(0).toUtf8());
    mime->setText(item->text(0));
    return mime;
}

} // namespace velmora
