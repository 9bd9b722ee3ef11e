#pragma once
// The flat preview of the circle, line and groove calculators: shapes in view
// units seen by a camera at a distance from the view centre. The wheel and the
// left button zoom, the right button pans.
#include "calculators/logic/geotree.h"
#include "common/colour.h"

#include <QPointF>
#include <QWidget>

namespace velmora {

class GeoPreview : public QWidget {
    Q_OBJECT
public:
    // `focalLength` scales panning; `distance` is the camera's start distance.
    GeoPreview(double focalLength, double distance, QWidget *parent = nullptr);

    void setShapes(const QList<calc::Shape> &shapes);
    const QList<calc::Shape> &shapes() const { return shapes_; }

    void setColours(ColorValue background, ColorValue pitch, ColorValue hole);
    void setAxes(bool shown, double length, QChar first, QChar second);
    bool axesShown() const { return axes_; }
    QChar firstAxisLetter() const { return axisFirst_; }
    QChar secondAxisLetter() const { return axisSecond_; }

    double distance() const { return distance_; }
    void setDistance(double d);
    QPointF viewCentre() const { return centre_; }
    void zoomIn() { setDistance(distance_ / 1.1); }
    void zoomOut() { setDistance(distance_ * 1.1); }

    // Screen position of a point in view units.
    QPointF toScreen(QPointF p) const;

protected:
    void paintEvent(QPaintEvent *) override;
    void wheelEvent(QWheelEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    double pixelsPerUnit() const;
    QList<calc::Shape> shapes_;
    QColor background_, pitch_, hole_;
    bool axes_ = true;
    double axisLength_ = 1;
    QChar axisFirst_ = u'X', axisSecond_ = u'Y';
    double focal_;
    double distance_;
    QPointF centre_;
    QPoint last_;
    Qt::MouseButton dragging_ = Qt::NoButton;
};

// A ColorValue (0x00BBGGRR) as a QColor.
QColor toQColor(ColorValue v);

} // namespace velmora
