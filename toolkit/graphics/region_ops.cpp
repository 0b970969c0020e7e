#include "toolkit/graphics/region_ops.h"

namespace qiva::region {

namespace {

std::int16_t Clamp(int value) {
    return static_cast<std::int16_t>(std::clamp<int>(value, kLow, kHigh));
}

std::int16_t Saturate(int value) {
    return static_cast<std::int16_t>(std::clamp<int>(value, INT16_MIN, INT16_MAX));
}

template <Op op>
constexpr bool Inside(bool a, bool b) {
    if constexpr (op == Op::Sect)
        return a && b;
    else if constexpr (op == Op::Union)
        return a || b;
    else if constexpr (op == Op::Diff)
        return a && !b;
    else
        return a != b;
}

// One pass over both lists in x order; all points at the same x are taken before the result is
// decided, which joins touching intervals and cancels equal points.
template <Op op>
void Combine(std::span<const std::int16_t> a, std::span<const std::int16_t> b,
             std::vector<std::int16_t>& out) {
    const std::size_t na = a.size(), nb = b.size();
    out.resize(na + nb + 1); // every point at most once, and the closing kHigh
    std::int16_t* const first = out.data();
    std::int16_t* o = first;
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false, in = false;
    while (i < na || j < nb) {
        const std::int16_t x = (j >= nb || (i < na && a[i] <= b[j])) ? a[i] : b[j];
        for (; i < na && a[i] == x; ++i)
            inA = !inA;
        for (; j < nb && b[j] == x; ++j)
            inB = !inB;
        const bool now = Inside<op>(inA, inB);
        if (now != in) {
            *o++ = x;
            in = now;
        }
    }
    if (in) {
        if (o[-1] == kHigh)
            --o;
        else
            *o++ = kHigh;
    }
    out.resize(static_cast<std::size_t>(o - first));
}

// The rectangle of a rectangular record as the set operations see it: within kLow..kHigh.
Box UsableBox(Words rgn) {
    const Box b = BoxOf(rgn);
    return {std::max(b.top, kLow), std::max(b.left, kLow), std::min(b.bottom, kHigh),
            std::min(b.right, kHigh)};
}

// OffsetRect's rule: an edge at or beyond ±32000 stays where it is.
// The empty region stays (0, 0, 0, 0), as is a box that saturation squeezes to nothing.
void OffsetBox(std::int16_t* box, std::int16_t dh, std::int16_t dv) {
    if (box[0] > -32000) box[0] = Saturate(box[0] + dv);
    if (box[1] > -32000) box[1] = Saturate(box[1] + dh);
    if (box[2] < 32000) box[2] = Saturate(box[2] + dv);
    if (box[3] < 32000) box[3] = Saturate(box[3] + dh);
    if (!(box[0] < box[2] && box[1] < box[3])) box[0] = box[1] = box[2] = box[3] = 0;
}

const std::int16_t kEmptyRegion[kHeaderWords] = {kRectSize, 0, 0, 0, 0};

} // namespace

std::size_t WordCount(Words rgn) {
    const std::size_t n = rgn.size();
    if (IsRectangular(rgn)) return std::min(n, kHeaderWords);
    std::size_t pos = kHeaderWords;
    while (pos < n && rgn[pos] != kEnd) {
        ++pos;
        while (pos < n && rgn[pos] != kEnd)
            ++pos;
        ++pos;
    }
    return std::min(pos + 1, n);
}

std::int16_t SizeField(std::size_t words) {
    const std::size_t bytes = words * 2;
    return bytes > 32766 ? kLargeSize : static_cast<std::int16_t>(bytes);
}

void MakeRect(std::vector<std::int16_t>& out, std::int16_t top, std::int16_t left, std::int16_t bottom,
              std::int16_t right) {
    if (top < bottom && left < right)
        out.assign({kRectSize, top, left, bottom, right});
    else
        out.assign(std::begin(kEmptyRegion), std::end(kEmptyRegion));
}

void MergePoints(std::span<const std::int16_t> a, std::span<const std::int16_t> b,
                 std::vector<std::int16_t>& out) {
    out.resize(a.size() + b.size());
    std::int16_t* o = out.data();
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] < b[j])
            *o++ = a[i++];
        else if (b[j] < a[i])
            *o++ = b[j++];
        else
            ++i, ++j;
    }
    o = std::copy(a.begin() + static_cast<std::ptrdiff_t>(i), a.end(), o);
    o = std::copy(b.begin() + static_cast<std::ptrdiff_t>(j), b.end(), o);
    out.resize(static_cast<std::size_t>(o - out.data()));
}

