#include "pictures.h"

#include <algorithm>
#include <cmath>

namespace tolka_art {
namespace {

constexpr float kPi = 3.14159265f;

float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
float SmoothStep(float a, float b, float v) {
    const float t = Clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// ---- Wood ----

struct WoodTone {
    Rgb light, dark;
    float ringsPerPixel; // across the grain (y)
    float wobble;        // how far the grain wanders
    std::uint32_t seed;
};

// Grain running along x; periodic in x with period px (pixels) and in y with period py.
Rgb Wood(const WoodTone& t, float x, float y, int px, int py) {
    const float cell = 16;
    const float warp = Fbm(x, y, cell, std::max(1, int(px / cell)), std::max(1, int(py / cell)), 3, t.seed);
    const float g = y * t.ringsPerPixel + warp * t.wobble;
    const float ring = g - std::floor(g);
    const float line = std::pow(std::sin(ring * kPi), 8.0f); // thin dark late-wood lines
    const float fibre = Noise(x, y * 6, 4, std::max(1, px / 4), std::max(1, py * 6 / 4), t.seed + 7);
    const float shade = Clamp01(0.25f + 0.5f * warp + 0.45f * line + 0.15f * (fibre - 0.5f));
    return Mix(t.light, t.dark, shade);
}

const WoodTone kBoardWood{Hex(0xD9A35E), Hex(0x9C6330), 0.09f, 1.3f, 11};
const WoodTone kBowlWood{Hex(0xC78B4A), Hex(0x7E4A22), 0.11f, 1.2f, 23};
const WoodTone kTableWood{Hex(0x6A4328), Hex(0x39200F), 0.0625f, 1.0f, 37};
const WoodTone kBlockWood{Hex(0x8A5A30), Hex(0x55331A), 0.125f, 1.5f, 41};

// Samples f on an n × n grid inside each pixel and writes the average, opaque.
template <class F>
void Supersample(Canvas& c, int n, F f) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Rgb sum{};
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const Rgb s = f(x + (i + 0.5f) / n, y + (j + 0.5f) / n);
                    sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b};
                }
            c.Set(x, y, Scale(sum, 1.0f / (n * n)));
        }
}

// ---- Board pieces ----

Canvas Pit() {
    Canvas c(95, 95);
    const float cx = 47.5f, cy = 47.5f, rim = 43.0f, bowl = 39.5f;
    Supersample(c, 3, [&](float x, float y) {
        const float dx = x - cx, dy = y - cy, r = std::sqrt(dx * dx + dy * dy);
        Rgb board = Wood(kBoardWood, x, y, 95, 95);
        if (r >= rim) {
            // The flat board, a shade darker toward the pit's lower right: the lip's cast shadow.
            const float shadow = SmoothStep(rim + 5, rim, r) * Clamp01((dx + dy) / (rim * 1.2f) + 0.2f);
            return Scale(board, 1 - 0.22f * shadow);
        }
        if (r >= bowl) {
            // The raised lip: convex, lit on the upper left.
            const float t = (r - bowl) / (rim - bowl); // 0 inner edge, 1 outer edge
            const float slope = (t - 0.5f) * 1.6f;     // normal tilts inward then outward
            const float nx = dx / r * slope, ny = dy / r * slope;
            return Shade(Scale(board, 1.08f), nx, ny, 1.0f, 0.55f, 0.18f, 12);
        }
        // The bowl: concave, so its upper-left wall is in shade and its lower-right wall in light.
        const float depth = r / bowl;
        const float k = 0.95f * std::pow(depth, 1.6f);
        const float nx = -dx / r * k, ny = -dy / r * k;
        const float nz = std::sqrt(std::max(0.05f, 1 - k * k));
        Rgb wood = Wood(kBowlWood, x * 1.1f, y * 0.9f + 7, 95, 95);
        wood = Scale(wood, 0.86f - 0.12f * (1 - depth)); // oiled and darker at the bottom
        const float occlusion =
            1 - 0.35f * SmoothStep(0.75f, 1.0f, depth) * Clamp01(-(dx + dy) / (bowl * 1.1f) + 0.3f);
        return Scale(Shade(wood, nx, ny, nz, 0.5f, 0.22f, 20), occlusion);
    });
    return c;
}

