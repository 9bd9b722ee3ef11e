#include "simulator/widgets/pathview.h"

#include "simulator/picture/picture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace velmora::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

QColor qcolour(ColorValue v) {
    const ColorValue c = plainColour(v);
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

uint64_t mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

// Grid cell of a coordinate, kept within 21 bits so that three fit in a key.
int64_t cellOf(double v, double cell) {
    const double c = std::floor(v / cell);
    return int64_t(std::clamp(c, -1048575.0, 1048575.0));
}

uint64_t cellKey(int64_t x, int64_t y, int64_t z) {
    return (uint64_t(x + 1048576) << 42) | (uint64_t(y + 1048576) << 21) | uint64_t(z + 1048576);
}

} // namespace

bool openGlAvailable() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    return context.create();
}

// ------------------------------------------------------------------ reduced path

void PathLod::start(const SegmentStore *segments, uint64_t revision, double cell) {
    segments_ = segments;
    revision_ = revision;
    cell_ = cell;
    next_ = 0;
    done_ = false;
    lines_.clear();
    table_.assign(1 << 16, 0);
    used_ = 0;
}

bool PathLod::insert(uint64_t key) {
    if (key == 0)
        key = 1;
    if ((used_ + 1) * 2 > table_.size()) {
        std::vector<uint64_t> old;
        old.swap(table_);
        table_.assign(old.size() * 2, 0);
        used_ = 0;
        for (const uint64_t k : old)
            if (k)
                insert(k);
    }
    const size_t mask = table_.size() - 1;
    for (size_t i = size_t(mix(key)) & mask;; i = (i + 1) & mask) {
        if (table_[i] == key)
            return false;
        if (table_[i] == 0) {
            table_[i] = key;
            ++used_;
            return true;
        }
    }
}

PathLod::Lines &PathLod::linesFor(ColorValue colour) {
    for (Lines &l : lines_)
        if (l.colour == colour)
            return l;
    lines_.push_back({colour, {}});
    return lines_.back();
}

bool PathLod::work(int budgetMs) {
    if (done_ || !segments_)
        return true;
    QElapsedTimer t;
    t.start();
    const SegmentStore &segs = *segments_;
    while (next_ < segs.size()) {
        const Segment &s = segs[next_++];
        if (s.visible) {
            Lines &out = linesFor(s.colour);
            const Point3f *p = segs.points(s);
            uint64_t prev = 0;
            for (int k = 0; k < s.count; ++k) {
                const Vec3 v = viewPoint(p[k], s.rotation);
                const int64_t cx = cellOf(v.x, cell_), cy = cellOf(v.y, cell_), cz = cellOf(v.z, cell_);
                const uint64_t key = cellKey(cx, cy, cz);
                if (k > 0 && key != prev) {
                    const uint64_t edge = mix(std::min(prev, key) * 0x9E3779B97F4A7C15ULL + std::max(prev, key)) ^ s.colour;
                    if (insert(edge)) {
                        auto centre = [&](uint64_t c, int shift) {
                            return float((double(int64_t((c >> shift) & 0x1FFFFF) - 1048576) + 0.5) * cell_);
                        };
                        for (const uint64_t c : {prev, key}) {
                            out.vertices.push_back(centre(c, 42));
                            out.vertices.push_back(centre(c, 21));
                            out.vertices.push_back(centre(c, 0));
                        }
                    }
                }
                prev = key;
            }
        }
        if ((next_ & 1023) == 0 && t.elapsed() >= budgetMs)
            return false;
    }
    done_ = true;
    table_.clear();
    table_.shrink_to_fit();
    return true;
}

size_t PathLod::edgeCount() const {
    size_t n = 0;
    for (const Lines &l : lines_)
        n += l.vertices.size() / 6;
    return n;
}

// ------------------------------------------------------------------ the view

