#include "toolkit/graphics/region_drawing.h"

#include <vector>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_record.h"
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

// The region's outline: its rectangle framed, or the pixels of its outline band by band.
void FrameOutline(RgnHandle rgn) {
    const region::Words words = qiva::RegionWords(rgn);
    qiva::BeginDrawing();
    {
        qiva::VerbScope scope(Verb::frameRegion);
        if (region::IsRectangular(words)) {
            qiva::FrameRectBorder((*rgn)->rgnBBox);
        } else {
            static std::vector<std::int16_t> outline;
            Outline(words, outline);
            RunBands(outline);
        }
    }
    qiva::EndDrawing();
}

} // namespace

namespace qiva {

void FillRegionWith(Verb verb, RgnHandle rgn) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || port->pnVis < 0 || EmptyRgn(rgn)) return;
    BeginDrawing();
    {
        VerbScope scope(verb);
        RunBands(RegionWords(rgn));
    }
    EndDrawing();
}

} // namespace qiva

void StdRgn(GrafVerb verb, RgnHandle rgn) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr) return;
    qiva::RecordRgnVerb(verb, rgn);
    if (verb != GrafVerb::frame) {
        qiva::FillRegionWith(qiva::FillVerbOf(verb), rgn);
        return;
    }
    if (port->pnVis < 0 || EmptyRgn(rgn)) return;
    FrameOutline(rgn);
}

namespace {

void CallRgn(GrafVerb verb, RgnHandle rgn) {
    if (Drawing().current == nullptr) return;
    qiva::PortProc(&QDProcs::rgnProc, StdRgn)(verb, rgn);
}

} // namespace

void FrameRgn(RgnHandle rgn) {
    CallRgn(GrafVerb::frame, rgn);
}
void PaintRgn(RgnHandle rgn) {
    CallRgn(GrafVerb::paint, rgn);
}
void EraseRgn(RgnHandle rgn) {
    CallRgn(GrafVerb::erase, rgn);
}
void InvertRgn(RgnHandle rgn) {
    CallRgn(GrafVerb::invert, rgn);
}
void FillRgn(RgnHandle rgn, const Pattern* pat) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || pat == nullptr) return;
    port->fillPat = *pat;
    CallRgn(GrafVerb::fill, rgn);
}