void CombinePoints(Op op, std::span<const std::int16_t> a, std::span<const std::int16_t> b,
                   std::vector<std::int16_t>& out) {
    switch (op) {
    case Op::Sect:
        return Combine<Op::Sect>(a, b, out);
    case Op::Union:
        return Combine<Op::Union>(a, b, out);
    case Op::Diff:
        return Combine<Op::Diff>(a, b, out);
    case Op::Xor:
        return Combine<Op::Xor>(a, b, out);
    }
}

RecordReader::RecordReader(Words rgn) : words_(rgn) {
    if (IsRectangular(rgn)) {
        const Box b = UsableBox(rgn);
        rect_ = true;
        if (b.top < b.bottom && b.left < b.right) {
            pending_ = true;
            row_ = b.top;
            rectPoints_[0] = b.left;
            rectPoints_[1] = b.right;
            rectBottom_ = b.bottom;
            points_ = rectPoints_;
        }
        return;
    }
    pos_ = kHeaderWords;
    ReadRecord();
}

void RecordReader::Advance() {
    if (!pending_) return;
    if (rect_) {
        if (row_ == rectBottom_)
            pending_ = false;
        else
            row_ = rectBottom_;
        return;
    }
    ReadRecord();
}

void RecordReader::ReadRecord() {
    const std::size_t n = words_.size();
    if (pos_ >= n || words_[pos_] == kEnd) {
        pending_ = false;
        return;
    }
    row_ = std::max(row_, Clamp(words_[pos_++]));
    const std::size_t start = pos_;
    while (pos_ < n && words_[pos_] != kEnd)
        ++pos_;
    const Words points = words_.subspan(start, pos_ - start);
    if (pos_ < n) ++pos_;
    bool clean = true;
    for (std::size_t i = 0; i < points.size() && clean; ++i)
        clean = points[i] >= kLow && (i == 0 || points[i] > points[i - 1]);
    if (clean) {
        points_ = points;
    } else {
        scratch_.resize(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            scratch_[i] = Clamp(points[i]);
        std::sort(scratch_.begin(), scratch_.end());
        // A point given twice toggles twice: both go, so the points strictly increase.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < scratch_.size(); ++i) {
            if (kept > 0 && scratch_[kept - 1] == scratch_[i])
                --kept;
            else
                scratch_[kept++] = scratch_[i];
        }
        scratch_.resize(kept);
        points_ = scratch_;
    }
    pending_ = true;
}

void Engine::Emit(std::int16_t row, std::vector<std::int16_t>& out) {
    MergePoints(previous_, result_, points_);
    previous_.swap(result_);
    if (points_.empty()) return;
    out.push_back(row);
    out.insert(out.end(), points_.begin(), points_.end());
    out.push_back(kEnd);
    if (records_ == 0) {
        firstPoints_ = points_.size();
        extent_ = {row, points_.front(), row, points_.back()};
    } else {
        extent_.left = std::min(extent_.left, points_.front());
        extent_.right = std::max(extent_.right, points_.back());
        extent_.bottom = row;
    }
    ++records_;
}

void Engine::Combine(Op op, Words a, Words b, std::vector<std::int16_t>& out) {
    if (op == Op::Sect && IsRectangular(a) && IsRectangular(b)) {
        const Box x = UsableBox(a), y = UsableBox(b);
        MakeRect(out, std::max(x.top, y.top), std::max(x.left, y.left), std::min(x.bottom, y.bottom),
                 std::min(x.right, y.right));
        return;
    }
    RecordReader ra(a), rb(b);
    bandA_.clear();
    bandB_.clear();
    previous_.clear();
    records_ = 0;
    out.assign(kHeaderWords, 0);
    // Both regions are walked in step over the merged sequence of their rows; at each row the result's
    // band is compared with the one above and the points that differ become its record.
    while (!ra.Done() || !rb.Done()) {
        const std::int16_t row = ra.Done() ? rb.Row() : rb.Done() ? ra.Row() : std::min(ra.Row(), rb.Row());
        for (; !ra.Done() && ra.Row() == row; ra.Advance()) {
            MergePoints(bandA_, ra.Points(), points_);
            bandA_.swap(points_);
        }
        for (; !rb.Done() && rb.Row() == row; rb.Advance()) {
            MergePoints(bandB_, rb.Points(), points_);
            bandB_.swap(points_);
        }
        // Nothing lies below the last usable row, so a band still open there is closed.
        if (row == kHigh)
            result_.clear();
        else
            CombinePoints(op, bandA_, bandB_, result_);
        Emit(row, out);
    }
    if (!previous_.empty()) {
        result_.clear();
        Emit(kHigh, out);
    }
    if (records_ == 0) {
        MakeRect(out, 0, 0, 0, 0);
    } else if (records_ == 2 && firstPoints_ == 2) {
        MakeRect(out, extent_.top, extent_.left, extent_.bottom, extent_.right);
    } else {
        out.push_back(kEnd);
        out[0] = SizeField(out.size());
        out[1] = extent_.top;
        out[2] = extent_.left;
        out[3] = extent_.bottom;
        out[4] = extent_.right;
    }
}

