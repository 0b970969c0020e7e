#include "toolkit/graphics/region_bands.h"

#include <algorithm>
#include <cstring>

namespace qiva {

void MergeInversionPoints(const std::int16_t* a, int na, const std::int16_t* b, int nb,
                          std::vector<std::int16_t>& out) {
    out.clear();
    int i = 0, j = 0;
    while (i < na && j < nb) {
        if (a[i] < b[j])
            out.push_back(a[i++]);
        else if (b[j] < a[i])
            out.push_back(b[j++]);
        else {
            ++i;
            ++j;
        }
    }
    out.insert(out.end(), a + i, a + na);
    out.insert(out.end(), b + j, b + nb);
}

std::size_t RegionReadableBytes(const Region* rgn, std::size_t blockBytes) {
    if (rgn == nullptr || blockBytes < sizeof(Region)) return 0;
    // 32767 (odd, so never a real size) marks a region too large for its 16-bit size field: its
    // records run to the final end mark, so the whole block may be read.
    if (rgn->rgnSize == 32767) return blockBytes;
    const auto declared = static_cast<std::size_t>(static_cast<std::uint16_t>(rgn->rgnSize));
    return std::min(declared, blockBytes);
}

void BandWalker::Start(const Region* rgn, std::size_t bytes) {
    region_ = rgn;
    running_.clear();
    pos_ = 0;
    stage_ = 0;
    top_ = -32768;
    done_ = rgn == nullptr || bytes < sizeof(Region);
    rectangular_ = !done_ && bytes <= sizeof(Region);
    words_ = nullptr;
    count_ = 0;
    if (!done_ && !rectangular_) {
        words_ = reinterpret_cast<const std::int16_t*>(reinterpret_cast<const char*>(rgn) + sizeof(Region));
        count_ = (bytes - sizeof(Region)) / 2;
    }
}

bool BandWalker::Next(Band& band) {
    if (done_) return false;
    if (rectangular_) {
        const Rect& box = region_->rgnBBox;
        // Above the box, the box itself, below it.
        if (stage_ == 0) {
            band = {-32768, box.top, nullptr, 0};
            stage_ = 1;
            return true;
        }
        if (stage_ == 1) {
            rect_[0] = box.left;
            rect_[1] = box.right;
            band = {box.top, box.bottom, rect_, box.left < box.right && box.top < box.bottom ? 2 : 0};
            stage_ = 2;
            return true;
        }
        band = {box.bottom, 32767, nullptr, 0};
        done_ = true;
        return true;
    }
    const auto peekRow = [&]() -> int { return pos_ < count_ ? words_[pos_] : kRegionEnd; };
    if (stage_ == 0) {
        // The rows above the first record.
        stage_ = 1;
        const int first = peekRow();
        band = {-32768, first, nullptr, 0};
        top_ = first;
        if (first == kRegionEnd) done_ = true;
        return true;
    }
    if (pos_ >= count_ || words_[pos_] == kRegionEnd) {
        done_ = true;
        return false;
    }
    const int row = words_[pos_++];
    const std::size_t start = pos_;
    while (pos_ < count_ && words_[pos_] != kRegionEnd)
        ++pos_;
    const std::size_t n = pos_ - start;
    if (pos_ < count_) ++pos_; // the record's end mark
    MergeInversionPoints(running_.data(), static_cast<int>(running_.size()), words_ + start,
                         static_cast<int>(n), scratch_);
    running_.swap(scratch_);
    int next = peekRow();
    if (next <= row) next = row + 1; // rows out of order: keep the walk moving down
    band = {row, next, running_.data(), static_cast<int>(running_.size()) & ~1};
    top_ = next;
    return true;
}

} // namespace qiva
