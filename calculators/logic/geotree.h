#pragma once
// The group tree of the circle, line and groove calculators, kept as a flat
// list of nodes in tree order, and the shapes their previews draw.
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include "common/numbers.h"

namespace velmora::calc {

// The most holes one group may have: more would exhaust the memory of the
// preview long before anyone could drill them.
constexpr int kMaxHoles = 10000;
class TooManyHoles : public ConversionError {
public:
    explicit TooManyHoles(int count);
    static QString text(); // the message shown: "TooManyHoles" of section "Messages"
};
// The hole count of a field: throws ConversionError for no whole number and
// TooManyHoles above kMaxHoles.
int holeCount(const QString &text);

struct GeoNode {
    int depth = 0;      // 0 for a group's root, 1 for its children
    QString text;
    bool operator==(const GeoNode &o) const { return depth == o.depth && text == o.text; }
};
using GeoTree = QList<GeoNode>;

// The value of a node: the text after its first ": " (empty when it has none).
QString nodeValue(const QString &text);
// The label of a node: the text up to its first ":".
QString nodeLabel(const QString &text);
// Replaces the value part of a node text; false when the text holds no ":".
bool setNodeValue(QString &text, const QString &value);
// The group number at the start of a root text ("11- ..." gives 11), -1 when none.
int groupNumber(const QString &rootText);

// Index range [first, last) of the group whose root is at `root`.
int groupEnd(const GeoTree &tree, int root);

// Geometry files (.kge, .pge): one line per node, a child's text after one TAB.
QStringList geoFileLines(const GeoTree &tree);
// Leading TABs or spaces give the node's depth.
GeoTree geoTreeFromLines(const QStringList &lines);

// One drawn object of a preview, in view units.
enum class ShapeColour { Pitch, Hole, Contour, Marker };
struct Shape {
    int number = 0;       // drawing counter value
    int group = 0;        // the group number it belongs to
    QList<QPointF> points;
    bool closed = false;
    bool dashed = false;
    bool hidden = false;
    ShapeColour colour = ShapeColour::Hole;
};

// The state the hole calculators share: the tree of groups, the report and the drawing.
class GroupCalculator {
public:
    void setGroupHidden(int root, bool hidden);
    void showAll();
    void clearAll();               // "Vše smazat": report, tree and drawing
    void setTree(const GeoTree &tree) { tree_ = tree; stale_ = true; }  // a loaded geometry file
    // True after an edit, a deletion or a loaded file left the report behind the
    // tree; a recalculation brings them together again. The windows recalculate
    // before they insert or print, so that the program gets the groups the tree shows.
    bool reportIsStale() const { return stale_; }

    const GeoTree &tree() const { return tree_; }
    const QStringList &report() const { return report_; }
    const QList<Shape> &shapes() const { return shapes_; }

protected:
    bool stale_ = false;
    GeoTree tree_;
    QStringList report_;
    QList<Shape> shapes_;
};

// A circle as a closed polygon of `segments` sides.
QList<QPointF> circlePolygon(QPointF centre, double radius, int segments);
// An arc from angle a0 to a1 (degrees) as `segments` pieces.
QList<QPointF> arcPoints(QPointF centre, double radius, double a0, double a1, int segments);

} // namespace velmora::calc