// The rounded ends of the board: a bevel catching the light on the left, in shade on the right.
Canvas BoardEnd(bool left) {
    Canvas c(20, 107);
    Supersample(c, 2, [&](float x, float y) {
        const float u = left ? x / 20 : (20 - x) / 20; // 0 at the outer edge
        const Rgb wood = Wood(kBoardWood, x + (left ? 0 : 37), y, 20, 107);
        const float slope = 1 - SmoothStep(0.0f, 0.85f, u); // curved toward the edge
        const float nx = (left ? -1 : 1) * slope;
        Rgb lit = Shade(wood, nx, 0, 1.0f, 0.6f, 0.15f, 10);
        if (u < 0.08f) lit = Scale(lit, 0.55f); // the dark outline of the edge
        return lit;
    });
    return c;
}

// Along the front of the bottom row: the board's edge seen face on, then its shadow on the table.
Canvas FrontEdge() {
    Canvas c(64, 20);
    Supersample(c, 2, [&](float x, float y) {
        if (y < 2) return Scale(Wood(kBoardWood, x, y, 64, 20), 1.18f); // the lit top edge
        if (y < 13) {
            const Rgb face = Wood({Hex(0xA8703A), Hex(0x6E4020), 0.3f, 1.4f, 53}, x, y, 64, 20);
            return Scale(face, 0.95f - 0.02f * (y - 2));
        }
        const Rgb table = Wood(kTableWood, x, y + 29, 64, 64);
        return Scale(table, 0.45f + 0.55f * SmoothStep(13, 20, y)); // the board's shadow fades out
    });
    return c;
}

Canvas TableTile() {
    Canvas c(64, 64);
    Supersample(c, 2, [&](float x, float y) { return Wood(kTableWood, x, y, 64, 64); });
    return c;
}

// A carved wooden block, bevelled on four sides; laid in staggered rows round the board.
Canvas BorderBlock() {
    Canvas c(32, 32);
    Supersample(c, 2, [&](float x, float y) {
        const Rgb wood = Wood(kBlockWood, x, y, 32, 32);
        const float b = 3.5f;
        const float l = x, t = y, r = 32 - x, d = 32 - y;
        const float m = std::min({l, t, r, d});
        if (m < 0.8f) return Scale(wood, 0.45f); // the joint between blocks
        if (m < b) {
            float nx = 0, ny = 0;
            if (m == l)
                nx = -0.8f;
            else if (m == r)
                nx = 0.8f;
            else if (m == t)
                ny = -0.8f;
            else
                ny = 0.8f;
            return Shade(wood, nx, ny, 0.6f, 0.5f, 0.1f, 8);
        }
        return Shade(wood, 0, 0, 1, 0.55f, 0.05f, 8);
    });
    return c;
}

// ---- Hands ----

float Capsule(float px, float py, float ax, float ay, float bx, float by, float r) {
    const float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    const float h = Clamp01((pax * bax + pay * bay) / (bax * bax + bay * bay));
    const float dx = pax - bax * h, dy = pay - bay * h;
    return std::sqrt(dx * dx + dy * dy) - r;
}
float Ellipse(float px, float py, float cx, float cy, float rx, float ry) {
    const float dx = (px - cx) / rx, dy = (py - cy) / ry;
    return (std::sqrt(dx * dx + dy * dy) - 1) * std::min(rx, ry);
}
float SmoothMin(float a, float b, float k) {
    const float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return b + (a - b) * h - k * h * (1 - h);
}

struct HandStyle {
    Rgb skin, sleeve, cuff;
};
const HandStyle kPlayerHand{Hex(0xE8B98F), Hex(0x2F4E8C), Hex(0xE3C46A)};
const HandStyle kComputerHand{Hex(0xB9784C), Hex(0x8E2F26), Hex(0xE3C46A)};