PathView::PathView(QWidget *parent) : QOpenGLWidget(parent), lod_(std::make_unique<PathLod>()) {
    QSurfaceFormat f = format();
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    setFormat(f);
    setFocusPolicy(Qt::ClickFocus);
    lodTimer_.setInterval(0);
    connect(&lodTimer_, &QTimer::timeout, this, [this] {
        if (!sim_ || lod_->work(8))
            lodTimer_.stop();
    });
    restTimer_.setSingleShot(true);
    restTimer_.setInterval(250);
    connect(&restTimer_, &QTimer::timeout, this, [this] {
        moving_ = false;
        update();
    });
}

PathView::~PathView() = default;

void PathView::setSimulation(const Simulation *sim) {
    sim_ = sim;
    pathChanged();
}

void PathView::setBackground(ColorValue colour) {
    background_ = colour;
    update();
}

void PathView::showLabels(Vec3 start, Vec3 end) {
    labels_ = std::make_pair(start, end);
    update();
}

void PathView::hideLabels() {
    labels_.reset();
    update();
}

void PathView::pathChanged() {
    batchRevision_ = ~uint64_t(0);
    lodTimer_.stop();
    if (sim_ && sim_->segments().size() > 20000) {
        // A grid cell of about one pixel at the target's distance.
        const double pixel = camera_.distance() * 2 * std::tan(camera_.fieldOfView() * kPi / 360) / std::max(1, height());
        lod_->start(&sim_->segments(), sim_->segments().revision(), pixel);
        lodTimer_.start();
    } else {
        lod_->start(nullptr, 0, 1);
    }
    update();
}

bool PathView::reducedReady() const {
    return sim_ && lod_->done() && lod_->revision() == sim_->segments().revision() && sim_->segments().size() > 20000;
}

void PathView::cameraChanged() { moving(); }

void PathView::moving() {
    moving_ = true;
    restTimer_.start();
    update();
}

void PathView::zoomIn() {
    camera_.zoom(0.90909094);
    moving();
}

void PathView::zoomOut() {
    camera_.zoom(1.1);
    moving();
}

void PathView::initializeGL() {
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(context());
    if (gl_)
        gl_->initializeOpenGLFunctions();
}

void PathView::resizeGL(int, int) {}

void PathView::setMatrices() {
    const double w = std::max(1, width()), h = std::max(1, height());
    const double nearPlane = std::max(0.01, camera_.distance() / 1000);
    const double farPlane = Camera::kDepthOfView;
    const double f = 1 / std::tan(camera_.fieldOfView() * kPi / 360);
    const double aspect = w / h;
    const double proj[16] = {f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (farPlane + nearPlane) / (nearPlane - farPlane), -1,
                             0, 0, 2 * farPlane * nearPlane / (nearPlane - farPlane), 0};
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadMatrixd(proj);
    const Vec3 r = camera_.right(), u = camera_.up(), fw = camera_.forward(), e = camera_.position();
    const double view[16] = {r.x, u.x, -fw.x, 0, r.y, u.y, -fw.y, 0, r.z, u.z, -fw.z, 0,
                             -(r.x * e.x + r.y * e.y + r.z * e.z), -(u.x * e.x + u.y * e.y + u.z * e.z),
                             fw.x * e.x + fw.y * e.y + fw.z * e.z, 1};
    gl_->glMatrixMode(GL_MODELVIEW);
    gl_->glLoadMatrixd(view);
}

void PathView::rebuildBatches() {
    batches_.clear();
    if (!sim_)
        return;
    const SegmentStore &segs = sim_->segments();
    std::unordered_map<uint64_t, size_t> index;
    for (size_t i = 0; i < segs.size(); ++i) {
        const Segment &s = segs[i];
        if (!s.visible)
            continue;
        const size_t chunk = s.first / SegmentStore::Points::kChunk;
        uint32_t rot;
        std::memcpy(&rot, &s.rotation, sizeof rot);
        const uint64_t key = mix((uint64_t(chunk) << 40) ^ (uint64_t(s.colour) << 8)) ^ mix(rot);
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.emplace(key, batches_.size()).first;
            batches_.push_back({chunk, s.colour, s.rotation, {}, {}});
        }
        Batch &b = batches_[it->second];
        b.first.push_back(int(s.first % SegmentStore::Points::kChunk));
        b.count.push_back(s.count);
    }
    batchRevision_ = segs.revision();
}

