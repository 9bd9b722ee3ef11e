#pragma once
// What the circle and line calculators share: the group tree with its pop-up
// menu, the preview with its toolbar, geometry files and the printed report.
#include "calculators/logic/geotree.h"

#include <QDialog>
#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {

class GeoPreview;
class Host;

struct GeoWindowSetup {
    QString objectName, caption;
    // SBOpen, SBSave, SBZoomUp, SBZoomDown, SBHideCircle, SBShowCircle, SBShowAllCircle or their counterparts
    QStringList toolNames;
    QString openTitle, saveTitle;
    int filterLine = 0;        // 0-based line of pripony.ext
    QString builtInFilter;     // "Description|*.ext|..."
    QString extension;         // ".kge", ".pge"
    QString printSection;      // language section and key of the print header
    double focalLength = 70;
    double distance = 3;
    bool editRootsOnDoubleClick = false;
};

class GeoWindow : public QDialog {
    Q_OBJECT
public:
    GeoWindow(Host &host, GeoWindowSetup setup, QWidget *parent);

    QTreeWidget *TreeView1 = nullptr;
    GeoPreview *preview = nullptr;
    QToolBar *toolbar = nullptr;
    QMenu *treeMenu = nullptr;
    QAction *menuDelete = nullptr, *menuEdit = nullptr, *menuHide = nullptr, *menuShow = nullptr, *menuShowAll = nullptr,
            *menuRecalc = nullptr;
    QToolButton *tool(int i) const { return tools_.value(i); }

    // The flat tree index of the selected node, -1 when none.
    int selectedIndex() const;
    void selectIndex(int index);

    void recalculateClick();
    void deleteClick();
    void editClick();
    void setSelectedHidden(bool hidden);
    void showAllClick();
    void deleteAllClick();
    void openClick();
    void saveClick();
    void printClick();
    // "Vložit do programu": brings a stale report up to the tree first; a value
    // of the tree that is no number keeps the window open with its message.
    void insertClick();
    // The report as printed, with its header text.
    QString printHeader() const;

protected:
    virtual const calc::GeoTree &geoTree() const = 0;
    virtual void setGeoTree(const calc::GeoTree &tree) = 0;
    virtual const QList<calc::Shape> &geoShapes() const = 0;
    virtual QStringList report() const = 0;
    virtual void recalculate() = 0;
    virtual void deleteGroup(int root, bool autoRecalc) = 0;
    virtual bool editNode(int index, const QString &value, bool autoRecalc) = 0;
    virtual void setGroupHidden(int root, bool hidden) = 0;
    virtual void showAll() = 0;
    virtual void clearAll() = 0;
    virtual bool reportIsStale() const = 0;

    // Runs an operation on the model; a conversion error shows its message.
    // The tree and the preview show the model afterwards in either case.
    bool guarded(const std::function<void()> &operation); // false after an error
    void refresh();
    // The right-hand panel of fields and buttons.
    void setInputPanel(QWidget *panel);

    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;

    Host &host_;

private:
    void applyColours();
    void updateMenu();
    void rebuildTree();
    GeoWindowSetup setup_;
    QList<QToolButton *> tools_;
    QString filter_;
};

} // namespace velmora