// A hand reaching with its fingertips toward v = 0, its arm running toward larger v. In hand
// coordinates u runs across (0 to 96) and v along the arm. Returns the distance to the skin and to
// the sleeve (negative inside), and a crease factor between the fingers.
struct HandSample {
    float skin, sleeve, crease;
};
HandSample ReachingHand(float u, float v, float armLength) {
    const float f[4][3] = {
        {34, 24, 6.0f}, {44, 14, 6.2f}, {54, 15, 6.2f}, {63, 25, 5.6f}}; // x, tip v, radius
    float fingers = 1e9f, second = 1e9f;
    for (const auto& g : f) {
        const float d = Capsule(u, v, g[0], g[1] + g[2], g[0] + (g[0] - 48) * 0.08f, 52, g[2]);
        if (d < fingers) {
            second = fingers;
            fingers = d;
        } else {
            second = std::min(second, d);
        }
    }
    const float palm = Ellipse(u, v, 48, 62, 21, 20);
    const float thumb = Capsule(u, v, 72, 66, 76, 44, 6.0f);
    float skin = SmoothMin(SmoothMin(fingers, palm, 5), thumb, 3);
    const float wrist = Capsule(u, v, 48, 70, 48, armLength - 40, 15);
    skin = SmoothMin(skin, wrist, 6);
    const float sleeve = std::max(std::fabs(u - 48) - 21, 92 - v); // cut square at the cuff
    // Creases where two fingers meet inside the skin, above the knuckles.
    const float crease =
        (v < 50 && fingers < 0) ? 1 - SmoothStep(0.0f, 1.6f, std::fabs(second - fingers)) : 0;
    return {skin, sleeve, crease};
}

// Draws the hand into the canvas, fingertips at the bottom (down) or at the top, mirrored or not.
Canvas Hand(int width, int height, bool down, bool mirrored, const HandStyle& style) {
    Canvas c(width, height);
    const float arm = height + 10;
    auto map = [&](float x, float y, float& u, float& v) {
        u = mirrored ? width - x : x;
        v = down ? height - y : y;
    };
    auto sample = [&](float x, float y) {
        float u, v;
        map(x, y, u, v);
        return ReachingHand(u, v, arm);
    };
    const int n = 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb sum{};
            int covered = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const float sx = x + (i + 0.5f) / n, sy = y + (j + 0.5f) / n;
                    const HandSample s = sample(sx, sy);
                    const float d = std::min(s.skin, s.sleeve);
                    if (d > 0) continue;
                    ++covered;
                    // A pillow-shaped height from the distance inside; its slope gives the normal.
                    auto height01 = [&](float px, float py) {
                        const HandSample h = sample(px, py);
                        const float dd = std::min(h.skin, h.sleeve);
                        return std::sqrt(Clamp01(-dd / 9.0f));
                    };
                    const float e = 0.7f;
                    const float gx = (height01(sx + e, sy) - height01(sx - e, sy)) / (2 * e);
                    const float gy = (height01(sx, sy + e) - height01(sx, sy - e)) / (2 * e);
                    const float nx = -gx * 6, ny = -gy * 6, len = std::sqrt(nx * nx + ny * ny + 1);
                    Rgb base;
                    float gloss = 0.12f;
                    if (s.sleeve < 0 || s.skin > 0) {
                        float u, v;
                        map(sx, sy, u, v);
                        const bool cuff = v > 92 && v < 103;
                        base = cuff ? style.cuff : style.sleeve;
                        const float weave = Noise(sx * 2, sy * 2, 2, 1000, 1000, 91);
                        base = Scale(base, 0.92f + 0.16f * weave);
                        gloss = cuff ? 0.3f : 0.05f;
                    } else {
                        base = Scale(style.skin, 1 - 0.35f * s.crease);
                    }
                    Rgb lit = Shade(base, nx / len, ny / len, 1 / len, 0.45f, gloss, 14);
                    if (d > -0.9f) lit = Scale(lit, 0.55f); // a dark outline keeps the shape readable
                    sum = {sum.r + lit.r, sum.g + lit.g, sum.b + lit.b};
                }
            if (covered) c.Set(x, y, Scale(sum, 1.0f / covered), covered / float(n * n));
        }
    return c;
}

