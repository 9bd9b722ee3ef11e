#pragma once
// The 3-D view of the tool path (OpenGL 2.1 compatibility profile, the fixed
// pipeline): background, target cube, axis arrows, the "P" and "K" labels, the
// workpiece box and the segments. Segments are drawn straight from the engine's
// point chunks as vertex arrays, one glMultiDrawArrays per chunk, colour and
// rotation; the batches are rebuilt only when segments or their visibility
// change. While the view moves, a reduced path is drawn (points merged on a grid
// finer than a pixel, repeated edges once); at rest, the whole path.
#include "common/colour.h"
#include "simulator/logic/camera.h"
#include "simulator/logic/interpreter.h"

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class QOpenGLFunctions_2_1;

namespace velmora::sim {

class PathLod;

class PathView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit PathView(QWidget *parent = nullptr);
    ~PathView() override;

    void setSimulation(const Simulation *sim);
    Camera &camera() { return camera_; }
    void setBackground(ColorValue colour);
    ColorValue background() const { return background_; }
    // The "P" and "K" labels at a picked segment's ends.
    void showLabels(Vec3 start, Vec3 end);
    void hideLabels();
    // Segments were added, removed, shown, hidden or recoloured.
    void pathChanged();
    void cameraChanged();

    // The segment nearest to a point of the view within `tolerance` pixels; -1 for none.
    long segmentAt(QPoint pos, double tolerance = 5) const;
    // Frames drawn so far and whether the last one used the reduced path.
    qint64 framesDrawn() const { return frames_; }
    bool lastFrameReduced() const { return lastReduced_; }
    // The reduced path is ready for the present segments.
    bool reducedReady() const;
    // Draws the view into an image (the picture of "Uložit obrázek" and "Tisk").
    QImage picture();

    // Keys and mouse act on the camera as the window's commands do.
    void zoomIn();
    void zoomOut();

signals:
    // A mouse button was released over the view (picking).
    void released(QPoint pos);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    struct Batch {
        size_t chunk;
        ColorValue colour;
        float rotation;
        std::vector<int> first;
        std::vector<int> count;
    };
    void rebuildBatches();
    void drawScene(bool reduced);
    void moving();
    void setMatrices();

    QOpenGLFunctions_2_1 *gl_ = nullptr;
    const Simulation *sim_ = nullptr;
    Camera camera_;
    ColorValue background_ = clGray;
    std::optional<std::pair<Vec3, Vec3>> labels_;
    std::vector<Batch> batches_;
    uint64_t batchRevision_ = ~uint64_t(0);
    std::unique_ptr<PathLod> lod_;
    QTimer lodTimer_, restTimer_;
    bool moving_ = false;
    bool lastReduced_ = false;
    qint64 frames_ = 0;
    QPoint lastMouse_;
    Qt::MouseButtons buttons_;
};

// The reduced path: the visible segments' points in view coordinates merged on
// a grid, each edge between two grid cells once per colour, built a slice at a
// time so that a long path never blocks the window.
class PathLod {
public:
    // Starts over for the present segments; `cell` is the grid size.
    void start(const SegmentStore *segments, uint64_t revision, double cell);
    // Works for about `budgetMs` milliseconds; true when finished.
    bool work(int budgetMs);
    bool done() const { return done_; }
    uint64_t revision() const { return revision_; }
    double cell() const { return cell_; }
    struct Lines {
        ColorValue colour;
        std::vector<float> vertices; // x, y, z of both ends of each edge
    };
    const std::vector<Lines> &lines() const { return lines_; }
    size_t edgeCount() const;

private:
    const SegmentStore *segments_ = nullptr;
    uint64_t revision_ = 0;
    double cell_ = 1;
    size_t next_ = 0;
    bool done_ = true;
    std::vector<Lines> lines_;
    std::vector<uint64_t> table_; // open addressing: hashed edge keys, 0 = empty
    size_t used_ = 0;
    bool insert(uint64_t key);
    Lines &linesFor(ColorValue colour);
};

// Whether an OpenGL context can be made on this platform (not on "offscreen").
bool openGlAvailable();

} // namespace velmora::sim