void PathView::drawScene(bool reduced) {
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDisable(GL_LIGHTING);
    gl_->glDisable(GL_CULL_FACE);
    setMatrices();

    // Axis arrows: shafts of radius 0.5 and heads of radius 1 and length 1.5, 10 long in all.
    const struct {
        float r, g, b;
        int axis;
    } arrows[3] = {{1, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 1, 2}};
    for (const auto &a : arrows) {
        gl_->glColor3f(a.r, a.g, a.b);
        gl_->glPushMatrix();
        if (a.axis == 0)
            gl_->glRotated(90, 0, 1, 0);
        else if (a.axis == 1)
            gl_->glRotated(-90, 1, 0, 0);
        const int sides = 16;
        gl_->glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= sides; ++i) {
            const double t = 2 * kPi * i / sides;
            gl_->glVertex3d(0.5 * std::cos(t), 0.5 * std::sin(t), 0);
            gl_->glVertex3d(0.5 * std::cos(t), 0.5 * std::sin(t), 8.5);
        }
        gl_->glEnd();
        gl_->glBegin(GL_TRIANGLE_FAN);
        gl_->glVertex3d(0, 0, 10);
        for (int i = 0; i <= sides; ++i) {
            const double t = 2 * kPi * i / sides;
            gl_->glVertex3d(std::cos(t), std::sin(t), 8.5);
        }
        gl_->glEnd();
        gl_->glPopMatrix();
    }

    // The target cube and the workpiece box: edges.
    auto box = [&](const double lo[3], const double hi[3]) {
        gl_->glBegin(GL_LINES);
        for (int e = 0; e < 12; ++e) {
            const int axis = e / 4, k = e % 4;
            double a[3] = {lo[0], lo[1], lo[2]};
            a[(axis + 1) % 3] = (k & 1) ? hi[(axis + 1) % 3] : lo[(axis + 1) % 3];
            a[(axis + 2) % 3] = (k & 2) ? hi[(axis + 2) % 3] : lo[(axis + 2) % 3];
            gl_->glVertex3dv(a);
            a[axis] = hi[axis];
            gl_->glVertex3dv(a);
        }
        gl_->glEnd();
    };
    gl_->glColor3f(0, 0, 0);
    const Vec3 t = camera_.target();
    const double lo[3] = {t.x - 0.5, t.y - 0.5, t.z - 0.5}, hi[3] = {t.x + 0.5, t.y + 0.5, t.z + 0.5};
    box(lo, hi);
    if (sim_ && sim_->box())
        box(sim_->box()->min, sim_->box()->max);

    if (!sim_)
        return;
    gl_->glEnableClientState(GL_VERTEX_ARRAY);
    if (reduced) {
        for (const PathLod::Lines &l : lod_->lines()) {
            const QColor c = qcolour(l.colour);
            gl_->glColor3ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()));
            gl_->glVertexPointer(3, GL_FLOAT, 0, l.vertices.data());
            gl_->glDrawArrays(GL_LINES, 0, GLsizei(l.vertices.size() / 3));
        }
    } else {
        if (batchRevision_ != sim_->segments().revision())
            rebuildBatches();
        const auto &store = sim_->segments().pointStore();
        for (const Batch &b : batches_) {
            const QColor c = qcolour(b.colour);
            gl_->glColor3ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()));
            if (b.rotation != 0) {
                gl_->glPushMatrix();
                gl_->glRotatef(b.rotation, 0, 0, 1);
            }
            gl_->glVertexPointer(3, GL_FLOAT, 0, store.chunk(b.chunk));
            gl_->glMultiDrawArrays(GL_LINE_STRIP, b.first.data(), b.count.data(), GLsizei(b.first.size()));
            if (b.rotation != 0)
                gl_->glPopMatrix();
        }
    }
    gl_->glDisableClientState(GL_VERTEX_ARRAY);
}

