#pragma once
// The splash window shown while the program starts.
#include <QWidget>

class QProgressBar;

namespace velmora {

class TFShow : public QWidget {
    Q_OBJECT
public:
    explicit TFShow(QWidget *parent = nullptr);
    void step();
    int position() const;
    int maximum() const;
    void setMaximum(int maximum);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QProgressBar *bar_;
};

// The program's picture: a milling cutter over a part with its tool path.
QPixmap velmoraPicture(const QSize &size);

} // namespace velmora
