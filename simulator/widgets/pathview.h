#pragma once
// The 3-D view of the tool path (OpenGL 2.1 compatibility profile, the fixed
// pipeline): background, target cube, axis arrows, the "P" and "K" labels, the
// workpiece box and the segments. Segments are drawn straight from the engine's
// point chunks as vertex arrays, one glMultiDrawArrays per chunk, colour and
// rotation; the batches are rebuilt only when segments or their visibility
// change, consecutive connected segments of a batch being one strip. While the
// view moves, a reduced path is drawn (points merged on a grid
// finer than a pixel, repeated edges once); at rest, the whole path.
#include "common/colour.h"
#include "simulator/logic/camera.h"
#include "simulator/logic/interpreter.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class QOpenGLFunctions_2_1;

namespace velmora::sim {

class PathLod;

// A window of its own, drawn straight onto its surface (embedded in the simulator
// window through a window container), so that no frame is copied through the
// widgets' backing store.
class PathView : public QOpenGLWindow {
    Q_OBJECT
    // For tools that watch the view from outside (the benchmarks).
    Q_PROPERTY(qint64 framesDrawn READ framesDrawn)
    Q_PROPERTY(bool lastFrameReduced READ lastFrameReduced)
    Q_PROPERTY(bool reducedReady READ reducedReady)
    Q_PROPERTY(qulonglong strips READ stripCount)
    Q_PROPERTY(qulonglong bytes READ byteCount)
public:
    PathView();
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
    // Strips of the whole path drawn at rest, and edges of the last reduced frame.
    size_t strips() const;
    size_t reducedEdgesDrawn() const { return reducedEdges_; }
    // Memory of the batches and of the reduced path, in bytes.
    size_t bytes() const;
    qulonglong stripCount() const { return strips(); }
    qulonglong byteCount() const { return bytes(); }
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
        float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f}; // of its points, before the rotation
    };
    bool outsideView(const Batch &b) const;
    double pixelSize() const;
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
    bool lodPending_ = false;
    bool lastReduced_ = false;
    size_t reducedEdges_ = 0;
    qint64 frames_ = 0;
    QPoint lastMouse_;
    Qt::MouseButtons buttons_;
};

// The reduced path: the visible segments' points in view coordinates put on a
// grid, each edge between two grid cells drawn once per colour between the
// cells' centres. A level of grid size c is built from the segments, each
// coarser level (2c, 4c, ...) from the one before it. Built a slice at a time so
// that a long path never blocks the window.
class PathLod {
public:
    struct Lines {
        ColorValue colour;
        std::vector<float> vertices; // x, y, z of both ends of each edge
    };
    struct Level {
        double cell = 0;
        size_t edges = 0;
        std::vector<Lines> lines;
    };

    // Starts over for the present segments. Levels of more than `budget` edges are
    // only steps to the coarser ones: they are not kept (the coarsest always is).
    void start(const SegmentStore *segments, uint64_t revision, size_t budget = ~size_t(0));
    // Works for about `budgetMs` milliseconds; true when finished.
    bool work(int budgetMs);
    bool done() const { return phase_ == Phase::Done; }
    uint64_t revision() const { return revision_; }
    const std::vector<Level> &levels() const { return levels_; }
    // The level to draw where a pixel measures `pixel`: the finest whose cells are
    // not smaller than a pixel and which has at most `budget` edges, else the
    // coarsest; null before the first level is built.
    const Level *choose(double pixel, size_t budget) const;
    // Memory held, in bytes.
    size_t bytes() const;

private:
    enum class Phase { Idle, Bounds, Base, Coarser, Done };
    struct Edge {
        uint64_t a, b;
        uint32_t colour; // index into colours_
    };
    void beginLevel(double cell);
    bool addEdge(uint64_t a, uint64_t b, uint32_t colour);
    uint32_t colourIndex(ColorValue c);
    float centre(uint64_t key, int axis) const;
    void finishLevel();

    const SegmentStore *segments_ = nullptr;
    uint64_t revision_ = 0;
    size_t budget_ = ~size_t(0);
    Phase phase_ = Phase::Idle;
    size_t next_ = 0;
    double min_[3] = {0, 0, 0}, max_[3] = {0, 0, 0};
    bool anyPoint_ = false;
    std::vector<ColorValue> colours_;
    std::vector<Level> levels_;
    std::vector<Edge> edges_, previous_; // of the level being built and of the one before
    std::vector<uint64_t> table_;        // open addressing of edge hashes, 0 = empty
    size_t used_ = 0;
    double cell_ = 1;
};

// Whether an OpenGL context can be made on this platform (not on "offscreen").
bool openGlAvailable();

} // namespace velmora::sim
