#pragma once
// The pixels of the curved shapes, state-free: ovals, rounded rectangles, their outlines and arcs.
// A filled shape is a table of one span per row of its rectangle; every shape is built so that its
// spans are symmetric about the rectangle's centre in both axes. The drawing calls turn spans into
// pen runs.

#include <algorithm>
#include <vector>

namespace qiva::shapes {

// Pixels left..right (inclusive) of one row; empty when left > right.
struct Span {
    int left = 0;
    int right = -1;
    bool Empty() const { return left > right; }
};

// One span per row of the rectangle (left, top, right, bottom), top row first; nothing for an empty
// rectangle. A pixel is in the oval when its centre is inside the ellipse inscribed in the rectangle,
// except that the middle row (two for an even height) spans the whole width and no row is left empty
// (its middle pixels stand in), so that even a flat oval touches all four sides.
void OvalSpans(int left, int top, int right, int bottom, std::vector<Span>& out);

// The radius of a rounded rectangle's corners: half the smaller of the two oval dimensions, and never
// more than half the rectangle's smaller side.
int CornerRadius(int width, int height, int ovalWidth, int ovalHeight);

// Indents of a corner's rows, top row first: for radius r, r + 1 values, the last 0. Built by the
// toolkit's midpoint circle loop.
void CornerIndents(int radius, std::vector<int>& out);

// The rounded rectangle: each row inset by its corner's indent, lower corners mirroring the upper.
void RoundRectSpans(int left, int top, int right, int bottom, int ovalWidth, int ovalHeight,
                    std::vector<Span>& out);

// The outline of a span table: the pixels of each row that are not also in both neighbouring rows'
// spans, nor at the row's own ends. Calls f(rowIndex, left, right) for each of the at most two
// pieces of a row, left piece first.
template <typename F>
void ForEachOutlinePiece(const std::vector<Span>& spans, F&& f);

// The point of the oval of the rectangle at angle degrees (clockwise from twelve o'clock).
void ArcPoint(int left, int top, int right, int bottom, int angle, int& h, int& v);

// Whether the pixel (h, v) lies in the arc of the oval of the rectangle from startAngle over arcAngle
// degrees (clockwise when positive). Angles are measured at the pixel's centre in the oval's own
// proportions, so the arc from a to b meets ArcPoint(a) and ArcPoint(b).
class ArcTest {
public:
    ArcTest(int left, int top, int right, int bottom, int startAngle, int arcAngle);
    bool Contains(int h, int v) const;
    bool Full() const { return full_; }

private:
    double centreH_, centreV_, halfWidth_, halfHeight_;
    double from_ = 0, span_ = 0; // degrees, from in [0, 360), span in [0, 360]
    bool full_ = false, none_ = false;
};

template <typename F>
void ForEachOutlinePiece(const std::vector<Span>& spans, F&& f) {
    const int rows = static_cast<int>(spans.size());
    for (int i = 0; i < rows; ++i) {
        const Span s = spans[i];
        if (s.Empty()) continue;
        int innerLeft = s.left + 1, innerRight = s.right - 1;
        if (i == 0 || i == rows - 1 || spans[i - 1].Empty() || spans[i + 1].Empty()) {
            innerLeft = s.right + 1; // no interior: the whole row is outline
        } else {
            innerLeft = std::max({innerLeft, spans[i - 1].left, spans[i + 1].left});
            innerRight = std::min({innerRight, spans[i - 1].right, spans[i + 1].right});
        }
        if (innerLeft > innerRight) {
            f(i, s.left, s.right);
            continue;
        }
        if (innerLeft > s.left) f(i, s.left, innerLeft - 1);
        if (innerRight < s.right) f(i, innerRight + 1, s.right);
    }
}

} // namespace qiva::shapes
