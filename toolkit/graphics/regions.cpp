#include "toolkit/graphics/regions.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/core/memory.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/region_bands.h"

namespace qiva {

namespace {

Handle AsHandle(RgnHandle rgn) {
    return reinterpret_cast<Handle>(rgn);
}

// Where results are built before they are copied into their destination, so that resizing the
// destination can never move words that are still being read.
std::vector<std::int16_t>& RegionResult() {
    static std::vector<std::int16_t> result;
    return result;
}

void Combine(region::Op op, RgnHandle a, RgnHandle b, RgnHandle dst) {
    if (dst == nullptr) return;
    RegionEngine().Combine(op, RegionWords(a), RegionWords(b), RegionResult());
    StoreRecord(dst, RegionResult());
}

} // namespace

region::Engine& RegionEngine() {
    static region::Engine engine;
    return engine;
}

region::Words RegionWords(RgnHandle rgn) {
    if (rgn == nullptr || *rgn == nullptr) return {};
    const Size bytes = GetHandleSize(AsHandle(rgn));
    if (bytes <= 0) return {};
    return {reinterpret_cast<const std::int16_t*>(*rgn), static_cast<std::size_t>(bytes) / 2};
}

void StoreRecord(RgnHandle rgn, region::Words words) {
    if (rgn == nullptr) return;
    const auto bytes = static_cast<Size>(words.size() * 2);
    if (GetHandleSize(AsHandle(rgn)) != bytes || *rgn == nullptr) {
        SetHandleSize(AsHandle(rgn), bytes);
        if (MemError() != noErr || *rgn == nullptr) return;
    }
    std::memcpy(*rgn, words.data(), static_cast<std::size_t>(bytes));
}

void StoreRegion(RgnHandle dst, const std::int16_t* words, std::size_t count) {
    static std::vector<std::int16_t> record;
    record.assign({region::kLargeSize, 0, 0, 0, 0}); // any size but a rectangle's: the words are read
    record.insert(record.end(), words, words + count);
    record.push_back(region::kEnd); // in case the words lack their final mark
    RegionEngine().Normalise(record, RegionResult());
    StoreRecord(dst, RegionResult());
}

std::size_t RegionBytes(RgnHandle rgn) {
    if (rgn == nullptr || *rgn == nullptr) return 0;
    return RegionReadableBytes(*rgn,
                               static_cast<std::size_t>(std::max<Size>(GetHandleSize(AsHandle(rgn)), 0)));
}

} // namespace qiva

using qiva::RegionEngine;
using qiva::RegionWords;
using qiva::StoreRecord;
namespace region = qiva::region;

RgnHandle NewRgn() {
    const auto rgn = reinterpret_cast<RgnHandle>(NewHandle(sizeof(Region)));
    if (rgn != nullptr) SetEmptyRgn(rgn);
    return rgn;
}

void DisposeRgn(RgnHandle rgn) {
    DisposeHandle(reinterpret_cast<Handle>(rgn));
}

void CopyRgn(RgnHandle src, RgnHandle dst) {
    if (src == dst || dst == nullptr) return;
    const region::Words words = RegionWords(src);
    auto& copy = qiva::RegionResult();
    if (words.size() < region::kHeaderWords)
        region::MakeRect(copy, 0, 0, 0, 0);
    else
        copy.assign(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(region::WordCount(words)));
    StoreRecord(dst, copy);
}

void SetEmptyRgn(RgnHandle rgn) {
    SetRectRgn(rgn, 0, 0, 0, 0);
}

void SetRectRgn(RgnHandle rgn, int left, int top, int right, int bottom) {
    std::int16_t words[region::kHeaderWords] = {region::kRectSize, 0, 0, 0, 0};
    if (left < right && top < bottom) {
        words[1] = qiva::Clamp16(top);
        words[2] = qiva::Clamp16(left);
        words[3] = qiva::Clamp16(bottom);
        words[4] = qiva::Clamp16(right);
    }
    StoreRecord(rgn, words);
}

void RectRgn(RgnHandle rgn, const Rect* r) {
    if (r != nullptr) SetRectRgn(rgn, r->left, r->top, r->right, r->bottom);
}

void OffsetRgn(RgnHandle rgn, int dh, int dv) {
    const region::Words words = RegionWords(rgn);
    if (words.size() < region::kHeaderWords || (dh == 0 && dv == 0)) return;
    const std::int16_t h = qiva::Clamp16(dh), v = qiva::Clamp16(dv);
    if (region::OffsetInPlace({reinterpret_cast<std::int16_t*>(*rgn), words.size()}, h, v)) return;
    RegionEngine().Offset(words, h, v, qiva::RegionResult());
    StoreRecord(rgn, qiva::RegionResult());
}

void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
    qiva::Combine(region::Op::Sect, a, b, dst);
}
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
    qiva::Combine(region::Op::Union, a, b, dst);
}
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
    qiva::Combine(region::Op::Diff, a, b, dst);
}
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
    qiva::Combine(region::Op::Xor, a, b, dst);
}

bool EmptyRgn(RgnHandle rgn) {
    return region::IsEmpty(RegionWords(rgn));
}

bool EqualRgn(RgnHandle a, RgnHandle b) {
    const region::Words x = RegionWords(a), y = RegionWords(b);
    if (region::IsEmpty(x) || region::IsEmpty(y)) return region::IsEmpty(x) && region::IsEmpty(y);
    const std::size_t n = region::WordCount(x);
    return n == region::WordCount(y) &&
           std::equal(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n), y.begin());
}

bool PtInRgn(Point pt, RgnHandle rgn) {
    return RegionEngine().PtIn(RegionWords(rgn), pt.v, pt.h);
}

bool RectInRgn(const Rect* r, RgnHandle rgn) {
    return r != nullptr && RegionEngine().RectIn(RegionWords(rgn), r->top, r->left, r->bottom, r->right);
}
