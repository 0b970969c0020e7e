#include "toolkit/controls/control_drawing.h"

#include <algorithm>
#include <cstring>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/picture_resources.h"

namespace qiva::controls {

DrawScope::DrawScope() {
    GetPort(&port_);
    BeginDrawing();
    if (!port_) return;
    font_ = port_->txFont;
    size_ = port_->txSize;
    mode_ = port_->txMode;
    face_ = port_->txFace;
    fg_ = port_->fgColor;
    bk_ = port_->bkColor;
    fgIndex_ = port_->fgIndex;
    bkIndex_ = port_->bkIndex;
    GetPenState(&pen_);
    TextFont(0);
    TextSize(0);
    TextFace(0);
    TextMode(srcOr);
    PenNormal();
}

DrawScope::~DrawScope() {
    if (port_) {
        TextFont(font_);
        TextSize(size_);
        TextFace(face_);
        TextMode(mode_);
        SetPenState(&pen_);
        ForeColor(fg_);
        BackColor(bk_);
        // A colour set by RGB has no classic code: its index comes back as it was.
        port_->fgIndex = fgIndex_;
        port_->bkIndex = bkIndex_;
    }
    EndDrawing();
}

Rect MakeRect(int left, int top, int right, int bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

void Fill(const Rect& r, std::int32_t colour) {
    ForeColor(colour);
    PaintRect(&r);
}

void Frame(const Rect& r, std::int32_t colour) {
    ForeColor(colour);
    FrameRect(&r);
}

namespace {

void Segment(int h1, int v1, int h2, int v2) {
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

} // namespace

void Bevel(const Rect& r, std::int32_t light, std::int32_t dark, int thickness) {
    const int L = r.left, T = r.top, R = r.right - 1, B = r.bottom - 1;
    for (int i = 0; i < thickness; ++i) {
        if (R - i < L + i || B - i < T + i) break;
        ForeColor(light);
        Segment(L + i, T + i, R - i, T + i);
        Segment(L + i, T + i, L + i, B - i);
        ForeColor(dark);
        Segment(L + i + 1, B - i, R - i, B - i);
        Segment(R - i, T + i + 1, R - i, B - i);
    }
}

void DrawTitle(const char* title, const Rect& r, int h, bool centre, std::int32_t colour) {
    if (!title || !*title) return;
    const int length = static_cast<int>(std::strlen(title));
    FontInfo info{};
    GetFontInfo(&info);
    if (centre) h = r.left + (r.right - r.left - TextWidth(title, 0, length)) / 2;
    const int v = r.top + (r.bottom - r.top - (info.ascent + info.descent)) / 2 + info.ascent;
    RgnHandle saved = NewRgn(), clip = NewRgn();
    GetClip(saved);
    RectRgn(clip, &r);
    SectRgn(clip, saved, clip);
    SetClip(clip);
    ForeColor(colour);
    MoveTo(h, v);
    DrawText(title, 0, length);
    SetClip(saved);
    DisposeRgn(clip);
    DisposeRgn(saved);
}

bool DrawSystemPicture(std::int16_t id, const Rect& r) {
    PicHandle pic = GetPicture(id);
    if (!pic) return false;
    ForeColor(kBlack);
    BackColor(kWhite);
    DrawPicture(pic, &r);
    return true;
}

void DrawPlainArrow(const Rect& r, ArrowDirection direction, bool pressed) {
    Fill(r, pressed ? kGrey : kBackground);
    Frame(r, kBlack);
    const Rect inner = MakeRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    if (!pressed) Bevel(inner, kWhite, kGrey, 1);
    // A triangle of four rows, its point towards the direction.
    const int shift = pressed ? 1 : 0;
    const int ch = (r.left + r.right) / 2 + shift, cv = (r.top + r.bottom) / 2 + shift;
    ForeColor(kBlack);
    for (int i = 0; i < 4; ++i) {
        switch (direction) {
        case ArrowDirection::Up:
            Segment(ch - i, cv - 2 + i, ch + i, cv - 2 + i);
            break;
        case ArrowDirection::Down:
            Segment(ch - i, cv + 1 - i, ch + i, cv + 1 - i);
            break;
        case ArrowDirection::Left:
            Segment(ch - 2 + i, cv - i, ch - 2 + i, cv + i);
            break;
        case ArrowDirection::Right:
            Segment(ch + 1 - i, cv - i, ch + 1 - i, cv + i);
            break;
        }
    }
}

void DrawPlainThumb(const Rect& r) {
    Fill(r, kBackground);
    Frame(r, kBlack);
    Bevel(MakeRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), kWhite, kGrey, 1);
}

void DrawPlainCheckBox(const Rect& r, bool on) {
    Fill(r, kWhite);
    Frame(r, kBlack);
    if (!on) return;
    ForeColor(kBlack);
    Segment(r.left + 2, r.top + 2, r.right - 3, r.bottom - 3);
    Segment(r.left + 2, r.bottom - 3, r.right - 3, r.top + 2);
}

void DrawPlainRadio(const Rect& r, bool on) {
    ForeColor(kWhite);
    PaintOval(&r);
    ForeColor(kBlack);
    FrameOval(&r);
    if (!on) return;
    Rect dot = MakeRect(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3);
    PaintOval(&dot);
}

} // namespace qiva::controls