// ---- The who-starts fists and open hands: a carved plaque with a hand in relief ----

Rgb Plaque(float x, float y) {
    const Rgb wood = Wood(kBoardWood, x + 11, y + 5, 64, 64);
    const float m = std::min({x, y, 64 - x, 64 - y});
    if (m < 1) return Scale(wood, 0.5f);
    if (m < 4) {
        const float nx = x < 4 ? -0.7f : (64 - x < 4 ? 0.7f : 0),
                    ny = y < 4 ? -0.7f : (64 - y < 4 ? 0.7f : 0);
        return Shade(wood, nx, ny, 0.7f, 0.55f, 0.1f, 8);
    }
    return Scale(wood, 0.97f);
}

// Open palm facing the viewer, fingers up; `thumbRight` for a left hand. The palm's centre is left
// bare at (32, 44), where the seed shows when the draw is won.
float OpenHand(float x, float y, bool thumbRight) {
    const float u = thumbRight ? x : 64 - x;
    float d = Ellipse(u, y, 31, 45, 13, 12);
    const float f[4][3] = {{21, 15, 3.6f}, {27.5f, 10, 3.8f}, {34.5f, 11, 3.8f}, {41, 16, 3.3f}};
    for (const auto& g : f)
        d = SmoothMin(d, Capsule(u, y, g[0], g[1], g[0] + (g[0] - 31) * 0.15f, 38, g[2]), 2.5f);
    d = SmoothMin(d, Capsule(u, y, 44, 48, 52, 34, 4.0f), 2);
    d = SmoothMin(d, Capsule(u, y, 31, 52, 31, 70, 9.5f), 3);
    return d;
}
// A fist seen from the front: four curled fingers side by side, the thumb across them, the wrist
// below. `crease` tells how close the point lies to a join between fingers or along the thumb.
float RoundBox(float px, float py, float cx, float cy, float hx, float hy, float r) {
    const float qx = std::fabs(px - cx) - hx + r, qy = std::fabs(py - cy) - hy + r;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}
float Fist(float x, float y, bool thumbRight, float* crease = nullptr) {
    const float u = thumbRight ? x : 64 - x;
    float fingers[4];
    float d = 1e9f;
    for (int k = 0; k < 4; ++k) {
        fingers[k] = RoundBox(u, y, 21.5f + 7 * k, 29 + (k == 0 || k == 3 ? 1.5f : 0), 3.9f, 9, 3.5f);
        d = std::min(d, fingers[k]);
    }
    const float thumb = Capsule(u, y, 22, 41, 40, 38, 4.6f);
    const float back = Ellipse(u, y, 32, 37, 15, 11);
    float body = SmoothMin(SmoothMin(d, back, 2), Capsule(u, y, 32, 46, 32, 70, 9.5f), 3);
    body = std::min(body, thumb);
    if (crease) {
        float c = 0;
        for (int k = 0; k < 3; ++k) {
            const float gap = std::fabs(fingers[k] - fingers[k + 1]);
            if (fingers[k] < 0.6f && fingers[k + 1] < 0.6f && thumb > 0.5f)
                c = std::max(c, 1 - SmoothStep(0, 1.3f, gap));
        }
        if (thumb > -1.2f && thumb < 0.2f && body < 0) c = std::max(c, 0.8f);
        *crease = c;
    }
    return body;
}

