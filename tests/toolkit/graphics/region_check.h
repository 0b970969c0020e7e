#pragma once

// Test helpers for region records: an independent reading of the inversion-point definition into a
// bitmap, and the checks that a record is in normal form.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/graphics/region_ops.h"

namespace qiva::test {

// Pixels of the window (left, top, width, height), row by row; 1 inside.
struct Bitmap {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> bits;

    Bitmap(int l, int t, int w, int h) : left(l), top(t), width(w), height(h), bits(std::size_t(w * h), 0) {}
    std::uint8_t& At(int h, int v) { return bits[std::size_t((v - top) * width + (h - left))]; }
    std::uint8_t At(int h, int v) const { return bits[std::size_t((v - top) * width + (h - left))]; }
    void Fill(int l, int t, int r, int b) {
        for (int v = std::max(t, top); v < std::min(b, top + height); ++v)
            for (int h = std::max(l, left); h < std::min(r, left + width); ++h)
                At(h, v) = 1;
    }
    bool operator==(const Bitmap&) const = default;
};

// Failures show the bitmap as rows of '#' and '.'.
inline void PrintTo(const Bitmap& b, std::ostream* os) {
    for (int v = b.top; v < b.top + b.height; ++v) {
        *os << "\n";
        for (int h = b.left; h < b.left + b.width; ++h)
            *os << (b.At(h, v) ? '#' : '.');
    }
}

// A pixel is inside when an odd number of inversion points at or left of it lie in the records at or
// above its row; a rectangular record is its box. Written straight from that definition.
inline Bitmap Rasterise(const std::vector<std::int16_t>& rgn, int left, int top, int width, int height) {
    Bitmap out(left, top, width, height);
    if (rgn[0] == region::kRectSize) {
        out.Fill(rgn[2], rgn[1], rgn[4], rgn[3]);
        return out;
    }
    std::vector<std::uint8_t> flips(std::size_t(width + 1), 0);
    for (int v = top; v < top + height; ++v) {
        std::size_t pos = region::kHeaderWords;
        std::fill(flips.begin(), flips.end(), 0);
        while (rgn[pos] != region::kEnd) {
            const int row = rgn[pos++];
            for (; rgn[pos] != region::kEnd; ++pos)
                if (row <= v) flips[std::size_t(std::clamp(rgn[pos] - left, 0, width))] ^= 1;
            ++pos;
        }
        std::uint8_t in = 0;
        for (int h = left; h < left + width; ++h) {
            in ^= flips[std::size_t(h - left)];
            out.At(h, v) = in;
        }
    }
    return out;
}

// Empty when the record is in normal form, else what is wrong with it.
inline std::string NormalFormFault(const std::vector<std::int16_t>& rgn) {
    if (rgn.size() < region::kHeaderWords) return "shorter than a header";
    const region::Box box{rgn[1], rgn[2], rgn[3], rgn[4]};
    if (rgn[0] == region::kRectSize) {
        if (rgn.size() != region::kHeaderWords) return "rectangular record with data";
        const bool empty = !(box.left < box.right && box.top < box.bottom);
        if (empty && (box.top || box.left || box.bottom || box.right))
            return "empty region with a non-zero box";
        return {};
    }
    if (region::SizeField(rgn.size()) != rgn[0])
        return "rgnSize " + std::to_string(rgn[0]) + " for " + std::to_string(rgn.size()) + " words";
    std::vector<std::int16_t> band, next;
    std::size_t pos = region::kHeaderWords, records = 0;
    int lastRow = INT32_MIN, minX = INT32_MAX, maxX = INT32_MIN, firstRow = 0;
    while (pos < rgn.size() && rgn[pos] != region::kEnd) {
        const int row = rgn[pos++];
        if (row <= lastRow) return "rows not increasing at " + std::to_string(row);
        if (records++ == 0) firstRow = row;
        lastRow = row;
        std::vector<std::int16_t> points;
        for (; pos < rgn.size() && rgn[pos] != region::kEnd; ++pos)
            points.push_back(rgn[pos]);
        if (pos++ >= rgn.size()) return "record not terminated";
        if (points.empty() || points.size() % 2)
            return "record of " + std::to_string(points.size()) + " points at row " + std::to_string(row);
        for (std::size_t i = 1; i < points.size(); ++i)
            if (points[i] <= points[i - 1]) return "points not increasing at row " + std::to_string(row);
        minX = std::min<int>(minX, points.front());
        maxX = std::max<int>(maxX, points.back());
        region::CombinePoints(region::Op::Xor, band, points, next);
        band.swap(next);
    }
    if (pos + 1 != rgn.size() || rgn[pos] != region::kEnd) return "data not closed by a final 32767";
    if (!band.empty()) return "last band not empty";
    if (records < 2) return "fewer than two records";
    if (records == 2 && rgn[region::kHeaderWords + 3] == region::kEnd)
        return "a single rectangle in scanline form";
    if (box.top != firstRow || box.bottom != lastRow || box.left != minX || box.right != maxX)
        return "box differs from the extent";
    return {};
}

} // namespace qiva::test
