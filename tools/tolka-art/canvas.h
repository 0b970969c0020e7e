#pragma once
// A floating-point RGBA canvas with the few operations the art needs: periodic value noise (so that
// tiles join), shaded ellipsoids, capsules and a PNG writer. Everything is deterministic: the noise
// comes from an integer hash, never from a clock or a global generator.

#include <cstdint>
#include <string>
#include <vector>

namespace tolka_art {

struct Rgb {
    float r = 0, g = 0, b = 0;
};
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float k);
Rgb Hex(std::uint32_t rgb);

class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb Get(int x, int y) const;
    float Alpha(int x, int y) const { return a_[Index(x, y)]; }
    // Blends colour c over the pixel with coverage `alpha`.
    void Blend(int x, int y, Rgb c, float alpha);
    void Set(int x, int y, Rgb c, float alpha = 1);
    // Writes RGBA 8-bit; `opaque` drops the alpha channel's partial values (0 or 255 by threshold).
    std::string WritePng(const std::string& path, bool hardAlpha) const;
    // A copy whose alpha is 1 where this one is at least half covered, 0 elsewhere; colour black.
    Canvas Mask() const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * w_ + x; }
    int w_, h_;
    std::vector<Rgb> c_;
    std::vector<float> a_;
};

// Value noise in [0, 1] with period px × py cells of size `cell` (pixels); seed picks the field.
float Noise(float x, float y, float cell, int px, int py, std::uint32_t seed);
// Sum of octaves, each half the cell size and double the period, normalised to [0, 1].
float Fbm(float x, float y, float cell, int px, int py, int octaves, std::uint32_t seed);
// An integer hash in [0, 1).
float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

// Light from the upper left, a little toward the viewer.
struct Light {
    float x = -0.45f, y = -0.6f, z = 0.66f;
};
// Lambert plus a Blinn highlight for a surface normal (nx, ny, nz) of a glossy material.
Rgb Shade(Rgb base, float nx, float ny, float nz, float ambient, float gloss, float shininess);

} // namespace tolka_art