template <class Sdf, class Crease>
Canvas HandPlaque(Sdf sdf, Crease crease, bool closed) {
    Canvas c(64, 64);
    Supersample(c, 3, [&](float x, float y) {
        const float d = sdf(x, y);
        Rgb ground = Plaque(x, y);
        // A soft shadow of the hand on the plaque, toward the lower right.
        const float sd = sdf(x - 2, y - 2);
        if (d > 0) return Scale(ground, 1 - 0.3f * (1 - SmoothStep(0, 3, sd)));
        auto h = [&](float px, float py) { return std::sqrt(Clamp01(-sdf(px, py) / 6.0f)); };
        const float gx = (h(x + 0.6f, y) - h(x - 0.6f, y)) / 1.2f,
                    gy = (h(x, y + 0.6f) - h(x, y - 0.6f)) / 1.2f;
        const float nx = -gx * 5, ny = -gy * 5, len = std::sqrt(nx * nx + ny * ny + 1);
        const Rgb skin = closed ? Hex(0xDDAA80) : Hex(0xE8B98F);
        Rgb lit = Shade(Scale(skin, 1 - 0.4f * crease(x, y)), nx / len, ny / len, 1 / len, 0.5f, 0.12f, 14);
        if (d > -0.8f) lit = Scale(lit, 0.55f);
        if (y > 58) lit = Mix(lit, Hex(0x2F4E8C), 1); // the sleeve at the bottom edge
        return lit;
    });
    return c;
}

Canvas FistPlaque(bool thumbRight) {
    return HandPlaque([=](float x, float y) { return Fist(x, y, thumbRight); },
                      [=](float x, float y) {
                          float c = 0;
                          Fist(x, y, thumbRight, &c);
                          return c;
                      },
                      true);
}
Canvas OpenHandPlaque(bool thumbRight) {
    return HandPlaque([=](float x, float y) { return OpenHand(x, y, thumbRight); },
                      [](float, float) { return 0.0f; }, false);
}

// ---- Seeds ----

struct SeedLook {
    Rgb base, spot;
    float angle;  // radians, the bean's long axis
    float rx, ry; // half axes
    int pattern;  // 0 plain, 1 speckled, 2 eye, 3 striped, 4 mottled
    float gloss;
};

const SeedLook kSeeds[8] = {
    {Hex(0x7A3B1E), Hex(0x4A200E), 0.35f, 11.5f, 8.0f, 0, 0.55f}, // chestnut bean
    {Hex(0xB3262A), Hex(0x1B1310), -0.5f, 11.0f, 8.0f, 2, 0.6f},  // red bean with a black eye
    {Hex(0xEDE2C6), Hex(0x8A6A4A), 1.2f, 11.0f, 8.5f, 1, 0.4f},   // cream bean, speckled
    {Hex(0x2A2624), Hex(0x4A4440), -0.1f, 10.0f, 9.0f, 0, 0.75f}, // black seed, very glossy
    {Hex(0x7E8A4E), Hex(0x4E5A2C), 0.9f, 10.5f, 8.5f, 4, 0.35f},  // olive seed, mottled
    {Hex(0xE0902E), Hex(0xA85A14), -1.0f, 10.5f, 9.0f, 3, 0.5f},  // amber seed, striped
    {Hex(0xD9B98E), Hex(0x8E4A2A), 0.1f, 11.5f, 8.0f, 4, 0.4f},   // pinto bean
    {Hex(0x5C2A4E), Hex(0xE5D6C8), 1.6f, 11.0f, 7.8f, 2, 0.6f},   // plum bean with a pale eye
};

