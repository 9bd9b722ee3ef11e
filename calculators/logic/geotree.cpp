#include "calculators/logic/geotree.h"

#include "common/language.h"

#include <cmath>

namespace velmora::calc {

TooManyHoles::TooManyHoles(int count)
    : ConversionError(QStringLiteral("%1 holes are too many: at most %2 in one group").arg(count).arg(kMaxHoles)) {}

QString TooManyHoles::text() { return languageText(QStringLiteral("Messages"), QStringLiteral("TooManyHoles")); }

int holeCount(const QString &text) {
    const int n = parseInteger(text);
    if (n > kMaxHoles)
        throw TooManyHoles(n);
    return n;
}

QString nodeValue(const QString &text) {
    const qsizetype p = text.indexOf(QLatin1String(": "));
    return p < 0 ? QString() : text.mid(p + 2);
}

QString nodeLabel(const QString &text) {
    const qsizetype p = text.indexOf(QLatin1Char(':'));
    return p < 0 ? text : text.left(p);
}

bool setNodeValue(QString &text, const QString &value) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const qsizetype p = text.indexOf(QLatin1String(": "));
    if (p >= 0)
        text = text.left(p + 2) + value;
    else
        text = text.left(colon + 1) + QLatin1Char(' ') + value;
    return true;
}

int groupNumber(const QString &rootText) {
    int i = 0;
    while (i < rootText.size() && rootText[i].isDigit())
        ++i;
    if (i == 0)
        return -1;
    return rootText.left(i).toInt();
}

int groupEnd(const GeoTree &tree, int root) {
    int i = root + 1;
    while (i < tree.size() && tree[i].depth > tree[root].depth)
        ++i;
    return i;
}

QStringList geoFileLines(const GeoTree &tree) {
    QStringList out;
    for (const GeoNode &n : tree)
        out.append(QString(n.depth, QLatin1Char('\t')) + n.text);
    return out;
}

GeoTree geoTreeFromLines(const QStringList &lines) {
    GeoTree tree;
    int previous = -1;
    for (const QString &line : lines) {
        int skip = 0;
        while (skip < line.size() && (line[skip] == u'\t' || line[skip] == u' '))
            ++skip;
        // a node cannot lie deeper than one below the node before it
        const int depth = qMin(skip, previous + 1);
        tree.append({depth, line.mid(skip)});
        previous = depth;
    }
    return tree;
}

QList<QPointF> circlePolygon(QPointF centre, double radius, int segments) {
    QList<QPointF> pts;
    pts.reserve(segments);
    for (int i = 0; i < segments; ++i) {
        const double a = 2 * M_PI * i / segments;
        pts.append(centre + QPointF(radius * std::cos(a), radius * std::sin(a)));
    }
    return pts;
}

QList<QPointF> arcPoints(QPointF centre, double radius, double a0, double a1, int segments) {
    QList<QPointF> pts;
    for (int i = 0; i <= segments; ++i) {
        const double a = (a0 + (a1 - a0) * i / segments) * M_PI / 180;
        pts.append(centre + QPointF(radius * std::cos(a), radius * std::sin(a)));
    }
    return pts;
}

void GroupCalculator::setGroupHidden(int root, bool hidden) {
    if (root < 0 || root >= tree_.size() || tree_[root].depth != 0)
        return;
    const int number = groupNumber(tree_[root].text);
    for (Shape &s : shapes_)
        if (s.group == number)
            s.hidden = hidden;
}

void GroupCalculator::showAll() {
    for (Shape &s : shapes_)
        s.hidden = false;
}

void GroupCalculator::clearAll() {
    stale_ = false;
    report_.clear();
    tree_.clear();
    shapes_.clear();
}

} // namespace velmora::calc