void PathView::paintGL() {
    if (!gl_)
        return;
    const QColor bg = qcolour(background_);
    gl_->glClearColor(float(bg.redF()), float(bg.greenF()), float(bg.blueF()), 1);
    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const bool reduced = moving_ && reducedReady() && lod_->cell() <= 2.0 * camera_.distance() * 2 *
                                                                         std::tan(camera_.fieldOfView() * kPi / 360) /
                                                                         std::max(1, height());
    drawScene(reduced);
    lastReduced_ = reduced;
    ++frames_;
    if (labels_) {
        QPainter p(this);
        p.setPen(QColor::fromRgbF(0.85f, 0.85f, 0.1f));
        const Vec3 ends[2] = {labels_->first, labels_->second};
        const char *texts[2] = {"P", "K"};
        for (int i = 0; i < 2; ++i) {
            double x, y;
            if (!camera_.project(ends[i], width(), height(), x, y))
                continue;
            const Vec3 c = camera_.position();
            const double depth = std::hypot(ends[i].x - c.x, ends[i].y - c.y, ends[i].z - c.z);
            const double f = (height() / 2.0) / std::tan(camera_.fieldOfView() * kPi / 360);
            QFont font = p.font();
            font.setPixelSize(std::clamp(int(2 * f / std::max(depth, 1e-6)), 10, 200));
            p.setFont(font);
            p.drawText(QPointF(x, y), QLatin1String(texts[i]));
        }
    }
}

QImage PathView::picture() {
    if (gl_ && isValid())
        return grabFramebuffer();
    return sim_ ? sim::drawScene(*sim_, camera_, size(), background_) : QImage();
}

long PathView::segmentAt(QPoint pos, double tolerance) const {
    if (!sim_)
        return -1;
    const SegmentStore &segs = sim_->segments();
    const int w = std::max(1, width()), h = std::max(1, height());
    const double px = pos.x(), py = pos.y();
    double best = tolerance;
    long found = -1;
    for (size_t i = 0; i < segs.size(); ++i) {
        const Segment &s = segs[i];
        if (!s.visible)
            continue;
        const Point3f *p = segs.points(s);
        double ax = 0, ay = 0;
        bool have = camera_.project(viewPoint(p[0], s.rotation), w, h, ax, ay);
        for (int k = 1; k < s.count; ++k) {
            double bx = 0, by = 0;
            const bool ok = camera_.project(viewPoint(p[k], s.rotation), w, h, bx, by);
            if (have && ok) {
                const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
                const double u = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
                const double d = std::hypot(ax + u * dx - px, ay + u * dy - py);
                if (d <= best) {
                    best = d;
                    found = long(i);
                }
            }
            ax = bx;
            ay = by;
            have = ok;
        }
    }
    return found;
}

void PathView::mousePressEvent(QMouseEvent *e) {
    setFocus();
    lastMouse_ = e->position().toPoint();
    buttons_ = e->buttons();
}

void PathView::mouseMoveEvent(QMouseEvent *e) {
    const QPoint p = e->position().toPoint();
    const QPoint d = p - lastMouse_;
    lastMouse_ = p;
    if (e->buttons() == Qt::LeftButton) {
        if (e->modifiers() & Qt::ControlModifier)
            camera_.zoom(1 - (-d.y()) / 100.0); // d: the upward movement
        else
            camera_.pan(d.x(), d.y());
        moving();
    } else if (e->buttons() == Qt::RightButton) {
        camera_.pitch(-d.y());
        camera_.turn(-d.x());
        moving();
    }
}

void PathView::mouseReleaseEvent(QMouseEvent *e) { emit released(e->position().toPoint()); }

void PathView::wheelEvent(QWheelEvent *e) {
    camera_.zoom(std::pow(1.1, e->angleDelta().y() / 120.0));
    moving();
}

void PathView::keyPressEvent(QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_Plus: zoomIn(); break;
    case Qt::Key_Minus: zoomOut(); break;
    case Qt::Key_2: camera_.pitch(3); moving(); break;
    case Qt::Key_8: camera_.pitch(-3); moving(); break;
    case Qt::Key_4: camera_.turn(-3); moving(); break;
    case Qt::Key_6: camera_.turn(3); moving(); break;
    default: QOpenGLWidget::keyPressEvent(e);
    }
}

} // namespace velmora::sim