Canvas Seed(const SeedLook& s, int size, std::uint32_t seed) {
    Canvas c(size, size);
    const float k = size / 32.0f;
    const float cx = size / 2.0f - 0.5f * k, cy = size / 2.0f - 0.5f * k;
    const float ca = std::cos(s.angle), sa = std::sin(s.angle);
    const int n = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum{};
            int covered = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const float px = x + (i + 0.5f) / n - cx, py = y + (j + 0.5f) / n - cy;
                    // Bean space: a along the long axis, b across; a slight kidney bend.
                    const float a = (px * ca + py * sa) / k, b0 = (-px * sa + py * ca) / k;
                    const float b = b0 + 0.018f * a * a;
                    const float ea = a / s.rx, eb = b / s.ry, r2 = ea * ea + eb * eb;
                    if (r2 > 1) continue;
                    ++covered;
                    const float nz = std::sqrt(1 - r2);
                    // The normal in bean space, turned back to screen space.
                    const float na = ea / s.rx * 6, nb = eb / s.ry * 6;
                    const float nx = na * ca - nb * sa, ny = na * sa + nb * ca;
                    const float len = std::sqrt(nx * nx + ny * ny + nz * nz * 1.0f);
                    Rgb base = s.base;
                    const float grain = Noise(a * 2.2f + 40, b * 2.2f + 40, 1.5f, 64, 64, seed);
                    switch (s.pattern) {
                    case 1:
                        if (grain > 0.72f) base = Mix(base, s.spot, 0.8f);
                        break;
                    case 2: {
                        const float e = Ellipse(a, b, 0, -s.ry + 1.6f, 3.2f, 1.6f);
                        if (e < 0) base = s.spot;
                        break;
                    }
                    case 3:
                        base =
                            Mix(base, s.spot,
                                0.55f * SmoothStep(0.3f, 0.9f, std::sin(a * 1.1f + 3 * grain) * 0.5f + 0.5f));
                        break;
                    case 4:
                        base = Mix(base, s.spot,
                                   0.75f * SmoothStep(0.45f, 0.6f, Fbm(a + 20, b + 20, 4, 64, 64, 2, seed)));
                        break;
                    default:
                        base = Scale(base, 0.92f + 0.16f * grain);
                    }
                    Rgb lit = Shade(base, nx / len, ny / len, nz / len, 0.35f, s.gloss, 28);
                    if (r2 > 0.8f) lit = Scale(lit, 0.8f); // the rim turns away: darker
                    sum = {sum.r + lit.r, sum.g + lit.g, sum.b + lit.b};
                }
            if (covered) c.Set(x, y, Scale(sum, 1.0f / covered), covered / float(n * n));
        }
    return c;
}

// The shadow every seed casts: a soft-edged dark oval, opaque (icons have one-bit masks), in the
// brown of a pit's shaded floor so that it reads as shade on wood.
Canvas SeedShadow() {
    Canvas c(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = (x + 0.5f - 16) / 11.0f, dy = (y + 0.5f - 16.5f) / 8.5f;
            const float r = dx * dx + dy * dy;
            if (r <= 1) c.Set(x, y, Scale(Hex(0x4A2A14), 0.75f + 0.25f * r), 1);
        }
    return c;
}

// ---- The application's icon ----

