#include "calculators/widgets/preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <cmath>

namespace velmora {

QColor toQColor(ColorValue v) { return QColor(colorRed(v), colorGreen(v), colorBlue(v)); }

GeoPreview::GeoPreview(double focalLength, double distance, QWidget *parent)
    : QWidget(parent), background_(toQColor(clSilver)), pitch_(toQColor(clRed)), hole_(toQColor(clBlue)), focal_(focalLength),
      distance_(distance) {
    setMinimumSize(200, 200);
    setAutoFillBackground(false);
}

void GeoPreview::setShapes(const QList<calc::Shape> &shapes) {
    shapes_ = shapes;
    update();
}

void GeoPreview::setColours(ColorValue background, ColorValue pitch, ColorValue hole) {
    background_ = toQColor(background);
    pitch_ = toQColor(pitch);
    hole_ = toQColor(hole);
    update();
}

void GeoPreview::setAxes(bool shown, double length, QChar first, QChar second) {
    axes_ = shown;
    axisLength_ = length;
    axisFirst_ = first;
    axisSecond_ = second;
    update();
}

void GeoPreview::setDistance(double d) {
    if (!(d > 0) || !std::isfinite(d))
        return;
    distance_ = d;
    update();
}

// A perspective camera with a 45 degree field of view looking at the view plane.
double GeoPreview::pixelsPerUnit() const { return (height() / 2.0) / (distance_ * std::tan(22.5 * M_PI / 180)); }

QPointF GeoPreview::toScreen(QPointF p) const {
    const double k = pixelsPerUnit();
    return QPointF(width() / 2.0 + (p.x() - centre_.x()) * k, height() / 2.0 - (p.y() - centre_.y()) * k);
}

void GeoPreview::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const calc::Shape &s : shapes_) {
        if (s.hidden || s.points.size() < 2)
            continue;
        QColor colour = hole_;
        if (s.colour == calc::ShapeColour::Pitch)
            colour = pitch_;
        else if (s.colour == calc::ShapeColour::Marker)
            colour = Qt::red;
        else if (s.colour == calc::ShapeColour::Contour)
            colour = toQColor(clBlue); // a groove is blue whatever the hole colour
        QPen pen(colour, 1);
        if (s.dashed) {
            // the 16-bit stipple 0xEA60, lowest bit first, starting with its first dash
            pen.setDashPattern({2, 2, 1, 1, 1, 1, 3, 5});
        }
        painter.setPen(pen);
        QPolygonF poly;
        for (const QPointF &p : s.points)
            poly << toScreen(p);
        if (s.closed)
            painter.drawPolygon(poly);
        else
            painter.drawPolyline(poly);
    }
    if (axes_) {
        painter.setPen(QPen(Qt::black, 1));
        const QPointF o = toScreen(QPointF(0, 0));
        const QPointF x = toScreen(QPointF(axisLength_, 0));
        const QPointF y = toScreen(QPointF(0, axisLength_));
        painter.drawLine(o, x);
        painter.drawLine(o, y);
        painter.drawLine(x, x + QPointF(-6, -3));
        painter.drawLine(x, x + QPointF(-6, 3));
        painter.drawLine(y, y + QPointF(-3, 6));
        painter.drawLine(y, y + QPointF(3, 6));
        painter.drawText(x + QPointF(4, 4), QString(axisFirst_));
        painter.drawText(y + QPointF(-4, -6), QString(axisSecond_));
    }
}

void GeoPreview::wheelEvent(QWheelEvent *e) {
    setDistance(distance_ * std::pow(1.1, e->angleDelta().y() / 120.0));
    e->accept();
}

void GeoPreview::mousePressEvent(QMouseEvent *e) {
    if (e->buttons() == Qt::LeftButton || e->buttons() == Qt::RightButton) {
        dragging_ = e->button();
        last_ = e->position().toPoint();
        setCursor(dragging_ == Qt::LeftButton ? Qt::SizeVerCursor : Qt::ClosedHandCursor);
    }
}

void GeoPreview::mouseMoveEvent(QMouseEvent *e) {
    const QPoint p = e->position().toPoint();
    if (dragging_ == Qt::LeftButton && e->buttons() == Qt::LeftButton) {
        distance_ = std::clamp(distance_ * (1 - 0.01 * (last_.y() - p.y())), 1.0, 500.0);
        update();
    } else if (dragging_ == Qt::RightButton && e->buttons() == Qt::RightButton) {
        const double k = distance_ * 0.12 / focal_;
        centre_ += QPointF(-(p.x() - last_.x()) * k, (p.y() - last_.y()) * k);
        update();
    }
    last_ = p;
}

void GeoPreview::mouseReleaseEvent(QMouseEvent *) {
    dragging_ = Qt::NoButton;
    unsetCursor();
}

} // namespace velmora