void Engine::Normalise(Words rgn, std::vector<std::int16_t>& out) {
    Combine(Op::Union, rgn, kEmptyRegion, out);
}

void Engine::Offset(Words rgn, std::int16_t dh, std::int16_t dv, std::vector<std::int16_t>& out) {
    if (IsRectangular(rgn)) {
        const Box b = BoxOf(rgn);
        out.assign({kRectSize, b.top, b.left, b.bottom, b.right});
        OffsetBox(out.data() + 1, dh, dv);
        return;
    }
    // Moved with saturation, then rebuilt: points pushed onto the same edge cancel or join there.
    std::vector<std::int16_t>& moved = moved_;
    moved.assign(rgn.begin(), rgn.begin() + static_cast<std::ptrdiff_t>(WordCount(rgn)));
    const std::size_t n = moved.size();
    std::size_t pos = kHeaderWords;
    while (pos < n && moved[pos] != kEnd) {
        moved[pos] = Clamp(moved[pos] + dv);
        for (++pos; pos < n && moved[pos] != kEnd; ++pos)
            moved[pos] = Clamp(moved[pos] + dh);
        ++pos;
    }
    Normalise(moved, out);
}

bool OffsetInPlace(MutableWords rgn, std::int16_t dh, std::int16_t dv) {
    if (rgn.size() < kHeaderWords) return false;
    if (dh == 0 && dv == 0) return true;
    if (IsRectangular(rgn)) {
        OffsetBox(rgn.data() + 1, dh, dv);
        return true;
    }
    const std::size_t n = WordCount(rgn);
    const auto fits = [](int value) { return value >= kLow && value <= kHigh; };
    if (!fits(rgn[1] + dv) || !fits(rgn[3] + dv) || !fits(rgn[2] + dh) || !fits(rgn[4] + dh)) return false;
    for (std::size_t pos = kHeaderWords; pos < n && rgn[pos] != kEnd; ++pos) {
        if (!fits(rgn[pos] + dv)) return false;
        for (++pos; pos < n && rgn[pos] != kEnd; ++pos)
            if (!fits(rgn[pos] + dh)) return false;
    }
    rgn[1] = static_cast<std::int16_t>(rgn[1] + dv);
    rgn[2] = static_cast<std::int16_t>(rgn[2] + dh);
    rgn[3] = static_cast<std::int16_t>(rgn[3] + dv);
    rgn[4] = static_cast<std::int16_t>(rgn[4] + dh);
    for (std::size_t pos = kHeaderWords; pos < n && rgn[pos] != kEnd; ++pos) {
        rgn[pos] = static_cast<std::int16_t>(rgn[pos] + dv);
        for (++pos; pos < n && rgn[pos] != kEnd; ++pos)
            rgn[pos] = static_cast<std::int16_t>(rgn[pos] + dh);
    }
    return true;
}

bool Engine::PtIn(Words rgn, std::int16_t v, std::int16_t h) {
    const Box b = BoxOf(rgn);
    if (v < b.top || v >= b.bottom || h < b.left || h >= b.right) return false;
    if (IsRectangular(rgn)) return true;
    RecordReader reader(rgn);
    bandA_.clear();
    for (; !reader.Done() && reader.Row() <= v; reader.Advance()) {
        MergePoints(bandA_, reader.Points(), points_);
        bandA_.swap(points_);
    }
    const auto left = std::upper_bound(bandA_.begin(), bandA_.end(), h);
    return ((left - bandA_.begin()) & 1) != 0;
}

bool Engine::RectIn(Words rgn, std::int16_t top, std::int16_t left, std::int16_t bottom, std::int16_t right) {
    const Box b = BoxOf(rgn);
    if (std::max(top, b.top) >= std::min(bottom, b.bottom) ||
        std::max(left, b.left) >= std::min(right, b.right))
        return false;
    if (IsRectangular(rgn)) return true;
    RecordReader reader(rgn);
    bandA_.clear();
    while (!reader.Done() && reader.Row() < bottom) {
        const std::int16_t row = reader.Row();
        for (; !reader.Done() && reader.Row() == row; reader.Advance()) {
            MergePoints(bandA_, reader.Points(), points_);
            bandA_.swap(points_);
        }
        const std::int16_t below = reader.Done() ? kHigh : reader.Row();
        if (below <= top) continue;
        for (std::size_t i = 0; i + 1 < bandA_.size(); i += 2)
            if (bandA_[i] < right && bandA_[i + 1] > left) return true;
    }
    return false;
}

} // namespace qiva::region
