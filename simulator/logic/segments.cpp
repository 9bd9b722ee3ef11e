#include "simulator/logic/segments.h"

#include "common/numbers.h"

namespace velmora::sim {

void SegmentStore::clear() {
    segments_.clear();
    points_.clear();
    hints_.clear();
    ++revision_;
}

Point3f *SegmentStore::add(uint8_t kind, ColorValue colour, int tool, float rotation, int line, int count, uint32_t hint) {
    const size_t first = points_.reserveRun(size_t(count));
    Segment s;
    s.line = line;
    s.first = uint32_t(first);
    s.colour = colour;
    s.tool = tool;
    s.rotation = rotation;
    s.hint = hint;
    s.kind = kind;
    s.count = uint8_t(count);
    s.visible = 1;
    s.reserved = 0;
    segments_.push_back(s);
    ++revision_;
    return &points_[first];
}

uint32_t SegmentStore::hint(double s, double f) {
    // Speeds and feeds change seldom: the last pair is nearly always the one.
    if (!hints_.empty() && hints_.back().s == s && hints_.back().f == f)
        return uint32_t(hints_.size() - 1);
    hints_.push_back({s, f});
    return uint32_t(hints_.size() - 1);
}

QString SegmentStore::hintText(const Segment &seg, int which, QChar decimalMark) const {
    if (seg.hint == kNoHint)
        return QString();
    return formatGeneral(which == 0 ? hints_[seg.hint].s : hints_[seg.hint].f, decimalMark);
}

void SegmentStore::setVisible(size_t i, bool visible) {
    if (bool(segments_[i].visible) != visible) {
        segments_[i].visible = visible;
        ++revision_;
    }
}

void SegmentStore::setColour(size_t i, ColorValue colour) {
    if (segments_[i].colour != colour) {
        segments_[i].colour = colour;
        ++revision_;
    }
}

size_t SegmentStore::bytes() const { return segments_.bytes() + points_.bytes() + hints_.capacity() * sizeof(Hint); }

} // namespace velmora::sim
