#include "toolkit/graphics/pict_scale.h"

#include <algorithm>
#include <cstdlib>

namespace qiva::pict {

namespace {

std::int16_t Saturate(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, INT16_MIN, INT16_MAX));
}

// Region coordinates stay within the range the region engine works with: 32767 is its end marker.
std::int16_t RegionCoord(std::int16_t v) {
    return std::clamp(v, region::kLow, region::kHigh);
}

constexpr int kOpenEnded = 30000;

} // namespace

Scaler::Scaler(Rect16 frame, Rect16 dst)
    : frame_(frame), dst_(dst), dstW_(std::int64_t(dst.right) - dst.left),
      frameW_(std::max<std::int64_t>(1, std::int64_t(frame.right) - frame.left)),
      dstH_(std::int64_t(dst.bottom) - dst.top),
      frameH_(std::max<std::int64_t>(1, std::int64_t(frame.bottom) - frame.top)) {}

std::int16_t Scaler::Width(std::int32_t x) const {
    return Saturate(x * dstW_ / frameW_);
}

std::int16_t Scaler::Height(std::int32_t y) const {
    return Saturate(y * dstH_ / frameH_);
}

std::int16_t Scaler::MapH(std::int32_t h) const {
    return Saturate((h - std::int64_t(frame_.left)) * dstW_ / frameW_ + dst_.left);
}

std::int16_t Scaler::MapV(std::int32_t v) const {
    return Saturate((v - std::int64_t(frame_.top)) * dstH_ / frameH_ + dst_.top);
}

Point16 Scaler::PenSize(Point16 size) const {
    if (size.v == 0 || size.h == 0) return size;
    return {std::max<std::int16_t>(1, Height(size.v)), std::max<std::int16_t>(1, Width(size.h))};
}

std::int16_t Scaler::TextSize(std::int16_t size) const {
    const std::int32_t s = size == 0 ? 12 : size;
    return std::max<std::int16_t>(1, std::min(Width(s), Height(s)));
}

std::int32_t Scaler::SpaceExtra(std::int32_t extra) const {
    const std::int64_t v = extra * dstW_ / frameW_;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

void Scaler::MapRegion(region::Words rgn, std::vector<std::int16_t>& out, region::Engine& engine) const {
    auto mapH = [&](std::int16_t h) { return std::abs(h) >= kOpenEnded ? h : RegionCoord(MapH(h)); };
    auto mapV = [&](std::int16_t v) { return std::abs(v) >= kOpenEnded ? v : RegionCoord(MapV(v)); };
    if (rgn.size() < region::kHeaderWords) {
        region::MakeRect(out, 0, 0, 0, 0);
        return;
    }
    if (region::IsRectangular(rgn)) {
        region::MakeRect(out, mapV(rgn[1]), mapH(rgn[2]), mapV(rgn[3]), mapH(rgn[4]));
        return;
    }
    std::vector<std::int16_t> mapped(rgn.begin(), rgn.end());
    mapped[1] = mapV(mapped[1]);
    mapped[2] = mapH(mapped[2]);
    mapped[3] = mapV(mapped[3]);
    mapped[4] = mapH(mapped[4]);
    std::size_t i = region::kHeaderWords;
    const std::size_t n = mapped.size();
    while (i < n && mapped[i] != region::kEnd) {
        mapped[i] = RegionCoord(MapV(mapped[i])); // a scanline's row is always mapped
        ++i;
        while (i < n && mapped[i] != region::kEnd) {
            mapped[i] = mapH(mapped[i]);
            ++i;
        }
        ++i; // the record's end marker
    }
    engine.Normalise(mapped, out);
}

void Scaler::MapPolygon(std::span<const std::int16_t> poly, std::vector<std::int16_t>& out) const {
    out.assign(poly.begin(), poly.end());
    if (out.size() < 5) return;
    out[1] = MapV(out[1]);
    out[2] = MapH(out[2]);
    out[3] = MapV(out[3]);
    out[4] = MapH(out[4]);
    for (std::size_t i = 5; i + 1 < out.size(); i += 2) {
        out[i] = MapV(out[i]);
        out[i + 1] = MapH(out[i + 1]);
    }
}

} // namespace qiva::pict
