#include "toolkit/graphics/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/font_cache_hook.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/pict_recorder.h"
#include "toolkit/graphics/pict_scale.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/region_recording.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/graphics/text.h"

namespace qiva {

namespace {

pict::Recorder& TheRecorder() {
    return PictureRecorder();
}

Handle OpenPictureHandle() {
    const GrafPtr port = Drawing().current;
    return port != nullptr ? port->picSave : nullptr;
}

pict::Rect16 ToRect16(const Rect& r) {
    return {r.top, r.left, r.bottom, r.right};
}
Rect FromRect16(const pict::Rect16& r) {
    return {r.top, r.left, r.bottom, r.right};
}
Point FromPoint16(const pict::Point16& p) {
    return {p.v, p.h};
}

void Record(std::uint8_t opcode, const pict::OperandWriter& w) {
    if (Handle pic = OpenPictureHandle()) TheRecorder().Record(pic, opcode, w.Data());
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

// Replaces rgn by a normalised region record.
void StoreNormalised(RgnHandle rgn, const std::vector<std::int16_t>& words) {
    if (words.size() <= region::kHeaderWords || words[0] == region::kRectSize) {
        const region::Box b = region::BoxOf(words);
        SetRectRgn(rgn, b.left, b.top, b.right, b.bottom);
        return;
    }
    StoreRegion(rgn, words.data() + region::kHeaderWords, words.size() - region::kHeaderWords);
}

} // namespace

pict::Recorder& PictureRecorder() {
    static pict::Recorder recorder;
    return recorder;
}

bool PictureRecording() {
    return OpenPictureHandle() != nullptr && TheRecorder().Recording();
}

void RecordOpcode(std::uint8_t opcode, std::span<const std::uint8_t> data) {
    if (Handle pic = OpenPictureHandle()) TheRecorder().Record(pic, opcode, data);
}

void RecordShort(std::uint8_t opcode, std::int16_t value) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().I16(value));
}

