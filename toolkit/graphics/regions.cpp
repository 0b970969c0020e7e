#include "toolkit/graphics/regions.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/region_bands.h"
#include "toolkit/graphics/region_ops.h"

namespace qiva {

std::size_t RegionBytes(RgnHandle rgn) {
    if (rgn == nullptr || *rgn == nullptr) return 0;
    return RegionReadableBytes(*rgn, static_cast<std::size_t>(GetHandleSize(reinterpret_cast<Handle>(rgn))));
}

namespace {

void SetRegionSize(RgnHandle rgn, std::size_t bytes) {
    SetHandleSize(reinterpret_cast<Handle>(rgn), static_cast<Size>(bytes));
}

void StoreRect(RgnHandle rgn, const Rect& box) {
    if (GetHandleSize(reinterpret_cast<Handle>(rgn)) != 10) SetRegionSize(rgn, 10);
    if (*rgn == nullptr || MemError() != noErr) return;
    (*rgn)->rgnSize = 10;
    (*rgn)->rgnBBox = box;
}

std::span<const std::int16_t> WordsOf(RgnHandle rgn) {
    return {reinterpret_cast<const std::int16_t*>(*rgn), RegionBytes(rgn) / 2};
}

// Replaces dst by a whole region record.
void StoreWords(RgnHandle dst, const std::vector<std::int16_t>& words) {
    const std::size_t bytes = words.size() * 2;
    SetRegionSize(dst, bytes);
    if (*dst == nullptr || MemError() != noErr) return;
    std::memcpy(*dst, words.data(), bytes);
}

region::Engine& TheEngine() {
    static region::Engine engine;
    return engine;
}

} // namespace

void StoreRegion(RgnHandle dst, const std::int16_t* words, std::size_t count) {
    if (dst == nullptr) return;
    std::vector<std::int16_t> record(5 + count, 0);
    record[0] = static_cast<std::int16_t>(std::min<std::size_t>(10 + 2 * count, 32766));
    std::copy(words, words + count, record.begin() + 5);
    std::vector<std::int16_t> out;
    TheEngine().Normalise(record, out);
    StoreWords(dst, out);
}

} // namespace qiva

RgnHandle NewRgn() {
    auto rgn = reinterpret_cast<RgnHandle>(NewHandle(10));
    if (rgn == nullptr) return nullptr;
    (*rgn)->rgnSize = 10;
    (*rgn)->rgnBBox = Rect{0, 0, 0, 0};
    return rgn;
}

void DisposeRgn(RgnHandle rgn) {
    if (rgn != nullptr) DisposeHandle(reinterpret_cast<Handle>(rgn));
}

void CopyRgn(RgnHandle src, RgnHandle dst) {
    if (src == nullptr || dst == nullptr || src == dst || *src == nullptr) return;
    const std::size_t bytes = std::max<std::size_t>(qiva::RegionBytes(src), 10);
    SetHandleSize(reinterpret_cast<Handle>(dst), static_cast<Size>(bytes));
    if (MemError() != noErr || *dst == nullptr) return;
    std::memcpy(*dst, *src, bytes);
    (*dst)->rgnSize = static_cast<std::int16_t>(bytes);
}

void SetEmptyRgn(RgnHandle rgn) {
    if (rgn != nullptr) qiva::StoreRect(rgn, Rect{0, 0, 0, 0});
}

void SetRectRgn(RgnHandle rgn, int left, int top, int right, int bottom) {
    if (rgn == nullptr) return;
    Rect r;
    SetRect(&r, left, top, right, bottom);
    if (EmptyRect(&r))
        SetEmptyRgn(rgn);
    else
        qiva::StoreRect(rgn, r);
}

void RectRgn(RgnHandle rgn, const Rect* r) {
    SetRectRgn(rgn, r->left, r->top, r->right, r->bottom);
}

void OffsetRgn(RgnHandle rgn, int dh, int dv) {
    if (rgn == nullptr || *rgn == nullptr || (dh == 0 && dv == 0)) return;
    const auto h = qiva::Clamp16(dh), v = qiva::Clamp16(dv);
    const std::size_t count = qiva::RegionBytes(rgn) / 2;
    if (qiva::region::OffsetInPlace({reinterpret_cast<std::int16_t*>(*rgn), count}, h, v)) return;
    std::vector<std::int16_t> out;
    qiva::TheEngine().Offset(qiva::WordsOf(rgn), h, v, out);
    qiva::StoreWords(rgn, out);
}

bool EmptyRgn(RgnHandle rgn) {
    return rgn == nullptr || *rgn == nullptr || EmptyRect(&(*rgn)->rgnBBox);
}

void SectRgn(RgnHandle src1, RgnHandle src2, RgnHandle dst) {
    if (src1 == nullptr || src2 == nullptr || dst == nullptr || *src1 == nullptr || *src2 == nullptr) return;
    std::vector<std::int16_t> out;
    qiva::TheEngine().Combine(qiva::region::Op::Sect, qiva::WordsOf(src1), qiva::WordsOf(src2), out);
    qiva::StoreWords(dst, out);
}
