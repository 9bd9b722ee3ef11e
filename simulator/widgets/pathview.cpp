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
// Paths of more segments get a reduced picture while the view moves, of at most
// this many edges (about 20 frames a second on a software renderer).
constexpr size_t kReducedFrom = 20000;
constexpr size_t kReducedEdges = 120000;

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

} // namespace

bool openGlAvailable() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    return context.create();
}

// ------------------------------------------------------------------ reduced path

namespace {
// Level 0 holds at most this many edges; a path that needs more starts on a coarser grid.
constexpr size_t kBaseEdgeLimit = 1000000;
constexpr int kCellBits = 21;
constexpr int64_t kCellMax = (int64_t(1) << kCellBits) - 1;
} // namespace

void PathLod::start(const SegmentStore *segments, uint64_t revision, size_t budget) {
    segments_ = segments;
    revision_ = revision;
    budget_ = budget;
    phase_ = segments ? Phase::Bounds : Phase::Done;
    next_ = 0;
    anyPoint_ = false;
    colours_.clear();
    levels_.clear();
    edges_.clear();
    previous_.clear();
    table_.clear();
    used_ = 0;
}

uint32_t PathLod::colourIndex(ColorValue c) {
    for (size_t i = 0; i < colours_.size(); ++i)
        if (colours_[i] == c)
            return uint32_t(i);
    colours_.push_back(c);
    return uint32_t(colours_.size() - 1);
}

void PathLod::beginLevel(double cell) {
    cell_ = cell;
    edges_.clear();
    table_.assign(1 << 16, 0);
    used_ = 0;
}

bool PathLod::addEdge(uint64_t a, uint64_t b, uint32_t colour) {
    uint64_t key = mix(std::min(a, b) * 0x9E3779B97F4A7C15ULL + std::max(a, b)) ^ (uint64_t(colour) << 56);
    if (key == 0)
        key = 1;
    if ((used_ + 1) * 2 > table_.size()) {
        std::vector<uint64_t> old;
        old.swap(table_);
        table_.assign(old.size() * 2, 0);
        const size_t mask = table_.size() - 1;
        for (const uint64_t k : old)
            if (k)
                for (size_t i = size_t(mix(k)) & mask;; i = (i + 1) & mask)
                    if (table_[i] == 0) {
                        table_[i] = k;
                        break;
                    }
    }
    const size_t mask = table_.size() - 1;
    for (size_t i = size_t(mix(key)) & mask;; i = (i + 1) & mask) {
        if (table_[i] == key)
            return false;
        if (table_[i] == 0) {
            table_[i] = key;
            ++used_;
            edges_.push_back({a, b, colour});
            return true;
        }
    }
}

float PathLod::centre(uint64_t key, int axis) const {
    const int shift = (2 - axis) * kCellBits;
    return float(min_[axis] + (double((key >> shift) & uint64_t(kCellMax)) + 0.5) * cell_);
}

void PathLod::finishLevel() {
    Level level;
    level.cell = cell_;
    level.edges = edges_.size();
    for (size_t c = 0; c < colours_.size(); ++c)
        level.lines.push_back({colours_[c], {}});
    // A level beyond the budget is never drawn (unless it is the last, the sixteenth):
    // only its edges lead to the next one.
    if (level.edges <= budget_ || levels_.size() + 1 >= 16)
        for (const Edge &e : edges_) {
            std::vector<float> &v = level.lines[e.colour].vertices;
            for (const uint64_t k : {e.a, e.b})
                for (int axis = 0; axis < 3; ++axis)
                    v.push_back(centre(k, axis));
        }
    levels_.push_back(std::move(level));
    previous_.swap(edges_);
    edges_.clear();
}

