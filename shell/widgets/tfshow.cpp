#include "shell/widgets/tfshow.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>

namespace velmora {

QPixmap velmoraPicture(const QSize &size) {
    QPixmap pm(size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    // The part.
    QLinearGradient g(0, h * 0.55, 0, h);
    g.setColorAt(0, QColor(176, 190, 204));
    g.setColorAt(1, QColor(110, 126, 142));
    p.setBrush(g);
    p.setPen(QPen(QColor(70, 80, 95), 1.5));
    p.drawRect(QRectF(w * 0.08, h * 0.62, w * 0.84, h * 0.30));
    // The tool path.
    QPainterPath path;
    path.moveTo(w * 0.14, h * 0.62);
    path.lineTo(w * 0.30, h * 0.62);
    path.arcTo(QRectF(w * 0.30, h * 0.50, w * 0.24, h * 0.24), 180, 180);
    path.lineTo(w * 0.86, h * 0.62);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 90, 200), 2.5, Qt::DashLine));
    p.drawPath(path);
    // The cutter.
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(210, 210, 210));
    p.drawRect(QRectF(w * 0.64, h * 0.10, w * 0.06, h * 0.30));
    p.setBrush(QColor(230, 170, 40));
    p.drawRect(QRectF(w * 0.655, h * 0.40, w * 0.03, h * 0.20));
    return pm;
}

TFShow::TFShow(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFShow"));
    setFixedSize(489, 295);
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 20);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setGeometry(10, 295 - 24, 489 - 20, 14);
    bar_->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; }"
                                       "QProgressBar::chunk { background: blue; }"));
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TFShow::step() { bar_->setValue(qMin(bar_->maximum(), bar_->value() + 1)); }
int TFShow::position() const { return bar_->value(); }
int TFShow::maximum() const { return bar_->maximum(); }
void TFShow::setMaximum(int maximum) { bar_->setMaximum(qMax(1, maximum)); }

void TFShow::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawPixmap(10, 10, velmoraPicture(QSize(469, 220)));
    QFont f = font();
    f.setPointSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 40, 120));
    p.drawText(QRect(20, 16, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora"));
    f.setPointSize(10);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(20, 236, 449, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("verze :1.4.5"));
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFShow::mousePressEvent(QMouseEvent *) { close(); }

} // namespace velmora
