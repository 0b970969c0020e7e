#include "toolkit/graphics/region_drawing.h"

#include <vector>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pictures.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shapes.h"

namespace {

using qiva::Drawing;
using qiva::Verb;
namespace region = qiva::region;

// Each interval of each band is one pen run as tall as its band, with the pen the caller set up.
void RunBands(region::Words rgn) {
    qiva::RegionEngine().ForEachBand(
        rgn, [](std::int16_t top, std::int16_t bottom, std::span<const std::int16_t> xs) {
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                qiva::HorizontalRunTaller(xs[i], top, xs[i + 1] - 1, bottom - top - 1);
        });
}

void Filled(RgnHandle rgn, Verb verb, std::uint8_t opcode) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    if (opcode == 0x84) qiva::RecordPattern(0x0A, port->fillPat);
    qiva::RecordRegion(opcode, rgn);
    if (port->pnVis < 0 || EmptyRgn(rgn)) return;
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(verb);
        RunBands(qiva::RegionWords(rgn));
    }
    qiva::EndDrawing();
}

// The outline of a complex region: the region less what remains when it is moved one pixel in each
// of the four directions and intersected with itself.
void Outline(region::Words rgn, std::vector<std::int16_t>& out) {
    region::Engine& engine = qiva::RegionEngine();
    static std::vector<std::int16_t> inner, moved, scratch;
    inner.assign(rgn.begin(), rgn.begin() + static_cast<std::ptrdiff_t>(region::WordCount(rgn)));
    const std::int16_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
        engine.Offset(rgn, step[0], step[1], moved);
        engine.Combine(region::Op::Sect, inner, moved, scratch);
        inner.swap(scratch);
    }
    engine.Combine(region::Op::Diff, rgn, inner, out);
}

} // namespace

void FrameRgn(RgnHandle rgn) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    qiva::RecordRegion(0x80, rgn);
    if (port->pnVis < 0 || EmptyRgn(rgn)) return;
    const region::Words words = qiva::RegionWords(rgn);
    qiva::SuspendRecording(); // a rectangular region is framed by FrameRect, which records itself
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(Verb::frameRegion);
        if (region::IsRectangular(words)) {
            const Rect box = (*rgn)->rgnBBox;
            FrameRect(&box);
        } else {
            static std::vector<std::int16_t> outline;
            Outline(words, outline);
            RunBands(outline);
        }
    }
    qiva::EndDrawing();
    qiva::ResumeRecording();
}

void PaintRgn(RgnHandle rgn) {
    Filled(rgn, Verb::paint, 0x81);
}
void EraseRgn(RgnHandle rgn) {
    Filled(rgn, Verb::erase, 0x82);
}

void InvertRgn(RgnHandle rgn) {
    if (const GrafPtr port = Drawing().current)
        Filled(rgn, port->colrBit != 0 ? Verb::hiliteInvert : Verb::invert, 0x83);
}

void FillRgn(RgnHandle rgn, const Pattern* pat) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || pat == nullptr) return;
    port->fillPat = *pat;
    Filled(rgn, Verb::fill, 0x84);
}