bool PathLod::work(int budgetMs) {
    if (phase_ == Phase::Done || phase_ == Phase::Idle || !segments_)
        return true;
    QElapsedTimer t;
    t.start();
    const SegmentStore &segs = *segments_;
    if (phase_ == Phase::Bounds) {
        for (; next_ < segs.size(); ++next_) {
            const Segment &s = segs[next_];
            if (s.visible) {
                const Point3f *p = segs.points(s);
                for (int k = 0; k < s.count; ++k) {
                    const Vec3 v = viewPoint(p[k], s.rotation);
                    const double c[3] = {v.x, v.y, v.z};
                    for (int i = 0; i < 3; ++i) {
                        min_[i] = anyPoint_ ? std::min(min_[i], c[i]) : c[i];
                        max_[i] = anyPoint_ ? std::max(max_[i], c[i]) : c[i];
                    }
                    anyPoint_ = true;
                }
            }
            if ((next_ & 4095) == 4095 && t.elapsed() >= budgetMs) {
                ++next_;
                return false;
            }
        }
        if (!anyPoint_) {
            phase_ = Phase::Done;
            return true;
        }
        const double diagonal = std::hypot(max_[0] - min_[0], max_[1] - min_[1], max_[2] - min_[2]);
        beginLevel(std::max(diagonal / 2048, 1e-3));
        phase_ = Phase::Base;
        next_ = 0;
    }
    if (phase_ == Phase::Base) {
        auto cellKey = [&](const Vec3 &v) {
            const double c[3] = {v.x, v.y, v.z};
            uint64_t key = 0;
            for (int i = 0; i < 3; ++i)
                key = (key << kCellBits) | uint64_t(std::clamp(int64_t((c[i] - min_[i]) / cell_), int64_t(0), kCellMax));
            return key;
        };
        for (; next_ < segs.size(); ++next_) {
            const Segment &s = segs[next_];
            if (s.visible) {
                const uint32_t colour = colourIndex(s.colour);
                const Point3f *p = segs.points(s);
                uint64_t prev = cellKey(viewPoint(p[0], s.rotation));
                for (int k = 1; k < s.count; ++k) {
                    const uint64_t key = cellKey(viewPoint(p[k], s.rotation));
                    if (key != prev)
                        addEdge(prev, key, colour);
                    prev = key;
                }
            }
            if (edges_.size() > kBaseEdgeLimit) { // too fine for this path: start over twice as coarse
                beginLevel(cell_ * 2);
                next_ = 0;
                continue;
            }
            if ((next_ & 1023) == 1023 && t.elapsed() >= budgetMs) {
                ++next_;
                return false;
            }
        }
        finishLevel();
        phase_ = Phase::Coarser;
    }
    // Each coarser level from the edges of the one before, until a level is small.
    while (phase_ == Phase::Coarser) {
        if (previous_.size() < 2000 || levels_.size() >= 16) {
            // Keep the levels that may be drawn: those within the budget, and the coarsest.
            std::vector<Level> kept;
            for (size_t i = 0; i < levels_.size(); ++i)
                if (levels_[i].edges <= budget_ || i + 1 == levels_.size())
                    kept.push_back(std::move(levels_[i]));
            levels_.swap(kept);
            previous_.clear();
            previous_.shrink_to_fit();
            table_.clear();
            table_.shrink_to_fit();
            phase_ = Phase::Done;
            break;
        }
        beginLevel(cell_ * 2);
        auto parent = [](uint64_t k) {
            const uint64_t x = (k >> (2 * kCellBits)) & uint64_t(kCellMax), y = (k >> kCellBits) & uint64_t(kCellMax),
                           z = k & uint64_t(kCellMax);
            return ((x >> 1) << (2 * kCellBits)) | ((y >> 1) << kCellBits) | (z >> 1);
        };
        for (const Edge &e : previous_) {
            const uint64_t a = parent(e.a), b = parent(e.b);
            if (a != b)
                addEdge(a, b, e.colour);
        }
        finishLevel();
        if (t.elapsed() >= budgetMs)
            return false;
    }
    return true;
}

size_t PathLod::bytes() const {
    size_t n = (edges_.capacity() + previous_.capacity()) * sizeof(Edge) + table_.capacity() * sizeof(uint64_t);
    for (const Level &l : levels_)
        for (const Lines &lines : l.lines)
            n += lines.vertices.capacity() * sizeof(float);
    return n;
}

const PathLod::Level *PathLod::choose(double pixel, size_t budget) const {
    if (levels_.empty())
        return nullptr;
    for (const Level &l : levels_)
        if (l.cell >= 0.75 * pixel && l.edges <= budget)
            return &l;
    for (const Level &l : levels_)
        if (l.edges <= budget)
            return &l;
    return &levels_.back();
}

// ------------------------------------------------------------------ the view

PathView::PathView() : lod_(std::make_unique<PathLod>()) {
    QSurfaceFormat f = format();
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    setFormat(f);
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
    lodPending_ = false;
    if (sim_ && sim_->segments().size() > kReducedFrom) {
        // Built after the next frame is drawn, so that the path shows first.
        lod_->start(&sim_->segments(), sim_->segments().revision(), kReducedEdges);
        lodPending_ = true;
    } else {
        lod_->start(nullptr, 0);
    }
    update();
}

bool PathView::reducedReady() const {
    return sim_ && lod_->done() && lod_->revision() == sim_->segments().revision() &&
           sim_->segments().size() > kReducedFrom && !lod_->levels().empty();
}

size_t PathView::bytes() const {
    size_t n = lod_->bytes();
    for (const Batch &b : batches_)
        n += (b.first.capacity() + b.count.capacity()) * sizeof(int);
    return n;
}

