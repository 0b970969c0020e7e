#include "toolkit/graphics/pict_record.h"

#include <algorithm>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_recorder.h"
#include "toolkit/graphics/region_ops.h"
#include "toolkit/graphics/regions.h"

namespace qiva {

namespace {

Handle OpenPictureHandle() {
    const GrafPtr port = Drawing().current;
    return port != nullptr ? port->picSave : nullptr;
}

pict::Rect16 ToRect16(const Rect& r) {
    return {r.top, r.left, r.bottom, r.right};
}

void Record(std::uint8_t opcode, const pict::OperandWriter& w) {
    if (Handle pic = OpenPictureHandle()) PictureRecorder().Record(pic, opcode, w.Data());
}

// The words of a region or polygon record, limited to its block.
std::span<const std::int16_t> RecordWords(Handle h) {
    if (h == nullptr || *h == nullptr) return {};
    const Size bytes = GetHandleSize(h);
    if (bytes < 2) return {};
    const auto* words = reinterpret_cast<const std::int16_t*>(*h);
    const std::size_t declared = static_cast<std::uint16_t>(words[0]);
    return {words, std::min<std::size_t>(declared, static_cast<std::size_t>(bytes)) / 2};
}

void RecordArc(std::uint8_t opcode, const Rect& r, std::int16_t startAngle, std::int16_t arcAngle) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().Rect(ToRect16(r)).I16(startAngle).I16(arcAngle));
}

void RecordPolygon(std::uint8_t opcode, Handle poly) {
    if (!PictureRecording()) return;
    std::span<const std::int16_t> words = RecordWords(poly);
    if (words.size() < region::kHeaderWords) return;
    words = words.first(std::min<std::size_t>(words.size(), 16383));
    words = words.first(region::kHeaderWords + (words.size() - region::kHeaderWords) / 2 * 2);
    pict::OperandWriter w;
    w.I16(static_cast<std::int16_t>(words.size() * 2)).Words(words.subspan(1));
    Record(opcode, w);
}

// The fill verb draws with the port's fill pattern, which goes in first.
void RecordFillPattern(GrafVerb verb) {
    if (verb == GrafVerb::fill) RecordPattern(pict::kFillPat, Drawing().current->fillPat);
}

int VerbNumber(GrafVerb verb) {
    return static_cast<int>(verb);
}

} // namespace

pict::Recorder& PictureRecorder() {
    static pict::Recorder recorder;
    return recorder;
}

bool PictureFrame(PicHandle pic, Rect& frame) {
    if (pic == nullptr || *pic == nullptr) return false;
    const Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
    pict::Header header;
    const pict::Status status = pict::ReadHeader(
        {reinterpret_cast<const std::uint8_t*>(*pic), static_cast<std::size_t>(std::max<Size>(size, 0))},
        header);
    if (status != pict::Status::Ok && status != pict::Status::EmptyFrame) return false;
    frame = Rect{header.frame.top, header.frame.left, header.frame.bottom, header.frame.right};
    return true;
}

bool PictureRecording() {
    return OpenPictureHandle() != nullptr && PictureRecorder().Recording();
}

void RecordOpcode(std::uint8_t opcode, std::span<const std::uint8_t> data) {
    if (Handle pic = OpenPictureHandle()) PictureRecorder().Record(pic, opcode, data);
}

void RecordShort(std::uint8_t opcode, std::int16_t value) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().I16(value));
}

void RecordFace(std::uint8_t face) {
    if (!PictureRecording()) return;
    Record(pict::kTxFace, pict::OperandWriter().U8(face));
}

void RecordLong(std::uint8_t opcode, std::int32_t value) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().I32(value));
}

void RecordPoint(std::uint8_t opcode, Point value) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().I16(value.v).I16(value.h));
}

void RecordPattern(std::uint8_t opcode, const Pattern& pat) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().Bytes(pat.pat));
}

void RecordRect(std::uint8_t opcode, const Rect& r) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().Rect(ToRect16(r)));
}

void RecordRGB(std::uint8_t opcode, const RGBColor& rgb) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter()
                       .I16(static_cast<std::int16_t>(rgb.red))
                       .I16(static_cast<std::int16_t>(rgb.green))
                       .I16(static_cast<std::int16_t>(rgb.blue)));
}

void RecordRegion(std::uint8_t opcode, RgnHandle rgn) {
    if (!PictureRecording() || rgn == nullptr || *rgn == nullptr) return;
    const std::span<const std::int16_t> words{reinterpret_cast<const std::int16_t*>(*rgn),
                                              RegionBytes(rgn) / 2};
    if (words.size() < region::kHeaderWords) return;
    // The size word written is the operand's length, whatever the record claims.
    pict::OperandWriter w;
    w.I16(static_cast<std::int16_t>(std::min<std::size_t>(words.size() * 2, 32766)));
    w.Words(words.subspan(1, std::min<std::size_t>(words.size(), 16383) - 1));
    Record(opcode, w);
}

