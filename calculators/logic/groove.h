#pragma once
// Straight grooves with rounded ends: contour geometry, the milling block
// sequences, the NC form of the written lines and the groove tree.
#include "calculators/logic/geotree.h"

#include <QPointF>
#include <QString>
#include <QStringList>

namespace velmora::calc {

struct GrooveInput {
    QString x0 = QStringLiteral("0");
    QString y0 = QStringLiteral("0");
    QString length = QStringLiteral("25");
    QString width = QStringLiteral("14");
    QString angle = QStringLiteral("0");
    QString approach = QStringLiteral("2"); // "1" to "4"
    int direction = 0;                      // 0 climb, 1 conventional
    int centres = 0;                        // 0 relative I/J, 1 absolute
};

struct GrooveGeometry {
    double alpha = 0;       // degrees, 0 <= alpha for negative input (360 added once)
    QString alphaText;      // as typed, or the sum when 360 was added
    double radius = 0;      // W / 2
    QPointF c0, c1, p1, p2, p3, p4;
};

// Throws ConversionError for a field that holds no number.
GrooveGeometry grooveGeometry(const GrooveInput &in);

// The lines appended to the window's text for one groove: the separator, the
// comment and the block sequence of the direction and approach point.
QStringList grooveText(const GrooveInput &in);
QStringList grooveText(const GrooveInput &in, const GrooveGeometry &g);

// NC form of a written line: "," becomes "."; the numbers after the first
// X, Y, Z, I and J get a "." when they have none.
QString grooveNcLine(const QString &line);
QStringList grooveNcLines(const QStringList &lines);

// The groove's tree group: the root text and the captions of the eight labels.
struct GrooveCaptions {
    QString root;    // text of key FDrazka
    QString x, y, length, width, angle, approach, direction, centres;
    static GrooveCaptions czech();
};
GeoTree grooveGroup(const GrooveInput &in, const GrooveCaptions &captions);
// The roots of the tree's complete groove groups (a root and eight children).
QList<int> grooveRoots(const GeoTree &tree);
// The groove of the group whose root is at `root`; throws ConversionError for
// a direction or centre form that is no whole number.
GrooveInput grooveFromTree(const GeoTree &tree, int root);
// Every groove of a tree, in order.
QList<GrooveInput> groovesFromTree(const GeoTree &tree);

// Preview of one groove at real size: the two sides and the two arcs, and the
// approach point's marker (a circle of radius 1).
QList<Shape> grooveShapes(const GrooveInput &in, const GrooveGeometry &g);

} // namespace velmora::calc
