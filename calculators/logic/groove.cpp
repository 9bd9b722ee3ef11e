#include "calculators/logic/groove.h"

#include "common/numbers.h"

#include <cmath>

namespace velmora::calc {

GrooveGeometry grooveGeometry(const GrooveInput &in) {
    GrooveGeometry g;
    const double x0 = parseFloat(in.x0);
    const double y0 = parseFloat(in.y0);
    const double length = parseFloat(in.length);
    const double width = parseFloat(in.width);
    double alpha = parseFloat(in.angle);
    // The NC words fit: every point lies within the length and half the width
    // of the start; the field that makes a word too large is named.
    const double reach = std::fabs(length) + std::fabs(width) / 2;
    const QString &reachText = std::fabs(length) >= std::fabs(width) / 2 ? in.length : in.width;
    requireNcWord(std::fabs(x0) + reach, std::fabs(x0) >= reach ? in.x0 : reachText);
    requireNcWord(std::fabs(y0) + reach, std::fabs(y0) >= reach ? in.y0 : reachText);
    requireNcWord(alpha, in.angle);
    g.alphaText = in.angle;
    if (alpha < 0) {
        alpha += 360;
        g.alphaText = formatGeneral(alpha);
    }
    g.alpha = alpha;
    g.radius = width / 2;
    const double rad = alpha * M_PI / 180;
    const double e = roundDecimal(width / 2 * std::sin(rad), 3);
    const double v = roundDecimal(width / 2 * std::cos(rad), 3);
    const double x1 = roundDecimal(x0 + length * std::cos(rad), 3);
    const double y1 = roundDecimal(y0 + length * std::sin(rad), 3);
    const double s = std::fabs(e), t = std::fabs(v);
    const bool a = alpha > 180;
    const bool b = alpha <= 90 || alpha >= 270;
    auto pt = [](double x, double y) { return QPointF(roundNoise(x), roundNoise(y)); };
    g.c0 = QPointF(x0, y0);
    g.c1 = QPointF(x1, y1);
    g.p1 = pt(a ? x1 - s : x1 + s, b ? y1 - t : y1 + t);
    g.p2 = pt(a ? x1 + s : x1 - s, b ? y1 + t : y1 - t);
    g.p3 = pt(a ? x0 + s : x0 - s, b ? y0 + t : y0 - t);
    g.p4 = pt(a ? x0 - s : x0 + s, b ? y0 - t : y0 + t);
    return g;
}

namespace {

// NC words carry no exponent, whatever the size of the number.
QString num(double v) { return withoutExponent(formatGeneral(roundNoise(v))); }

QString move(const QString &start, QPointF q) { return start + num(q.x()) + QStringLiteral(" Y") + num(q.y()); }

} // namespace

QStringList grooveText(const GrooveInput &in) { return grooveText(in, grooveGeometry(in)); }

QStringList grooveText(const GrooveInput &in, const GrooveGeometry &g) {
    QStringList out;
    out << QStringLiteral("(") + QStringLiteral("*").repeated(45) + QStringLiteral(")");
    out << QStringLiteral("( X: ") + in.x0 + QStringLiteral("; Y: ") + in.y0 + QStringLiteral("; Uhel: ") + g.alphaText
               + QStringLiteral(" )");
    const bool absolute = in.centres == 1;
    auto arc = [&](const QString &start, QPointF end, QPointF m, QPointF s) {
        const QPointF ij = absolute ? m : QPointF(m.x() - s.x(), m.y() - s.y());
        return move(start, end) + QStringLiteral(" I") + num(ij.x()) + QStringLiteral(" J") + num(ij.y());
    };
    const QString G0 = QStringLiteral("N1 G0 X"), Z2 = QStringLiteral("N1 Z2."), Z3 = QStringLiteral("N1 G1 Z-3. F100");
    const QString G1 = QStringLiteral("N1 G1 X"), X = QStringLiteral("N1 X"), G40 = QStringLiteral("N1 G1 G40 X");
    const QString &ap = in.approach;
    if (in.direction == 0) {
        const QString G3 = QStringLiteral("N1 G3 X");
        if (ap == QLatin1String("1"))
            out << move(G0, g.c1) << Z2 << Z3 << move(QStringLiteral("N1 G1 G41 X"), g.p1) << arc(G3, g.p2, g.c1, g.p1)
                << move(G1, g.p3) << arc(G3, g.p4, g.c0, g.p3) << move(G1, g.p1) << move(G40, g.c1);
        else if (ap == QLatin1String("2"))
            out << move(G0, g.c1) << Z2 << Z3 << move(QStringLiteral("N1 G1 G41 X"), g.p2) << move(X, g.p3)
                << arc(G3, g.p4, g.c0, g.p3) << move(G1, g.p1) << arc(G3, g.p2, g.c1, g.p1) << move(G40, g.c1);
        else if (ap == QLatin1String("3"))
            out << move(G0, g.c0) << Z2 << Z3 << move(QStringLiteral("N1 G1 G41 X"), g.p3) << arc(G3, g.p4, g.c0, g.p3)
                << move(G1, g.p1) << arc(G3, g.p2, g.c1, g.p1) << move(G1, g.p3) << move(G40, g.c0);
        else if (ap == QLatin1String("4"))
            out << move(G0, g.c0) << Z2 << Z3 << move(QStringLiteral("N1 G41 X"), g.p4) << move(X, g.p1)
                << arc(G3, g.p2, g.c1, g.p1) << move(G1, g.p3) << arc(G3, g.p4, g.c0, g.p3) << move(G40, g.c0);
    } else if (in.direction == 1) {
        const QString G2 = QStringLiteral("N1 G2 X"), G42 = QStringLiteral("N1 G42 X");
        if (ap == QLatin1String("1"))
            out << move(G0, g.c1) << Z2 << Z3 << move(G42, g.p1) << move(G1, g.p4) << arc(G2, g.p3, g.c0, g.p4)
                << move(G1, g.p2) << arc(G2, g.p1, g.c1, g.p2) << move(G40, g.c0);
        else if (ap == QLatin1String("2"))
            out << move(G0, g.c1) << Z2 << Z3 << move(G42, g.p2) << arc(G2, g.p1, g.c1, g.p2) << move(G1, g.p4)
                << arc(G2, g.p3, g.c0, g.p4) << move(G1, g.p2) << move(G40, g.c0);
        else if (ap == QLatin1String("3"))
            out << move(G0, g.c0) << Z2 << Z3 << move(G42, g.p3) << move(X, g.p2) << arc(G2, g.p1, g.c1, g.p2)
                << move(G1, g.p4) << arc(G2, g.p3, g.c0, g.p4) << move(G40, g.c0);
        else if (ap == QLatin1String("4"))
            out << move(G0, g.c0) << Z2 << Z3 << move(G42, g.p4) << arc(G2, g.p3, g.c0, g.p4) << move(G1, g.p2)
                << arc(G2, g.p1, g.c1, g.p2) << move(G1, g.p4) << move(QStringLiteral("N1 G40 X"), g.c0)
                << QStringLiteral("N1 G0 Z2.");
    }
    return out;
}

QString grooveNcLine(const QString &line) {
    QString s = line;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    for (QChar letter : {u'X', u'Y', u'Z', u'I', u'J'}) {
        const qsizetype p = s.indexOf(letter);
        if (p < 0)
            continue;
        const QString number = NumberAfter(s, int(p + 1));
        if (!number.isEmpty() && !number.contains(QLatin1Char('.')))
            s.insert(p + 1 + number.size(), QLatin1Char('.'));
    }
    return s;
}

QStringList grooveNcLines(const QStringList &lines) {
    QStringList out;
    out.reserve(lines.size());
    for (const QString &l : lines)
        out << grooveNcLine(l);
    return out;
}

GrooveCaptions GrooveCaptions::czech() {
    GrooveCaptions c;
    c.root = QStringLiteral("Drážky");
    c.x = QStringLiteral("Poloha X");
    c.y = QStringLiteral("Poloha Y");
    c.length = QStringLiteral("Délka drážky");
    c.width = QStringLiteral("Šířka drážky");
    c.angle = QStringLiteral("Úhel");
    c.approach = QStringLiteral("Nájezdový bod");
    c.direction = QStringLiteral("Směr");
    c.centres = QStringLiteral("Paremetry");
    return c;
}

GeoTree grooveGroup(const GrooveInput &in, const GrooveCaptions &c) {
    const QString sep = QStringLiteral(" : ");
    return GeoTree{{0, c.root},
                   {1, c.x + sep + in.x0},
                   {1, c.y + sep + in.y0},
                   {1, c.length + sep + in.length},
                   {1, c.width + sep + in.width},
                   {1, c.angle + sep + in.angle},
                   {1, c.approach + sep + in.approach},
                   {1, c.direction + sep + QString::number(in.direction)},
                   {1, c.centres + sep + QString::number(in.centres)}};
}

QList<int> grooveRoots(const GeoTree &tree) {
    QList<int> roots;
    for (int i = 0; i < tree.size(); ++i)
        if (tree[i].depth == 0 && groupEnd(tree, i) - i - 1 >= 8)
            roots << i;
    return roots;
}

GrooveInput grooveFromTree(const GeoTree &tree, int i) {
    GrooveInput in;
    in.x0 = nodeValue(tree[i + 1].text);
    in.y0 = nodeValue(tree[i + 2].text);
    in.length = nodeValue(tree[i + 3].text);
    in.width = nodeValue(tree[i + 4].text);
    in.angle = nodeValue(tree[i + 5].text);
    in.approach = nodeValue(tree[i + 6].text);
    in.direction = parseInteger(nodeValue(tree[i + 7].text));
    in.centres = parseInteger(nodeValue(tree[i + 8].text));
    return in;
}

QList<GrooveInput> groovesFromTree(const GeoTree &tree) {
    QList<GrooveInput> out;
    for (int root : grooveRoots(tree))
        out << grooveFromTree(tree, root);
    return out;
}

QList<Shape> grooveShapes(const GrooveInput &in, const GrooveGeometry &g) {
    QList<Shape> shapes;
    auto add = [&](QList<QPointF> pts, ShapeColour colour, bool closed) {
        Shape s;
        s.points = std::move(pts);
        s.colour = colour;
        s.closed = closed;
        shapes << s;
    };
    add({g.p4, g.p1}, ShapeColour::Contour, false);
    add({g.p2, g.p3}, ShapeColour::Contour, false);
    add(arcPoints(g.c0, g.radius, g.alpha + 90, g.alpha + 270, 20), ShapeColour::Contour, false);
    add(arcPoints(g.c1, g.radius, g.alpha - 90, g.alpha + 90, 20), ShapeColour::Contour, false);
    const QPointF marks[] = {g.p1, g.p2, g.p3, g.p4};
    const int ap = in.approach.toInt();
    if (ap >= 1 && ap <= 4)
        add(circlePolygon(marks[ap - 1], 1, 20), ShapeColour::Marker, true);
    return shapes;
}

} // namespace velmora::calc