// A rounded tile of the board's wood with one carved bowl holding four seeds, drawn for its size
// (48, 128, 256): the desktop shows it beside other programs' icons, so it has soft edges and alpha.
Canvas AppIconAt(int size) {
    Canvas c(size, size);
    const float k = size / 256.0f;
    const float half = size / 2.0f, corner = 46 * k, inset = 6 * k;
    const float cx = half, cy = half, rim = 96 * k, bowl = 86 * k;
    // The tile and its bowl, supersampled; the tile's edge is antialiased through its alpha.
    const int n = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum{};
            int covered = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const float px = x + (i + 0.5f) / n, py = y + (j + 0.5f) / n;
                    const float edge = RoundBox(px, py, half, half, half - inset, half - inset, corner);
                    if (edge > 0) continue;
                    ++covered;
                    const float wx = px / k, wy = py / k; // the grain keeps its look at every size
                    const float dx = px - cx, dy = py - cy, r = std::sqrt(dx * dx + dy * dy);
                    Rgb wood = Wood(kBoardWood, wx, wy, 256, 256);
                    Rgb colour;
                    if (r >= rim) {
                        // The tile: a bevel lit on the upper left, the bowl's lip shading the board.
                        const float bevel = SmoothStep(-10 * k, 0, edge);
                        const float side = Clamp01(((px - half) + (py - half)) / (size * 0.7f) + 0.5f);
                        colour = Scale(wood, 1.08f - 0.3f * bevel * side + 0.12f * bevel * (1 - side));
                        const float shadow = SmoothStep(rim + 10 * k, rim, r) * Clamp01((dx + dy) / (rim * 1.2f) + 0.2f);
                        colour = Scale(colour, 1 - 0.22f * shadow);
                    } else if (r >= bowl) {
                        const float t = (r - bowl) / (rim - bowl);
                        const float slope = (t - 0.5f) * 1.6f;
                        colour = Shade(Scale(wood, 1.08f), dx / r * slope, dy / r * slope, 1.0f, 0.55f, 0.18f, 12);
                    } else {
                        const float depth = r / bowl;
                        const float kk = 0.95f * std::pow(depth, 1.6f);
                        const float nz = std::sqrt(std::max(0.05f, 1 - kk * kk));
                        Rgb inner = Wood(kBowlWood, wx * 1.1f, wy * 0.9f + 7, 256, 256);
                        inner = Scale(inner, 0.86f - 0.12f * (1 - depth));
                        const float occlusion =
                            1 - 0.35f * SmoothStep(0.75f, 1.0f, depth) * Clamp01(-(dx + dy) / (bowl * 1.1f) + 0.3f);
                        colour = Scale(Shade(inner, r > 0 ? -dx / r * kk : 0, r > 0 ? -dy / r * kk : 0, nz,
                                             0.5f, 0.22f, 20),
                                       occlusion);
                    }
                    sum = {sum.r + colour.r, sum.g + colour.g, sum.b + colour.b};
                }
            if (covered) c.Set(x, y, Scale(sum, 1.0f / covered), covered / float(n * n));
        }
    // Four seeds in the bowl, each over its soft shadow toward the lower left.
    struct Placed {
        int look;
        float x, y; // centre, in 256ths of the icon
    };
    const Placed seeds[] = {{0, 102, 104}, {1, 154, 108}, {5, 106, 156}, {2, 156, 158}};
    const int seedSize = std::max(16, int(std::lround(84 * k)));
    for (const Placed& p : seeds) {
        const Canvas seed = Seed(kSeeds[p.look], seedSize, 300 + p.look);
        const int ox = int(std::lround(p.x * k - seedSize / 2.0f)), oy = int(std::lround(p.y * k - seedSize / 2.0f));
        const int sx = int(std::lround(-3 * k)), sy = int(std::lround(4 * k));
        for (int y = 0; y < seedSize; ++y)
            for (int x = 0; x < seedSize; ++x) {
                const float a = seed.Alpha(x, y);
                if (a <= 0) continue;
                const int tx = ox + x + sx, ty = oy + y + sy;
                if (tx >= 0 && ty >= 0 && tx < size && ty < size && c.Alpha(tx, ty) > 0)
                    c.Blend(tx, ty, Hex(0x3A200E), 0.45f * a);
            }
        for (int y = 0; y < seedSize; ++y)
            for (int x = 0; x < seedSize; ++x) {
                const float a = seed.Alpha(x, y);
                const int tx = ox + x, ty = oy + y;
                if (a > 0 && tx >= 0 && ty >= 0 && tx < size && ty < size) c.Blend(tx, ty, seed.Get(x, y), a);
            }
    }
    return c;
}

// ---- The toolkit's pictures ----

// A woven straw mat, tiling in both directions: strands 8 pixels wide passing over and under.
Canvas DesktopWeave() {
    Canvas c(64, 64);
    Supersample(c, 2, [&](float x, float y) {
        const int i = static_cast<int>(x / 8), j = static_cast<int>(y / 8);
        const bool horizontal = (i + j) % 2 == 0;
        const float across = horizontal ? std::fmod(y, 8.0f) / 8 : std::fmod(x, 8.0f) / 8;
        const float along = horizontal ? x : y;
        const float curve = std::sin(across * kPi); // a round strand
        const float fibre = Noise(along, across * 8 + (horizontal ? 0 : 50), 2, 32, 8, 301);
        const float dip =
            0.85f + 0.15f * std::sin((horizontal ? std::fmod(x, 16.0f) : std::fmod(y, 16.0f)) / 16 * kPi);
        const Rgb straw = Mix(Hex(0x6E5E40), Hex(0xA8956A), 0.25f + 0.75f * curve);
        return Scale(straw, dip * (0.9f + 0.2f * fibre));
    });
    return c;
}

