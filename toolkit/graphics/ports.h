#pragma once
// Graphics ports and the pen: the Toolbox calls on the current port. Every drawing operation
// expects a current port; without one it does nothing.

#include "toolkit/graphics/quickdraw_types.h"

// The QuickDraw globals of a program: the standard patterns and the screen BitMap (a copy of the
// template port's portBits).
struct QDGlobals {
    Pattern white;
    Pattern black;
    Pattern gray;
    Pattern ltGray;
    Pattern dkGray;
    BitMap screenBits;
};
extern QDGlobals qd;

void SetPort(GrafPtr port);
void GetPort(GrafPtr* port);
void InitPort(GrafPtr port);
void OpenPort(GrafPtr port);
void ClosePort(GrafPtr port);
void SetOrigin(int h, int v);
void MovePortTo(int left, int top);
void GlobalToLocal(Point* pt);
void LocalToGlobal(Point* pt);
void ClipRect(const Rect* r);
void SetClip(RgnHandle rgn);
void GetClip(RgnHandle rgn);

void MoveTo(int h, int v);
void Move(int dh, int dv);
void GetPen(Point* pt);
void PenSize(int width, int height);
void PenMode(int mode);
void PenPat(const Pattern* pat);
void BackPat(const Pattern* pat);
void PenNormal();
void HidePen();
void ShowPen();
void GetPenState(PenState* state);
void SetPenState(const PenState* state);

void ForeColor(std::int32_t colour);
void BackColor(std::int32_t colour);
void RGBForeColor(const RGBColor* rgb);
void RGBBackColor(const RGBColor* rgb);
void GetForeColor(RGBColor* rgb);
void GetBackColor(RGBColor* rgb);

namespace qiva {

// The window's scrolled view of the screen buffer (the Window Manager's offsets and the height of
// the top band that never scrolls vertically).
void SetScreenView(int hOffset, int vOffset, int bandHeight);
void SetOutputSuspended(bool suspended);
void SetFlushAtOnce(bool atOnce);

} // namespace qiva
