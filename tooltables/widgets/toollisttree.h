#pragma once
// The tool list tree "TreeView" on the source panel page "Výpis nástrojů":
// the listings of programs, editable, saved to and loaded from tool list files,
// and dragged onto the tool table panels.
#include "tooltables/logic/toollists.h"

#include <QTreeWidget>

class QMenu;

namespace velmora {

class ToolListTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ToolListTree(QWidget *parent = nullptr);

    void addListing(const ToolListing &listing);
    // Every node in tree order with its level.
    QList<ToolListItem> items() const;
    QStringList nodeTexts() const;
    // Replaces the tree.
    void setItems(const QList<ToolListItem> &items);

    // Tool list files. Loading replaces the tree only when the whole file is good.
    bool loadFromFile(const QString &path, QString *error);
    bool saveToFile(const QString &path, QString *error) const;

    // Context menu commands.
    void insertBeforeSelected(const QString &text);
    void deleteSelected();
    void editSelected();

    QMenu *contextMenu() const { return menu_; }

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

private:
    QMenu *menu_ = nullptr;
};

} // namespace velmora