size_t PathView::strips() const {
    size_t n = 0;
    for (const Batch &b : batches_)
        n += b.first.size();
    return n;
}

// The size of a pixel at the target's distance.
double PathView::pixelSize() const {
    return camera_.distance() * 2 * std::tan(camera_.fieldOfView() * kPi / 360) / std::max(1, height());
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
        const int first = int(s.first % SegmentStore::Points::kChunk);
        const Point3f *p = segs.points(s);
        // A segment that follows the batch's last strip in the store and starts where it ends
        // extends that strip.
        bool joined = false;
        if (!b.first.empty() && b.first.back() + b.count.back() == first) {
            const Point3f &end = p[-1];
            joined = std::fabs(end.x - p[0].x) <= 1e-3f && std::fabs(end.y - p[0].y) <= 1e-3f &&
                     std::fabs(end.z - p[0].z) <= 1e-3f;
        }
        if (joined) {
            b.count.back() += s.count;
        } else {
            b.first.push_back(first);
            b.count.push_back(s.count);
        }
        for (int k = 0; k < s.count; ++k) {
            const float c[3] = {p[k].x, p[k].y, p[k].z};
            for (int a = 0; a < 3; ++a) {
                b.lo[a] = std::min(b.lo[a], c[a]);
                b.hi[a] = std::max(b.hi[a], c[a]);
            }
        }
    }
    batchRevision_ = segs.revision();
}

// True when no point of the batch's box can be in the view (its corners, rotated as
// the batch is drawn, all lie beyond one side of the view's pyramid).
bool PathView::outsideView(const Batch &b) const {
    const Vec3 e = camera_.position(), f = camera_.forward(), r = camera_.right(), u = camera_.up();
    const double th = std::tan(camera_.fieldOfView() * kPi / 360);
    const double tw = th * std::max(1, width()) / std::max(1, height());
    int out[5] = {0, 0, 0, 0, 0};
    for (int c = 0; c < 8; ++c) {
        const Point3f corner{(c & 1) ? b.hi[0] : b.lo[0], (c & 2) ? b.hi[1] : b.lo[1], (c & 4) ? b.hi[2] : b.lo[2]};
        const Vec3 p = viewPoint(corner, b.rotation);
        const Vec3 d{p.x - e.x, p.y - e.y, p.z - e.z};
        const double z = d.x * f.x + d.y * f.y + d.z * f.z;
        const double x = d.x * r.x + d.y * r.y + d.z * r.z, y = d.x * u.x + d.y * u.y + d.z * u.z;
        out[0] += z <= 0;
        out[1] += x > tw * z;
        out[2] += x < -tw * z;
        out[3] += y > th * z;
        out[4] += y < -th * z;
    }
    for (const int n : out)
        if (n == 8)
            return true;
    return false;
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
        const PathLod::Level *level = lod_->choose(pixelSize(), kReducedEdges);
        reducedEdges_ = level->edges;
        for (const PathLod::Lines &l : level->lines) {
            const QColor c = qcolour(l.colour);
            gl_->glColor3ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()));
            gl_->glVertexPointer(3, GL_FLOAT, 0, l.vertices.data());
            gl_->glDrawArrays(GL_LINES, 0, GLsizei(l.vertices.size() / 3));
        }
    } else {
        if (batchRevision_ != sim_->segments().revision())
            rebuildBatches();
        const auto &store = sim_->segments().pointStore();
        size_t pending = 0;
        for (const Batch &b : batches_) {
            if (outsideView(b))
                continue;
            const QColor c = qcolour(b.colour);
            gl_->glColor3ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()));
            if (b.rotation != 0) {
                gl_->glPushMatrix();
                gl_->glRotatef(b.rotation, 0, 0, 1);
            }
            gl_->glVertexPointer(3, GL_FLOAT, 0, store.chunk(b.chunk));
            gl_->glMultiDrawArrays(GL_LINE_STRIP, b.first.data(), b.count.data(), GLsizei(b.first.size()));
            // A driver that renders in software copies client arrays for each draw until the
            // frame is done: waiting after about a million points keeps that copy small instead
            // of a second copy of the whole path.
            pending += SegmentStore::Points::kChunk;
            if (pending >= 1000000) {
                gl_->glFinish();
                pending = 0;
            }
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
    const bool reduced = moving_ && reducedReady();
    drawScene(reduced);
    lastReduced_ = reduced;
    ++frames_;
    if (lodPending_) {
        lodPending_ = false;
        lodTimer_.start();
    }
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
    requestActivate();
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
    default: QOpenGLWindow::keyPressEvent(e);
    }
}

} // namespace velmora::sim