void RecordFace(std::uint8_t face) {
    if (!PictureRecording()) return;
    Record(0x04, pict::OperandWriter().U8(face));
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

void RecordArc(std::uint8_t opcode, const Rect& r, std::int16_t startAngle, std::int16_t arcAngle) {
    if (!PictureRecording()) return;
    Record(opcode, pict::OperandWriter().Rect(ToRect16(r)).I16(startAngle).I16(arcAngle));
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

void RecordOrigin(std::int16_t dh, std::int16_t dv) {
    if (!PictureRecording()) return;
    Record(0x0C, pict::OperandWriter().I16(dh).I16(dv));
}

void RecordPenMove(Point pen) {
    if (!PictureRecording()) return;
    TheRecorder().SetPending({pen.v, pen.h});
}

void RecordLineTo(Point to) {
    if (!PictureRecording()) return;
    TheRecorder().LineTo(OpenPictureHandle(), {to.v, to.h});
}

void RecordText(Point location, std::span<const std::uint8_t> text) {
    if (!PictureRecording()) return;
    do {
        const std::size_t n = std::min<std::size_t>(text.size(), 255);
        pict::OperandWriter w;
        w.I16(location.v).I16(location.h).U8(static_cast<std::uint8_t>(n)).Bytes(text.first(n));
        Record(0x28, w);
        text = text.subspan(n);
    } while (!text.empty());
}

void SuspendRecording() {
    TheRecorder().Suspend();
}

void ResumeRecording() {
    TheRecorder().Resume();
}

std::string PictureMessage(pict::Status status, std::uint16_t opcode) {
    char buf[96];
    switch (status) {
    case pict::Status::BadVersion:
        return "PICT 2: Bad version";
    case pict::Status::UnknownType:
        return "type de PICT inconnu !";
    case pict::Status::TooShort:
        return "PICT : image plus courte que son en-tete";
    case pict::Status::EmptyFrame:
        return "PICT : cadre vide";
    case pict::Status::UnknownOpcode:
        std::snprintf(buf, sizeof buf, "PICT 2: Opcode $%04x inconnu", opcode);
        return buf;
    case pict::Status::Truncated:
        std::snprintf(buf, sizeof buf, "PICT 2: Opcode $%04x tronque", opcode);
        return buf;
    case pict::Status::BadOperand:
        std::snprintf(buf, sizeof buf, "PICT 2: Opcode $%04x invalide", opcode);
        return buf;
    default:
        return {};
    }
}

namespace {

// Plays one picture's opcodes into the working copy of the caller's port.
class Player {
public:
    Player(GrafPtr work, const pict::Header& header, const Rect& dst)
        : work_(work), scaler_(header.frame, ToRect16(dst)) {}

    void Start(Point pen) {
        MoveTo(pen.h, pen.v);
        linePen_ = textPen_ = pen;
    }
    void Execute(const pict::Op& op);

    bool clipSet = false;
    bool fontChanged = false;

private:
    Rect MapRect(const pict::Rect16& r) const { return FromRect16(scaler_.MapRect(r)); }
    Point MapPoint(const pict::Point16& p) const { return FromPoint16(scaler_.MapPoint(p)); }
    void RectShape(std::uint16_t opcode, const Rect& r);
    void RoundRectShape(int verb, const Rect& r);
    void OvalShape(int verb, const Rect& r);
    void ArcShape(int verb, const Rect& r, int start, int angle);
    void PolyShape(int verb, const std::vector<std::int16_t>& words);
    void RegionShape(int verb, const std::vector<std::int16_t>& words);
    void Text(std::span<const std::uint8_t> text);
    void Bits(const pict::Op& op);
    void DrawBand(const pict::Bits& bits, const std::uint8_t* rows, int rowBytes, int firstRow, int count,
                  const Rect& dst);

    GrafPtr work_;
    pict::Scaler scaler_;
    Point linePen_{}, textPen_{};
    Rect lastRect_{};
    Point ovalSize_{};
    region::Engine engine_;
    std::vector<std::int16_t> mapped_;
};

void Player::RectShape(std::uint16_t opcode, const Rect& r) {
    switch (opcode & 7) {
    case 0:
        FrameRect(&r);
        break;
    case 1:
        PaintRect(&r);
        break;
    case 2:
        EraseRect(&r);
        break;
    case 3:
        InvertRect(&r);
        break;
    case 4:
        FillRect(&r, &work_->fillPat);
        break;
    default:
        break;
    }
}

void Player::Text(std::span<const std::uint8_t> text) {
    DrawText(text.data(), 0, static_cast<int>(text.size()));
}

void Player::Execute(const pict::Op& op) {
    const std::uint16_t code = op.opcode;
    switch (code) {
    case 0x01: {
        scaler_.MapRegion(op.shape, mapped_, engine_);
        RgnHandle clip = NewRgn();
        if (clip == nullptr) return;
        StoreNormalised(clip, mapped_);
        SetClip(clip);
        DisposeRgn(clip);
        clipSet = true;
        return;
    }
    case 0x02: {
        Pattern p;
        std::memcpy(p.pat, op.pattern.data(), 8);
        BackPat(&p);
        return;
    }
    case 0x03:
        TextFont(op.a);
        fontChanged = true;
        return;
    case 0x04:
        TextFace(op.a);
        return;
    case 0x05:
        TextMode(op.a);
        return;
    case 0x06:
        SpaceExtra(scaler_.SpaceExtra(op.a));
        return;
    case 0x07: {
        const pict::Point16 s = scaler_.PenSize(op.p1);
        PenSize(s.h, s.v);
        return;
    }
    case 0x08:
        PenMode(op.a);
        return;
    case 0x09: {
        Pattern p;
        std::memcpy(p.pat, op.pattern.data(), 8);
        PenPat(&p);
        return;
    }
    case 0x0A:
        std::memcpy(work_->fillPat.pat, op.pattern.data(), 8);
        return;
    case 0x0B:
        ovalSize_ = {scaler_.Height(op.p1.v), scaler_.Width(op.p1.h)};
        return;
    case 0x0C:
        SetOrigin(scaler_.Width(op.a), scaler_.Height(op.b));
        return;
    case 0x0D:
        TextSize(scaler_.TextSize(static_cast<std::int16_t>(op.a)));
        fontChanged = true;
        return;
    case 0x0E:
        ForeColor(static_cast<std::int16_t>(op.a));
        return;
    case 0x0F:
        BackColor(static_cast<std::int16_t>(op.a));
        return;
    case 0x1A:
    case 0x1B: {
        const RGBColor c{op.rgb.red, op.rgb.green, op.rgb.blue};
        if (code == 0x1A)
            RGBForeColor(&c);
        else
            RGBBackColor(&c);
        return;
    }
    case 0x20: {
        const Point a = MapPoint(op.p1), b = MapPoint(op.p2);
        MoveTo(a.h, a.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case 0x21: {
        const Point b = MapPoint(op.p1);
        MoveTo(linePen_.h, linePen_.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case 0x22: {
        const Point a = MapPoint(op.p1);
        const Point b =
            MapPoint({static_cast<std::int16_t>(op.p1.v + op.b), static_cast<std::int16_t>(op.p1.h + op.a)});
        MoveTo(a.h, a.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case 0x23:
        MoveTo(linePen_.h, linePen_.v);
        Line(scaler_.Width(op.a), scaler_.Height(op.b));
        linePen_ = work_->pnLoc;
        return;
    case 0x28: {
        const Point a = MapPoint(op.p1);
        MoveTo(a.h, a.v);
        textPen_ = work_->pnLoc;
        Text(op.bytes);
        return;
    }
    case 0x29:
    case 0x2A:
    case 0x2B:
        MoveTo(textPen_.h, textPen_.v);
        if (code == 0x29)
            Move(scaler_.Width(op.a), 0);
        else if (code == 0x2A)
            Move(0, scaler_.Height(op.a));
        else
            Move(scaler_.Width(op.a), scaler_.Height(op.b));
        textPen_ = work_->pnLoc;
        Text(op.bytes);
        return;
    case 0x90:
    case 0x98:
    case 0x9A:
    case 0x9B:
        Bits(op);
        return;
    case 0xA0:
        if (PictureRecording()) PicComment(static_cast<std::int16_t>(op.a), 0, nullptr);
        return;
    case 0xA1:
        if (PictureRecording()) {
            Record(0xA1, pict::OperandWriter()
                             .I16(static_cast<std::int16_t>(op.a))
                             .I16(static_cast<std::int16_t>(op.bytes.size()))
                             .Bytes(op.bytes));
        }
        return;
    default:
        break;
    }
    const int family = code & 0xF0, verb = code & 7;
    if ((family == 0x30 || family == 0x40 || family == 0x50) && (code & 8) == 0) lastRect_ = MapRect(op.rect);
    switch (family) {
    case 0x30:
        RectShape(code, lastRect_);
        return;
    case 0x40:
        RoundRectShape(verb, lastRect_);
        return;
    case 0x50:
        OvalShape(verb, lastRect_);
        return;
    case 0x60:
        ArcShape(verb, MapRect(op.rect), static_cast<int>(op.a), static_cast<int>(op.b));
        return;
    case 0x70:
        PolyShape(verb, op.shape);
        return;
    case 0x80:
        RegionShape(verb, op.shape);
        return;
    default:
        return;
    }
}

void Player::RoundRectShape(int verb, const Rect& r) {
    const int w = ovalSize_.h, h = ovalSize_.v;
    switch (verb) {
    case 0:
        FrameRoundRect(&r, w, h);
        break;
    case 1:
        PaintRoundRect(&r, w, h);
        break;
    case 2:
        EraseRoundRect(&r, w, h);
        break;
    case 3:
        InvertRoundRect(&r, w, h);
        break;
    default:
        FillRoundRect(&r, w, h, &work_->fillPat);
        break;
    }
}

void Player::OvalShape(int verb, const Rect& r) {
    switch (verb) {
    case 0:
        FrameOval(&r);
        break;
    case 1:
        PaintOval(&r);
        break;
    case 2:
        EraseOval(&r);
        break;
    case 3:
        InvertOval(&r);
        break;
    default:
        FillOval(&r, &work_->fillPat);
        break;
    }
}

void Player::ArcShape(int verb, const Rect& r, int start, int angle) {
    switch (verb) {
    case 0:
        FrameArc(&r, start, angle);
        break;
    case 1:
        PaintArc(&r, start, angle);
        break;
    case 2:
        EraseArc(&r, start, angle);
        break;
    case 3:
        InvertArc(&r, start, angle);
        break;
    default:
        FillArc(&r, start, angle, &work_->fillPat);
        break;
    }
}

void Player::PolyShape(int verb, const std::vector<std::int16_t>& words) {
    scaler_.MapPolygon(words, mapped_);
    Handle h = nullptr;
    if (PtrToHand(mapped_.data(), &h, static_cast<Size>(mapped_.size() * 2)) != noErr || h == nullptr) return;
    const auto poly = reinterpret_cast<PolyHandle>(h);
    switch (verb) {
    case 0:
        FramePoly(poly);
        break;
    case 1:
        PaintPoly(poly);
        break;
    case 2:
        ErasePoly(poly);
        break;
    case 3:
        InvertPoly(poly);
        break;
    default:
        FillPoly(poly, &work_->fillPat);
        break;
    }
    KillPoly(poly);
}

void Player::RegionShape(int verb, const std::vector<std::int16_t>& words) {
    scaler_.MapRegion(words, mapped_, engine_);
    RgnHandle rgn = NewRgn();
    if (rgn == nullptr) return;
    StoreNormalised(rgn, mapped_);
    switch (verb) {
    case 0:
        FrameRgn(rgn);
        break;
    case 1:
        PaintRgn(rgn);
        break;
    case 2:
        EraseRgn(rgn);
        break;
    case 3:
        InvertRgn(rgn);
        break;
    default:
        FillRgn(rgn, &work_->fillPat);
        break;
    }
    DisposeRgn(rgn);
}

// The colour of each stored pixel value as a palette index: a value whose colour is the palette's
// own at that index keeps it (so the transparent index survives), any other the nearest colour.
void PixelMap(const pict::Bits& bits, const GrafPtr port, std::uint8_t (&map)[256]) {
    if (!bits.pixMap) {
        map[0] = static_cast<std::uint8_t>(port->bkIndex);
        map[1] = static_cast<std::uint8_t>(port->fgIndex);
        return;
    }
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<std::uint8_t>(i);
    const bool device = (bits.ctFlags & 0x8000) != 0;
    const auto& colourSpecs = ThePalette().colourSpecs;
    for (std::size_t i = 0; i < bits.colours.size(); ++i) {
        const pict::Bits::Entry& e = bits.colours[i];
        const int value = device ? static_cast<int>(i) : e.value;
        if (value < 0 || value > 255) continue;
        const RGBColor c{e.rgb.red, e.rgb.green, e.rgb.blue};
        const RGBColor& own = colourSpecs[std::size_t(value)].rgb;
        // The transparent index is the highlight colour, whose RGB follows the setting: a picture
        // made on the system palette keeps it whatever its colour there.
        static const RGBColor transparent = [] {
            const PaletteEntry t = BuildPalette(0, 0, 0).entries[COUL_TRANSPARENTE];
            return RGBColor{Component8To16(t.red), Component8To16(t.green), Component8To16(t.blue)};
        }();
        const bool keepsTransparent = value == COUL_TRANSPARENTE && transparent.red == c.red &&
                                      transparent.green == c.green && transparent.blue == c.blue;
        if (keepsTransparent || (own.red == c.red && own.green == c.green && own.blue == c.blue))
            map[value] = static_cast<std::uint8_t>(value);
        else
            map[value] = static_cast<std::uint8_t>(Color2Index(&c));
    }
}

// Rows of stored pixels (1, 2, 4 or 8 bits) expanded to palette indices.
void ExpandRow(const std::uint8_t* in, int width, int pixelSize, const std::uint8_t (&map)[256],
               std::uint8_t* out) {
    const int perByte = 8 / pixelSize;
    const int mask = (1 << pixelSize) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - pixelSize * (x % perByte + 1);
        out[x] = map[(in[x / perByte] >> shift) & mask];
    }
}

// Direct pixels (16-bit xRGB 1-5-5-5 words, or 32-bit in planes, triplets or xRGB quadruplets) to
// the nearest palette index, remembered per 15-bit colour.
class DirectColours {
public:
    DirectColours() { cache_.fill(-1); }
    void Row(const pict::Bits& bits, const std::uint8_t* in, int width, std::uint8_t* out) {
        const bool planes = bits.pixelSize == 32 && bits.RowPacking() == pict::Bits::Packing::Bytes;
        const int skip = planes && bits.cmpCount == 4 ? width : 0; // the alpha plane comes first
        for (int x = 0; x < width; ++x) {
            int r, g, b;
            if (bits.pixelSize == 16) {
                const int w = in[2 * x] << 8 | in[2 * x + 1];
                r = (w >> 10 & 31) << 3 | (w >> 12 & 7);
                g = (w >> 5 & 31) << 3 | (w >> 7 & 7);
                b = (w & 31) << 3 | (w >> 2 & 7);
            } else if (planes) {
                r = in[skip + x];
                g = in[skip + width + x];
                b = in[skip + 2 * width + x];
            } else if (bits.packType == 2) {
                r = in[3 * x];
                g = in[3 * x + 1];
                b = in[3 * x + 2];
            } else {
                r = in[4 * x + 1];
                g = in[4 * x + 2];
                b = in[4 * x + 3];
            }
            out[x] = Index(r, g, b);
        }
    }

private:
    std::uint8_t Index(int r, int g, int b) {
        std::int16_t& cell = cache_[std::size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))];
        if (cell < 0) {
            const RGBColor c{Component8To16(static_cast<std::uint8_t>(r)),
                             Component8To16(static_cast<std::uint8_t>(g)),
                             Component8To16(static_cast<std::uint8_t>(b))};
            cell = static_cast<std::int16_t>(Color2Index(&c));
        }
        return static_cast<std::uint8_t>(cell);
    }
    std::array<std::int16_t, 32768> cache_;
};

void Player::DrawBand(const pict::Bits& bits, const std::uint8_t* rows, int rowBytes, int firstRow, int count,
                      const Rect& dst) {
    // The band's rows of srcRect, and the part of dstRect they land on (rounded in proportion).
    const int bandTop = bits.bounds.top + firstRow, bandBottom = bandTop + count;
    const pict::Rect16& s = bits.srcRect;
    const int top = std::max<int>(s.top, bandTop), bottom = std::min<int>(s.bottom, bandBottom);
    if (top >= bottom || s.bottom <= s.top) return;
    const double ratio = double(dst.bottom - dst.top) / double(s.bottom - s.top);
    Rect src{static_cast<std::int16_t>(top), s.left, static_cast<std::int16_t>(bottom), s.right};
    Rect part = dst;
    part.top = static_cast<std::int16_t>(std::lround(dst.top + (top - s.top) * ratio));
    part.bottom = static_cast<std::int16_t>(std::lround(dst.top + (bottom - s.top) * ratio));
    if (part.top >= part.bottom) return;
    PixMap pm{};
    pm.baseAddr = reinterpret_cast<Ptr>(const_cast<std::uint8_t*>(rows));
    pm.rowBytes = static_cast<std::int16_t>(rowBytes | 0x8000);
    pm.bounds = {static_cast<std::int16_t>(bandTop), bits.bounds.left, static_cast<std::int16_t>(bandBottom),
                 bits.bounds.right};
    pm.pixelSize = 8;
    pm.cmpCount = 1;
    pm.cmpSize = 8;
    CopyBits(reinterpret_cast<const BitMap*>(&pm), &work_->portBits, &src, &part, srcCopy, nullptr);
}

void Player::Bits(const pict::Op& op) {
    const pict::Bits& bits = op.bits;
    ForeColor(blackColor);
    BackColor(whiteColor);
    const int width = bits.bounds.right - bits.bounds.left, height = bits.Height();
    const int pixelSize = bits.pixMap ? bits.pixelSize : 1;
    const bool drawable =
        width > 0 && height > 0 &&
        (bits.direct ? bits.UnpackedRowBytes() > 0
                     : (pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8) &&
                           std::int64_t(bits.rowBytes) * 8 >= std::int64_t(width) * pixelSize);
    if (work_->pnVis >= 0 && drawable) {
        const Rect dst = MapRect(bits.dstRect);
        // Bands sized from the free memory, so that no single block asks for more than there is.
        const std::int64_t rowNeed = (std::int64_t(pixelSize) * width + 7) / 8 + width;
        const std::int64_t room = std::int64_t(FreeMem()) - 10000;
        std::int64_t band = room > 0 ? room / rowNeed : 0;
        band = std::min<std::int64_t>({band, 2000000 / width, height});
        Ptr block = band > 0 ? NewPtr(static_cast<Size>(band * width)) : nullptr;
        if (block != nullptr) {
            std::uint8_t map[256] = {};
            PixelMap(bits, work_, map);
            std::vector<std::uint8_t> stored(bits.UnpackedRowBytes());
            DirectColours direct;
            pict::RowCursor cursor(bits);
            auto* out = reinterpret_cast<std::uint8_t*>(block);
            for (int first = 0; first < height; first += static_cast<int>(band)) {
                const int count = static_cast<int>(std::min<std::int64_t>(band, height - first));
                for (int y = 0; y < count; ++y) {
                    if (!cursor.Next(stored)) std::fill(stored.begin(), stored.end(), std::uint8_t{0});
                    if (bits.direct)
                        direct.Row(bits, stored.data(), width, out + std::ptrdiff_t(y) * width);
                    else
                        ExpandRow(stored.data(), width, pixelSize, map, out + std::ptrdiff_t(y) * width);
                }
                DrawBand(bits, out, width, first, count, dst);
            }
            DisposePtr(block);
        }
    }
    if (PictureRecording()) {
        pict::OperandWriter w;
        pict::WriteBitsOperand(bits, w);
        Record(bits.direct ? 0x9A : 0x90, w);
    }
}

} // namespace

pict::Status PlayPicture(PicHandle pic, const Rect& dstRect) {
    const GrafPtr caller = Drawing().current;
    if (caller == nullptr || pic == nullptr || *pic == nullptr) return pict::Status::Ok;
    const Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
    const std::span<const std::uint8_t> bytes{reinterpret_cast<const std::uint8_t*>(*pic),
                                              static_cast<std::size_t>(std::max<Size>(size, 0))};
    pict::Header header;
    const pict::Status headerStatus = pict::ReadHeader(bytes, header);
    if (headerStatus == pict::Status::EmptyPicture) return pict::Status::Ok;
    if (headerStatus != pict::Status::Ok) {
        ShowErrorBox(PictureMessage(headerStatus, 0));
        return headerStatus;
    }
    // The picture's block must not move while it is read: recording into the picture being played
    // then fails (and says so at ClosePicture) instead of reading freed memory.
    const Handle h = reinterpret_cast<Handle>(pic);
    const SignedByte state = HGetState(h);
    HLock(h);

    // A working copy of the port: everything the picture changes stays in it.
    GrafPort work = *caller;
    work.visRgn = NewRgn();
    work.clipRgn = NewRgn();
    if (work.visRgn == nullptr || work.clipRgn == nullptr) {
        if (work.visRgn) DisposeRgn(work.visRgn);
        if (work.clipRgn) DisposeRgn(work.clipRgn);
        HSetState(h, state);
        return pict::Status::Ok;
    }
    RectRgn(work.visRgn, &dstRect);
    SectRgn(work.visRgn, caller->visRgn, work.visRgn);
    SectRgn(work.visRgn, caller->clipRgn, work.visRgn);
    SetRectRgn(work.clipRgn, -32767, -32767, 32767, 32767);
    SetPort(&work);
    BeginDrawing();

    Player player(&work, header, dstRect);
    player.Start({static_cast<std::int16_t>(dstRect.top - header.frame.top),
                  static_cast<std::int16_t>(dstRect.left - header.frame.left)});
    pict::Reader reader(bytes, header);
    pict::Op op;
    pict::Status status;
    while ((status = reader.Next(op)) == pict::Status::Ok)
        player.Execute(op);

    // Whatever stopped the picture, the caller gets its port back as it was.
    caller->picSave = work.picSave;
    caller->rgnSave = work.rgnSave;
    caller->polySave = work.polySave;
    DisposeRgn(work.visRgn);
    DisposeRgn(work.clipRgn);
    SetPort(caller);
    HSetState(h, state);
    if (status != pict::Status::End) ShowErrorBox(PictureMessage(status, op.opcode));
    if (player.clipSet) {
        // SetClip of the port's own region records it into the caller's open picture.
        RecordRegion(0x01, caller->clipRgn);
    }
    if (player.fontChanged) InvalidateFontCache();
    // Put the caller's state back into its open picture, after the nested picture's opcodes.
    if (PictureRecording()) {
        RecordPenMove(caller->pnLoc);
        RecordPoint(0x07, caller->pnSize);
        if (work.pnMode != caller->pnMode) RecordShort(0x08, caller->pnMode);
        if (work.txFont != caller->txFont) RecordShort(0x03, caller->txFont);
        if (work.txSize != caller->txSize) RecordShort(0x0D, caller->txSize);
        if (work.txFace != caller->txFace) RecordFace(caller->txFace);
        if (work.spExtra != caller->spExtra) RecordLong(0x06, caller->spExtra);
        if (work.fgColor != caller->fgColor || work.fgIndex != caller->fgIndex)
            RecordLong(0x0E, caller->fgColor);
        if (work.bkColor != caller->bkColor || work.bkIndex != caller->bkIndex)
            RecordLong(0x0F, caller->bkColor);
        if (std::memcmp(work.pnPat.pat, caller->pnPat.pat, 8) != 0) RecordPattern(0x09, caller->pnPat);
        if (std::memcmp(work.bkPat.pat, caller->bkPat.pat, 8) != 0) RecordPattern(0x02, caller->bkPat);
    }
    EndDrawing();
    return status == pict::Status::End ? pict::Status::Ok : status;
}

} // namespace qiva

void DrawPicture(PicHandle pic, const Rect* dstRect) {
    if (dstRect != nullptr) qiva::PlayPicture(pic, *dstRect);
}

PicHandle OpenPicture(const Rect* picFrame) {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || picFrame == nullptr) return nullptr;
    Handle h = qiva::pict::Recorder::NewPicture(qiva::ToRect16(*picFrame));
    if (h == nullptr) return nullptr;
    qiva::TheRecorder().Reset();
    port->picSave = h;
    HidePen();
    return reinterpret_cast<PicHandle>(h);
}

void ClosePicture() {
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || port->picSave == nullptr) return;
    ShowPen();
    const Handle pic = port->picSave;
    const bool fitted = qiva::TheRecorder().Close(pic);
    port->picSave = nullptr;
    if (!fitted) qiva::ShowErrorBox("Depassement de la taille maximale en pict");
}

void KillPicture(PicHandle pic) {
    DisposeHandle(reinterpret_cast<Handle>(pic));
}

void PicComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle) {
    if (!qiva::PictureRecording()) return;
    qiva::pict::OperandWriter w;
    if (dataSize <= 0 || dataHandle == nullptr || *dataHandle == nullptr) {
        qiva::RecordShort(0xA0, kind);
        return;
    }
    const Size n = std::min<Size>(dataSize, GetHandleSize(dataHandle));
    w.I16(kind)
        .I16(static_cast<std::int16_t>(n))
        .Bytes({reinterpret_cast<const std::uint8_t*>(*dataHandle), std::size_t(n)});
    qiva::RecordOpcode(0xA1, w.Data());
}