void RecordOrigin(std::int16_t dh, std::int16_t dv) {
    if (!PictureRecording()) return;
    Record(pict::kOrigin, pict::OperandWriter().I16(dh).I16(dv));
}

void RecordPenMove(Point pen) {
    if (!PictureRecording()) return;
    PictureRecorder().SetPending({pen.v, pen.h});
}

void RecordLineTo(Point to) {
    if (!PictureRecording()) return;
    PictureRecorder().LineTo(OpenPictureHandle(), {to.v, to.h});
}

void RecordText(Point location, std::span<const std::uint8_t> text) {
    if (!PictureRecording()) return;
    do {
        const std::size_t n = std::min<std::size_t>(text.size(), 255);
        pict::OperandWriter w;
        w.I16(location.v).I16(location.h).U8(static_cast<std::uint8_t>(n)).Bytes(text.first(n));
        Record(pict::kLongText, w);
        text = text.subspan(n);
    } while (!text.empty());
}

void RecordRectVerb(GrafVerb verb, const Rect& r) {
    if (!PictureRecording()) return;
    RecordFillPattern(verb);
    RecordRect(pict::ShapeOpcode(pict::kFrameRect, VerbNumber(verb)), r);
}

void RecordRRectVerb(GrafVerb verb, const Rect& r, int ovalWidth, int ovalHeight) {
    if (!PictureRecording()) return;
    RecordPoint(pict::kOvSize,
                Point{static_cast<std::int16_t>(ovalHeight), static_cast<std::int16_t>(ovalWidth)});
    RecordFillPattern(verb);
    RecordRect(pict::ShapeOpcode(pict::kFrameRRect, VerbNumber(verb)), r);
}

void RecordOvalVerb(GrafVerb verb, const Rect& r) {
    if (!PictureRecording()) return;
    RecordFillPattern(verb);
    RecordRect(pict::ShapeOpcode(pict::kFrameOval, VerbNumber(verb)), r);
}

void RecordArcVerb(GrafVerb verb, const Rect& r, int startAngle, int arcAngle) {
    if (!PictureRecording()) return;
    RecordFillPattern(verb);
    RecordArc(pict::ShapeOpcode(pict::kFrameArc, VerbNumber(verb)), r, static_cast<std::int16_t>(startAngle),
              static_cast<std::int16_t>(arcAngle));
}

void RecordPolyVerb(GrafVerb verb, Polygon** poly) {
    if (!PictureRecording()) return;
    RecordFillPattern(verb);
    RecordPolygon(pict::ShapeOpcode(pict::kFramePoly, VerbNumber(verb)), reinterpret_cast<Handle>(poly));
}

void RecordRgnVerb(GrafVerb verb, RgnHandle rgn) {
    if (!PictureRecording()) return;
    RecordFillPattern(verb);
    RecordRegion(pict::ShapeOpcode(pict::kFrameRgn, VerbNumber(verb)), rgn);
}

void SuspendRecording() {
    PictureRecorder().Suspend();
}

void ResumeRecording() {
    PictureRecorder().Resume();
}

} // namespace qiva

PicHandle OpenPicture(const Rect* picFrame) {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || picFrame == nullptr) return nullptr;
    Handle h = qiva::pict::Recorder::NewPicture(qiva::ToRect16(*picFrame));
    if (h == nullptr) return nullptr;
    qiva::PictureRecorder().Reset();
    port->picSave = h;
    --port->pnVis; // HidePen: the operations are recorded, not drawn
    return reinterpret_cast<PicHandle>(h);
}

void ClosePicture() {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || port->picSave == nullptr) return;
    ++port->pnVis; // ShowPen
    const Handle pic = port->picSave;
    const bool fitted = qiva::PictureRecorder().Close(pic);
    port->picSave = nullptr;
    if (!fitted) qiva::ShowErrorBox("Depassement de la taille maximale en pict");
}

void KillPicture(PicHandle pic) {
    DisposeHandle(reinterpret_cast<Handle>(pic));
}

void PicComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle) {
    if (qiva::Drawing().current == nullptr) return;
    qiva::PortProc(&QDProcs::commentProc, StdComment)(kind, dataSize, dataHandle);
}

void StdComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle) {
    if (!qiva::PictureRecording()) return;
    if (dataSize <= 0 || dataHandle == nullptr || *dataHandle == nullptr) {
        qiva::RecordShort(qiva::pict::kShortComment, kind);
        return;
    }
    const Size n = std::min<Size>(dataSize, GetHandleSize(dataHandle));
    qiva::pict::OperandWriter w;
    w.I16(kind)
        .I16(static_cast<std::int16_t>(n))
        .Bytes({reinterpret_cast<const std::uint8_t*>(*dataHandle), std::size_t(n)});
    qiva::RecordOpcode(qiva::pict::kLongComment, w.Data());
}