// The toolkit's signature shown under the start-up panel: its name carved in gold on deep blue.
float SignatureLetters(float x, float y) {
    const float r = 6.5f;
    float d = std::fabs(Ellipse(x, y, 58, 50, 22, 29)) - r; // Q
    d = std::min(d, Capsule(x, y, 66, 62, 84, 82, r));
    d = std::min(d, Capsule(x, y, 116, 22, 116, 78, r)); // I
    d = std::min(d, Capsule(x, y, 146, 22, 167, 78, r)); // V
    d = std::min(d, Capsule(x, y, 188, 22, 167, 78, r));
    d = std::min(d, Capsule(x, y, 214, 78, 236, 22, r)); // A
    d = std::min(d, Capsule(x, y, 258, 78, 236, 22, r));
    d = std::min(d, Capsule(x, y, 225, 58, 247, 58, r * 0.8f));
    return d;
}
Canvas Signature() {
    Canvas c(300, 100);
    Supersample(c, 3, [&](float x, float y) {
        const float dx = (x - 150) / 170, dy = (y - 50) / 80;
        const Rgb ground = Mix(Hex(0x2A4C72), Hex(0x0C1826), Clamp01(std::sqrt(dx * dx + dy * dy)));
        const float d = SignatureLetters(x, y);
        if (d > 0) return Scale(ground, 1 - 0.45f * (1 - SmoothStep(0, 4, SignatureLetters(x - 3, y - 3))));
        auto h = [&](float px, float py) { return std::sqrt(Clamp01(-SignatureLetters(px, py) / 6.5f)); };
        const float gx = (h(x + 0.5f, y) - h(x - 0.5f, y)), gy = (h(x, y + 0.5f) - h(x, y - 0.5f));
        const float nx = -gx * 4, ny = -gy * 4, len = std::sqrt(nx * nx + ny * ny + 1);
        Rgb gold = Shade(Hex(0xD9A441), nx / len, ny / len, 1 / len, 0.4f, 0.6f, 24);
        if (d > -0.8f) gold = Scale(gold, 0.6f);
        return gold;
    });
    return c;
}

} // namespace

std::vector<Artwork> ToolkitArtworks() {
    return {
        {"pict-9996_desktop.png", false, DesktopWeave},
        {"pict-8999_signature.png", false, Signature},
    };
}

std::vector<Artwork> AppIcons() {
    std::vector<Artwork> list;
    for (int size : {48, 128, 256})
        list.push_back({"tolka-" + std::to_string(size) + ".png", false, [size] { return AppIconAt(size); }});
    return list;
}

std::vector<Artwork> GameArtworks() {
    std::vector<Artwork> list = {
        {"pict0_pit.png", false, Pit},
        {"pict1_left_end.png", false, [] { return BoardEnd(true); }},
        {"pict2_right_end.png", false, [] { return BoardEnd(false); }},
        {"pict100_table.png", false, TableTile},
        {"pict101_front_edge.png", false, FrontEdge},
        {"pict102_border.png", false, BorderBlock},
        {"pict128_computer_hand.png", true, [] { return Hand(96, 184, true, false, kComputerHand); }},
        {"pict129_computer_hand_mask.png", true,
         [] { return Hand(96, 184, true, false, kComputerHand).Mask(); }},
        {"pict130_player_hand.png", true, [] { return Hand(96, 208, false, true, kPlayerHand); }},
        {"pict131_player_hand_mask.png", true, [] { return Hand(96, 208, false, true, kPlayerHand).Mask(); }},
        {"pict132_left_fist.png", false, [] { return FistPlaque(true); }},
        {"pict133_right_fist.png", false, [] { return FistPlaque(false); }},
        {"pict134_logo_left_hand.png", false, [] { return OpenHandPlaque(true); }},
        {"pict135_right_hand.png", false, [] { return OpenHandPlaque(false); }},
        {"cicn128_shadow.png", true, SeedShadow},
        {"cicn131_small_seed.png", true, [] { return Seed(kSeeds[0], 8, 131); }},
    };
    for (int i = 0; i < 8; ++i) {
        list.push_back(
            {"cicn" + std::to_string(i) + "_seed.png", true, [i] { return Seed(kSeeds[i], 32, 200 + i); }});
    }
    return list;
}

} // namespace tolka_art
