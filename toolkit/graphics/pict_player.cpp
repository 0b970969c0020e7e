#include "toolkit/graphics/pict_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/font_cache_hook.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/arcs.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/curves.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_opcodes.h"
#include "toolkit/graphics/pict_pixels.h"
#include "toolkit/graphics/pict_recorder.h"
#include "toolkit/graphics/pict_scale.h"
#include "toolkit/graphics/poly_drawing.h"
#include "toolkit/graphics/polygons.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/region_drawing.h"
#include "toolkit/graphics/regions.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/graphics/text.h"

namespace qiva {

namespace {

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
    RecordOpcode(opcode, w.Data());
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
    void RectShape(int verb, const Rect& r);
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

void Player::RectShape(int verb, const Rect& r) {
    switch (verb) {
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
    case pict::kClip: {
        scaler_.MapRegion(op.shape, mapped_, engine_);
        RgnHandle clip = NewRgn();
        if (clip == nullptr) return;
        StoreNormalised(clip, mapped_);
        SetClip(clip);
        DisposeRgn(clip);
        clipSet = true;
        return;
    }
    case pict::kBkPat: {
        Pattern p;
        std::memcpy(p.pat, op.pattern.data(), 8);
        BackPat(&p);
        return;
    }
    case pict::kTxFont:
        TextFont(op.a);
        fontChanged = true;
        return;
    case pict::kTxFace:
        TextFace(op.a);
        return;
    case pict::kTxMode:
        TextMode(op.a);
        return;
    case pict::kSpExtra:
        SpaceExtra(scaler_.SpaceExtra(op.a));
        return;
    case pict::kPnSize: {
        const pict::Point16 s = scaler_.PenSize(op.p1);
        PenSize(s.h, s.v);
        return;
    }
    case pict::kPnMode:
        PenMode(op.a);
        return;
    case pict::kPnPat: {
        Pattern p;
        std::memcpy(p.pat, op.pattern.data(), 8);
        PenPat(&p);
        return;
    }
    case pict::kFillPat:
        std::memcpy(work_->fillPat.pat, op.pattern.data(), 8);
        return;
    case pict::kOvSize:
        ovalSize_ = {scaler_.Height(op.p1.v), scaler_.Width(op.p1.h)};
        return;
    case pict::kOrigin:
        SetOrigin(scaler_.Width(op.a), scaler_.Height(op.b));
        return;
    case pict::kTxSize:
        TextSize(scaler_.TextSize(static_cast<std::int16_t>(op.a)));
        fontChanged = true;
        return;
    case pict::kFgColor:
        ForeColor(static_cast<std::int16_t>(op.a));
        return;
    case pict::kBkColor:
        BackColor(static_cast<std::int16_t>(op.a));
        return;
    case pict::kRGBFgCol:
    case pict::kRGBBkCol: {
        const RGBColor c{op.rgb.red, op.rgb.green, op.rgb.blue};
        if (code == pict::kRGBFgCol)
            RGBForeColor(&c);
        else
            RGBBackColor(&c);
        return;
    }
    case pict::kLine: {
        const Point a = MapPoint(op.p1), b = MapPoint(op.p2);
        MoveTo(a.h, a.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case pict::kLineFrom: {
        const Point b = MapPoint(op.p1);
        MoveTo(linePen_.h, linePen_.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case pict::kShortLine: {
        const Point a = MapPoint(op.p1);
        const Point b =
            MapPoint({static_cast<std::int16_t>(op.p1.v + op.b), static_cast<std::int16_t>(op.p1.h + op.a)});
        MoveTo(a.h, a.v);
        LineTo(b.h, b.v);
        linePen_ = work_->pnLoc;
        return;
    }
    case pict::kShortLineFrom:
        MoveTo(linePen_.h, linePen_.v);
        Line(scaler_.Width(op.a), scaler_.Height(op.b));
        linePen_ = work_->pnLoc;
        return;
    case pict::kLongText: {
        const Point a = MapPoint(op.p1);
        MoveTo(a.h, a.v);
        textPen_ = work_->pnLoc;
        Text(op.bytes);
        return;
    }
    case pict::kDHText:
    case pict::kDVText:
    case pict::kDHDVText:
        MoveTo(textPen_.h, textPen_.v);
        if (code == pict::kDHText)
            Move(scaler_.Width(op.a), 0);
        else if (code == pict::kDVText)
            Move(0, scaler_.Height(op.a));
        else
            Move(scaler_.Width(op.a), scaler_.Height(op.b));
        textPen_ = work_->pnLoc;
        Text(op.bytes);
        return;
    case pict::kBitsRect:
    case pict::kPackBitsRect:
    case pict::kDirectBitsRect:
    case pict::kDirectBitsRgn:
        Bits(op);
        return;
    case pict::kShortComment:
        if (PictureRecording()) PicComment(static_cast<std::int16_t>(op.a), 0, nullptr);
        return;
    case pict::kLongComment:
        if (PictureRecording()) {
            Record(pict::kLongComment, pict::OperandWriter()
                                           .I16(static_cast<std::int16_t>(op.a))
                                           .I16(static_cast<std::int16_t>(op.bytes.size()))
                                           .Bytes(op.bytes));
        }
        return;
    default:
        break;
    }
    const int family = pict::FamilyOf(code), verb = pict::VerbOf(code);
    if ((family == pict::kFrameRect || family == pict::kFrameRRect || family == pict::kFrameOval) &&
        !pict::IsSameShape(code))
        lastRect_ = MapRect(op.rect);
    switch (family) {
    case pict::kFrameRect:
        RectShape(verb, lastRect_);
        return;
    case pict::kFrameRRect:
        RoundRectShape(verb, lastRect_);
        return;
    case pict::kFrameOval:
        OvalShape(verb, lastRect_);
        return;
    case pict::kFrameArc:
        ArcShape(verb, MapRect(op.rect), static_cast<int>(op.a), static_cast<int>(op.b));
        return;
    case pict::kFramePoly:
        PolyShape(verb, op.shape);
        return;
    case pict::kFrameRgn:
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
            PixelMap(bits, static_cast<std::uint8_t>(work_->bkIndex),
                     static_cast<std::uint8_t>(work_->fgIndex), map);
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
        Record(bits.direct ? pict::kDirectBitsRect : pict::kBitsRect, w);
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
        RecordRegion(pict::kClip, caller->clipRgn);
    }
    if (player.fontChanged) InvalidateFontCache();
    // Put the caller's state back into its open picture, after the nested picture's opcodes.
    if (PictureRecording()) {
        RecordPenMove(caller->pnLoc);
        RecordPoint(pict::kPnSize, caller->pnSize);
        if (work.pnMode != caller->pnMode) RecordShort(pict::kPnMode, caller->pnMode);
        if (work.txFont != caller->txFont) RecordShort(pict::kTxFont, caller->txFont);
        if (work.txSize != caller->txSize) RecordShort(pict::kTxSize, caller->txSize);
        if (work.txFace != caller->txFace) RecordFace(caller->txFace);
        if (work.spExtra != caller->spExtra) RecordLong(pict::kSpExtra, caller->spExtra);
        if (work.fgColor != caller->fgColor || work.fgIndex != caller->fgIndex)
            RecordLong(pict::kFgColor, caller->fgColor);
        if (work.bkColor != caller->bkColor || work.bkIndex != caller->bkIndex)
            RecordLong(pict::kBkColor, caller->bkColor);
        if (std::memcmp(work.pnPat.pat, caller->pnPat.pat, 8) != 0)
            RecordPattern(pict::kPnPat, caller->pnPat);
        if (std::memcmp(work.bkPat.pat, caller->bkPat.pat, 8) != 0)
            RecordPattern(pict::kBkPat, caller->bkPat);
    }
    EndDrawing();
    return status == pict::Status::End ? pict::Status::Ok : status;
}

} // namespace qiva

void DrawPicture(PicHandle pic, const Rect* dstRect) {
    if (dstRect != nullptr) qiva::PlayPicture(pic, *dstRect);
}
