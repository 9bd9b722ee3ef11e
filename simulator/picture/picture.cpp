#include "simulator/picture/picture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace velmora::sim {

namespace {

QColor qcolour(ColorValue v) {
    const ColorValue c = plainColour(v);
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

class Projector {
public:
    Projector(const Camera &camera, QSize size) : camera_(camera), w_(size.width()), h_(size.height()) {}
    bool operator()(const Vec3 &p, QPointF &out) const {
        double x, y;
        if (!camera_.project(p, w_, h_, x, y) || std::fabs(x) > 1e6 || std::fabs(y) > 1e6)
            return false;
        out = QPointF(x, y);
        return true;
    }

private:
    const Camera &camera_;
    int w_, h_;
};

void line(QPainter &p, const Projector &proj, Vec3 a, Vec3 b) {
    QPointF pa, pb;
    if (proj(a, pa) && proj(b, pb))
        p.drawLine(pa, pb);
}

} // namespace

Vec3 viewPoint(const Point3f &p, float rotationDegrees) {
    if (rotationDegrees == 0)
        return {p.x, p.y, p.z};
    const double a = double(rotationDegrees) * 3.14159265358979323846 / 180;
    const double c = std::cos(a), s = std::sin(a);
    return {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

QImage drawScene(const Simulation &sim, const Camera &camera, QSize size, ColorValue background) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(qcolour(background));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const Projector proj(camera, size);

    // Axis arrows: X red, Y green, Z blue, 10 long with a head of 1.5.
    const struct {
        Vec3 dir;
        QColor colour;
    } axes[3] = {{{1, 0, 0}, Qt::red}, {{0, 1, 0}, Qt::green}, {{0, 0, 1}, Qt::blue}};
    for (const auto &a : axes) {
        p.setPen(QPen(a.colour, 3));
        line(p, proj, {0, 0, 0}, {a.dir.x * 8.5, a.dir.y * 8.5, a.dir.z * 8.5});
        p.setPen(QPen(a.colour, 1.5));
        const Vec3 tip{a.dir.x * 10, a.dir.y * 10, a.dir.z * 10};
        const Vec3 side1 = a.dir.x ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
        const Vec3 side2 = a.dir.z ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
        for (const Vec3 &s : {side1, side2})
            for (const double sign : {-1.0, 1.0})
                line(p, proj, tip,
                     {a.dir.x * 8.5 + sign * s.x, a.dir.y * 8.5 + sign * s.y, a.dir.z * 8.5 + sign * s.z});
    }

    // The target: a wire cube of edge 1.
    const Vec3 t = camera.target();
    p.setPen(QPen(Qt::black, 1));
    for (int e = 0; e < 12; ++e) {
        const int axis = e / 4, k = e % 4;
        Vec3 a{t.x - 0.5, t.y - 0.5, t.z - 0.5};
        double *ca[3] = {&a.x, &a.y, &a.z};
        *ca[(axis + 1) % 3] += (k & 1) ? 1 : 0;
        *ca[(axis + 2) % 3] += (k & 2) ? 1 : 0;
        Vec3 b = a;
        double *cb[3] = {&b.x, &b.y, &b.z};
        *cb[axis] += 1;
        line(p, proj, a, b);
    }

    // The workpiece box, edges only.
    if (const auto &box = sim.box()) {
        p.setPen(QPen(Qt::black, 1));
        for (int e = 0; e < 12; ++e) {
            const int axis = e / 4, k = e % 4;
            double a[3] = {box->min[0], box->min[1], box->min[2]};
            a[(axis + 1) % 3] = (k & 1) ? box->max[(axis + 1) % 3] : box->min[(axis + 1) % 3];
            a[(axis + 2) % 3] = (k & 2) ? box->max[(axis + 2) % 3] : box->min[(axis + 2) % 3];
            double b[3] = {a[0], a[1], a[2]};
            b[axis] = box->max[axis];
            line(p, proj, {a[0], a[1], a[2]}, {b[0], b[1], b[2]});
        }
    }

    // The segments, each an open polyline in its colour.
    const SegmentStore &segs = sim.segments();
    p.setRenderHint(QPainter::Antialiasing, false);
    ColorValue pen = 0xFFFFFFFFu;
    QPainterPath path;
    for (size_t i = 0; i < segs.size(); ++i) {
        const Segment &s = segs[i];
        if (!s.visible)
            continue;
        if (s.colour != pen) {
            pen = s.colour;
            p.setPen(QPen(qcolour(pen), 1));
        }
        const Point3f *pts = segs.points(s);
        QPointF prev;
        bool have = proj(viewPoint(pts[0], s.rotation), prev);
        for (int k = 1; k < s.count; ++k) {
            QPointF cur;
            const bool ok = proj(viewPoint(pts[k], s.rotation), cur);
            if (have && ok)
                p.drawLine(prev, cur);
            prev = cur;
            have = ok;
        }
    }
    return image;
}

} // namespace velmora::sim
