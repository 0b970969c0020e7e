// Random regions built from random rectangles, checked pixel by pixel against the same operations done
// on plain bitmaps: every set operation, offset, the point and rectangle tests and the band walk.

#include <gtest/gtest.h>

#include <random>

#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/graphics/region_ops.h"

namespace {

using namespace qiva::region;
using qiva::test::Bitmap;
using qiva::test::NormalFormFault;
using qiva::test::Rasterise;
using Record = std::vector<std::int16_t>;

constexpr int kLeft = -24, kTop = -16, kWidth = 72, kHeight = 64;

struct Shape {
    Record rgn;
    Bitmap bits{kLeft, kTop, kWidth, kHeight};
};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Coordinate(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Mostly unions, with some differences and exclusive ors, of up to seven rectangles; a few are
    // empty or inverted, and all lie well inside the bitmap so that offsets stay inside too.
    Shape Region(Engine& engine) {
        Shape s;
        MakeRect(s.rgn, 0, 0, 0, 0);
        const int count = Coordinate(0, 7);
        Record rect, out;
        for (int i = 0; i < count; ++i) {
            const int top = Coordinate(kTop + 4, kTop + kHeight - 8),
                      left = Coordinate(kLeft + 4, kLeft + kWidth - 8);
            const int bottom = top + Coordinate(-2, 24), right = left + Coordinate(-2, 30);
            const int b = std::min(bottom, kTop + kHeight - 4), r = std::min(right, kLeft + kWidth - 4);
            MakeRect(rect, std::int16_t(top), std::int16_t(left), std::int16_t(b), std::int16_t(r));
            Bitmap piece(kLeft, kTop, kWidth, kHeight);
            piece.Fill(left, top, r, b);
            const int pick = Coordinate(0, 9);
            const Op op = pick < 6 ? Op::Union : pick < 8 ? Op::Diff : Op::Xor;
            engine.Combine(op, s.rgn, rect, out);
            s.rgn.swap(out);
            s.bits = Apply(op, s.bits, piece);
        }
        return s;
    }

    static Bitmap Apply(Op op, const Bitmap& a, const Bitmap& b) {
        Bitmap out = a;
        for (std::size_t i = 0; i < out.bits.size(); ++i) {
            const bool x = a.bits[i], y = b.bits[i];
            out.bits[i] = op == Op::Sect    ? x && y
                          : op == Op::Union ? x || y
                          : op == Op::Diff  ? x && !y
                                            : x != y;
        }
        return out;
    }

private:
    std::mt19937 random_;
};

Bitmap Shifted(const Bitmap& bits, int dh, int dv) {
    Bitmap out(bits.left, bits.top, bits.width, bits.height);
    for (int v = bits.top; v < bits.top + bits.height; ++v)
        for (int h = bits.left; h < bits.left + bits.width; ++h)
            if (bits.At(h, v)) out.At(h + dh, v + dv) = 1;
    return out;
}

Bitmap FromBands(Engine& engine, const Record& rgn) {
    Bitmap out(kLeft, kTop, kWidth, kHeight);
    engine.ForEachBand(rgn, [&](std::int16_t top, std::int16_t bottom, std::span<const std::int16_t> points) {
        for (std::size_t i = 0; i + 1 < points.size(); i += 2)
            out.Fill(points[i], top, points[i + 1], bottom);
    });
    return out;
}

TEST(RegionProperty, OperationsAgreeWithBitmapsOfTheSameRectangles) {
    Generator gen(20261210);
    Engine engine;
    Record out;
    for (int n = 0; n < 4000; ++n) {
        SCOPED_TRACE("case " + std::to_string(n));
        const Shape a = gen.Region(engine), b = gen.Region(engine);
        ASSERT_EQ(NormalFormFault(a.rgn), "");
        ASSERT_EQ(Rasterise(a.rgn, kLeft, kTop, kWidth, kHeight), a.bits);

        for (Op op : {Op::Sect, Op::Union, Op::Diff, Op::Xor}) {
            engine.Combine(op, a.rgn, b.rgn, out);
            ASSERT_EQ(NormalFormFault(out), "") << "op " << int(op);
            ASSERT_EQ(Rasterise(out, kLeft, kTop, kWidth, kHeight), Generator::Apply(op, a.bits, b.bits))
                << "op " << int(op);
        }

        const int dh = gen.Coordinate(-4, 4), dv = gen.Coordinate(-4, 4);
        engine.Offset(a.rgn, std::int16_t(dh), std::int16_t(dv), out);
        ASSERT_EQ(Rasterise(out, kLeft, kTop, kWidth, kHeight), Shifted(a.bits, dh, dv));
        Record inPlace = a.rgn;
        ASSERT_TRUE(OffsetInPlace(inPlace, std::int16_t(dh), std::int16_t(dv)));
        ASSERT_EQ(inPlace, out);

        ASSERT_EQ(FromBands(engine, a.rgn), a.bits);

        for (int i = 0; i < 16; ++i) {
            const int v = gen.Coordinate(kTop, kTop + kHeight - 1),
                      h = gen.Coordinate(kLeft, kLeft + kWidth - 1);
            ASSERT_EQ(engine.PtIn(a.rgn, std::int16_t(v), std::int16_t(h)), a.bits.At(h, v) != 0)
                << "PtIn " << v << "," << h;
        }
        for (int i = 0; i < 6; ++i) {
            const int top = gen.Coordinate(kTop, kTop + kHeight - 1),
                      left = gen.Coordinate(kLeft, kLeft + kWidth - 1);
            const int bottom = std::min(top + gen.Coordinate(0, 12), kTop + kHeight);
            const int right = std::min(left + gen.Coordinate(0, 12), kLeft + kWidth);
            bool any = false;
            for (int v = top; v < bottom; ++v)
                for (int h = left; h < right; ++h)
                    any = any || a.bits.At(h, v);
            ASSERT_EQ(engine.RectIn(a.rgn, std::int16_t(top), std::int16_t(left), std::int16_t(bottom),
                                    std::int16_t(right)),
                      any)
                << "RectIn " << top << "," << left << "," << bottom << "," << right;
        }
    }
}

} // namespace
