#include "toolkit/graphics/shape_geometry.h"

#include <cmath>
#include <cstdint>

namespace qiva::shapes {

namespace {

// Largest x >= 0 with x * x * b2 <= t (all within 64 bits: the rectangle's sides are below 65536).
std::int64_t RootBelow(std::uint64_t t, std::uint64_t b2) {
    auto x = static_cast<std::int64_t>(std::sqrt(static_cast<double>(t) / static_cast<double>(b2)));
    const auto fits = [&](std::int64_t c) { return static_cast<std::uint64_t>(c * c) * b2 <= t; };
    while (x > 0 && !fits(x))
        --x;
    while (fits(x + 1))
        ++x;
    return x;
}

} // namespace

void OvalSpans(int left, int top, int right, int bottom, std::vector<Span>& out) {
    out.clear();
    const std::int64_t width = std::int64_t{right} - left, height = std::int64_t{bottom} - top;
    if (width <= 0 || height <= 0) return;
    // In doubled coordinates about the centre, pixel column c is X = 2c + 1 - width and row i is
    // Y = 2i + 1 - height; the pixel is inside when X²·height² + Y²·width² <= width²·height².
    const auto w2 = static_cast<std::uint64_t>(width * width),
               h2 = static_cast<std::uint64_t>(height * height);
    const std::int64_t smallest = (width & 1) ? 0 : 1; // the middle pixel, or the middle two
    out.resize(static_cast<std::size_t>(height));
    for (std::int64_t i = 0; i < (height + 1) / 2; ++i) {
        const std::int64_t y = 2 * i + 1 - height;
        std::int64_t x = RootBelow(w2 * (h2 - static_cast<std::uint64_t>(y * y)), h2);
        if ((x - smallest) & 1) --x;
        x = std::max(x, smallest);
        if (i == (height - 1) / 2)
            x = width - 1; // the middle row(s) reach both sides even where their centres are outside
        const Span span{static_cast<int>(left + (width - 1 - x) / 2),
                        static_cast<int>(left + (width - 1 + x) / 2)};
        out[static_cast<std::size_t>(i)] = span;
        out[static_cast<std::size_t>(height - 1 - i)] = span;
    }
}

int CornerRadius(int width, int height, int ovalWidth, int ovalHeight) {
    const int radius = std::min(ovalWidth, ovalHeight) / 2;
    return std::clamp(radius, 0, std::max(0, std::min(width, height) / 2));
}

void CornerIndents(int radius, std::vector<int>& out) {
    out.assign(static_cast<std::size_t>(radius) + 1, 0);
    const auto run = [&](int x, int y) {
        out[static_cast<std::size_t>(radius - y)] = std::max(0, radius - x);
    };
    int x = 0, y = radius, d = radius / 4;
    while (y >= 0) {
        if (x < y) {
            d += 2 * x + 1;
            ++x;
            if (y <= d) {
                d += 1 - 2 * y;
                run(x, y);
                --y;
            }
        } else {
            d += 1 - 2 * y;
            run(x, y);
            --y;
            if (d != -x && x <= -d) {
                d += 2 * x + 1;
                ++x;
            }
        }
    }
}

void RoundRectSpans(int left, int top, int right, int bottom, int ovalWidth, int ovalHeight,
                    std::vector<Span>& out) {
    out.clear();
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return;
    const int radius = CornerRadius(width, height, ovalWidth, ovalHeight);
    std::vector<int> indents;
    CornerIndents(radius, indents);
    out.resize(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i) {
        const int fromTop = i, fromBottom = height - 1 - i;
        int indent = 0;
        if (fromTop <= radius) indent = indents[static_cast<std::size_t>(fromTop)];
        if (fromBottom <= radius) indent = std::max(indent, indents[static_cast<std::size_t>(fromBottom)]);
        indent = std::min(indent, (width - 1) / 2);
        out[static_cast<std::size_t>(i)] = {left + indent, right - 1 - indent};
    }
}

void ArcPoint(int left, int top, int right, int bottom, int angle, int& h, int& v) {
    const int centreH = (left + right) / 2, centreV = (top + bottom) / 2;
    const int halfWidth = (right - left) / 2, halfHeight = (bottom - top) / 2;
    const double theta = (90 - angle) * 3.1415926 * (1.0 / 180);
    h = static_cast<int>(std::floor(centreH + 0.5 + std::cos(theta) * halfWidth));
    v = static_cast<int>(std::floor(centreV + 0.5 - std::sin(theta) * halfHeight));
}

ArcTest::ArcTest(int left, int top, int right, int bottom, int startAngle, int arcAngle)
    : centreH_((left + right) / 2.0), centreV_((top + bottom) / 2.0),
      halfWidth_(std::max(0.5, (right - left) / 2.0)), halfHeight_(std::max(0.5, (bottom - top) / 2.0)) {
    if (arcAngle == 0) {
        none_ = true;
        return;
    }
    if (arcAngle >= 360 || arcAngle <= -360) {
        full_ = true;
        return;
    }
    const int from = arcAngle > 0 ? startAngle : startAngle + arcAngle;
    from_ = ((from % 360) + 360) % 360;
    span_ = std::abs(arcAngle);
}

bool ArcTest::Contains(int h, int v) const {
    if (none_) return false;
    if (full_) return true;
    const double dx = (h + 0.5 - centreH_) / halfWidth_, dy = (v + 0.5 - centreV_) / halfHeight_;
    double angle = std::atan2(dx, -dy) * (180 / 3.14159265358979323846) - from_;
    while (angle < 0)
        angle += 360;
    while (angle >= 360)
        angle -= 360;
    return angle <= span_;
}

} // namespace qiva::shapes
