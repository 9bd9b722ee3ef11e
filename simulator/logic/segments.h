#pragma once
// The path segments of a simulation: a small record per segment and one store
// of single-precision points, both kept in fixed-size chunks so that a path of
// millions of moves grows without copying. A segment's points always lie in
// one chunk, so a view can hand a chunk to the graphics card as one array.
#include "common/colour.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::sim {

// Kinds of segments, which the path tree hides and shows.
enum SegmentKind : uint8_t {
    KindRapid = 0,
    KindFeed = 1,      // feed without radius compensation
    KindFeedRight = 2, // feed with right compensation
    KindFeedLeft = 3,  // feed with left compensation
    KindDrilling = 4,
    KindTapping = 5,
};
constexpr int kSegmentKinds = 6;

struct Point3f {
    float x, y, z;
};

struct Segment {
    int32_t line;     // 1-based program line of the block that made it
    uint32_t first;   // index of its first point in the point store
    ColorValue colour;
    int32_t tool;     // tool counter when it was made
    float rotation;   // degrees about the Z axis through the origin
    uint32_t hint;    // index of its S and F in the hint table, kNoHint without
    uint8_t kind;     // SegmentKind
    uint8_t count;    // number of points
    uint8_t visible;
    uint8_t reserved;
};
constexpr uint32_t kNoHint = 0xFFFFFFFFu;

template <class T, int Bits>
class ChunkedArray {
public:
    static constexpr size_t kChunk = size_t(1) << Bits;
    size_t size() const { return size_; }
    T &operator[](size_t i) { return chunks_[i >> Bits][i & (kChunk - 1)]; }
    const T &operator[](size_t i) const { return chunks_[i >> Bits][i & (kChunk - 1)]; }
    // Room for n consecutive elements in one chunk (n <= kChunk): skips to the next
    // chunk when the current one cannot hold them. Returns the index of the first.
    size_t reserveRun(size_t n) {
        if ((size_ & (kChunk - 1)) + n > kChunk && (size_ & (kChunk - 1)) != 0)
            size_ = (size_ | (kChunk - 1)) + 1;
        const size_t first = size_;
        size_ += n;
        while (chunks_.size() * kChunk < size_)
            chunks_.emplace_back(new T[kChunk]);
        return first;
    }
    void push_back(const T &v) { (*this)[reserveRun(1)] = v; }
    void clear() {
        chunks_.clear();
        size_ = 0;
    }
    size_t chunkCount() const { return chunks_.size(); }
    const T *chunk(size_t c) const { return chunks_[c].get(); }
    // Elements in use in chunk c.
    size_t chunkUsed(size_t c) const {
        const size_t begin = c * kChunk;
        return size_ <= begin ? 0 : std::min(kChunk, size_ - begin);
    }
    size_t bytes() const { return chunks_.size() * kChunk * sizeof(T) + chunks_.capacity() * sizeof(void *); }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    size_t size_ = 0;
};

class SegmentStore {
public:
    using Points = ChunkedArray<Point3f, 16>;

    void clear();
    size_t size() const { return segments_.size(); }
    const Segment &operator[](size_t i) const { return segments_[i]; }
    const Point3f &point(size_t i) const { return points_[i]; }
    const Point3f *points(const Segment &s) const { return &points_[s.first]; }
    const Points &pointStore() const { return points_; }

    // A new segment with `count` points (at most 255) to be written through the
    // returned pointer; it is visible.
    Point3f *add(uint8_t kind, ColorValue colour, int tool, float rotation, int line, int count,
                 uint32_t hint = kNoHint);
    // The index of a spindle speed and feed pair for a straight segment's hint.
    uint32_t hint(double s, double f);
    bool hasHint(const Segment &seg) const { return seg.hint != kNoHint; }
    double hintS(const Segment &seg) const { return hints_[seg.hint].s; }
    double hintF(const Segment &seg) const { return hints_[seg.hint].f; }
    // The two hint texts in the general number format (empty without a hint).
    QString hintText(const Segment &seg, int which, QChar decimalMark = u',') const;

    void setVisible(size_t i, bool visible);
    void setColour(size_t i, ColorValue colour);
    // Changes whenever segments are added, removed, shown, hidden or recoloured.
    uint64_t revision() const { return revision_; }

    // Memory held, in bytes.
    size_t bytes() const;

private:
    struct Hint {
        double s, f;
    };
    ChunkedArray<Segment, 14> segments_;
    Points points_;
    std::vector<Hint> hints_;
    uint64_t revision_ = 0;
};

} // namespace velmora::sim
