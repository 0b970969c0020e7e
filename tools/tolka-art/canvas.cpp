#include "canvas.h"

#include "platform/file_io.h"
#include "platform/png.h"

#include <algorithm>
#include <cmath>

namespace tolka_art {

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
Rgb Hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

Canvas::Canvas(int width, int height)
    : w_(width), h_(height), c_(std::size_t(width) * height), a_(c_.size(), 0) {}

Rgb Canvas::Get(int x, int y) const {
    return c_[Index(x, y)];
}

void Canvas::Blend(int x, int y, Rgb c, float alpha) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) return;
    alpha = std::min(alpha, 1.0f);
    const std::size_t i = Index(x, y);
    const float a0 = a_[i];
    const float out = alpha + a0 * (1 - alpha);
    if (out <= 0) return;
    const Rgb old = c_[i];
    c_[i] = {(c.r * alpha + old.r * a0 * (1 - alpha)) / out, (c.g * alpha + old.g * a0 * (1 - alpha)) / out,
             (c.b * alpha + old.b * a0 * (1 - alpha)) / out};
    a_[i] = out;
}

void Canvas::Set(int x, int y, Rgb c, float alpha) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    c_[Index(x, y)] = c;
    a_[Index(x, y)] = alpha;
}

Canvas Canvas::Mask() const {
    Canvas m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            m.Set(x, y, {0, 0, 0}, a_[Index(x, y)] >= 0.5f ? 1.0f : 0.0f);
    return m;
}

namespace {
std::uint8_t To8(float v) {
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<std::uint8_t>(std::lround(c * 255.0f));
}
} // namespace

std::string Canvas::WritePng(const std::string& path, bool hardAlpha) const {
    std::vector<std::uint8_t> rgba(std::size_t(w_) * h_ * 4);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const Rgb c = c_[Index(x, y)];
            const float a = a_[Index(x, y)];
            const bool on = a >= 0.5f;
            std::uint8_t* px = &rgba[Index(x, y) * 4];
            px[0] = hardAlpha && !on ? 0 : To8(c.r);
            px[1] = hardAlpha && !on ? 0 : To8(c.g);
            px[2] = hardAlpha && !on ? 0 : To8(c.b);
            px[3] = hardAlpha ? (on ? 255 : 0) : To8(a);
        }
    }
    std::vector<std::uint8_t> png;
    if (std::string error = platform::EncodeTrueColourPng(w_, h_, 4, rgba, png); !error.empty())
        return path + ": " + error;
    return platform::WriteOutputFile(path, {reinterpret_cast<const char*>(png.data()), png.size()});
}

float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
    std::uint32_t h = a * 0x8da6b343u ^ b * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / float(0x1000000);
}

namespace {
float Smooth(float t) {
    return t * t * (3 - 2 * t);
}
int Wrap(int v, int p) {
    return ((v % p) + p) % p;
}
} // namespace

float Noise(float x, float y, float cell, int px, int py, std::uint32_t seed) {
    const float fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = Smooth(fx - ix), ty = Smooth(fy - iy);
    auto at = [&](int cx, int cy) { return Hash01(Wrap(cx, px), Wrap(cy, py), seed); };
    const float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, float cell, int px, int py, int octaves, std::uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise(x, y, cell, px, py, seed + o * 101) * weight;
        total += weight;
        weight *= 0.5f;
        cell *= 0.5f;
        px *= 2;
        py *= 2;
    }
    return sum / total;
}

Rgb Shade(Rgb base, float nx, float ny, float nz, float ambient, float gloss, float shininess) {
    const Light l;
    const float len = std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);
    const float lx = l.x / len, ly = l.y / len, lz = l.z / len;
    const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    // Half vector between the light and the viewer (0, 0, 1).
    float hx = lx, hy = ly, hz = lz + 1;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    hx /= hl, hy /= hl, hz /= hl;
    const float glint = std::pow(std::max(0.0f, nx * hx + ny * hy + nz * hz), shininess) * gloss;
    const float k = ambient + (1 - ambient) * diffuse;
    return {base.r * k + glint, base.g * k + glint, base.b * k + glint};
}

} // namespace tolka_art
