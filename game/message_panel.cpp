#include "game/message_panel.h"

#include "game/game_state.h"
#include "game/session_state.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/rect_utils.h"
#include "toolkit/graphics/shapes.h"
#include "toolkit/graphics/text.h"
#include "toolkit/managers/textedit.h"
#include "toolkit/windows/windows.h"

namespace tolka {

namespace {

std::string lastText;

constexpr RGBColor kPanelGround{0xA400, 0xB600, 0x0A00};

} // namespace

void ShowPanelText(std::string_view text) {
    if (!showMessages || !mainWindow) return;
    lastText.assign(text.substr(0, kPanelTextSize - 1));
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    qiva::BeginDrawing(); // one present for the whole panel
    TextSize(12);
    TextFont(3);
    // The ground leaves 4 pixels at the right and bottom for the shadow.
    Rect r = kMessagePanelRect;
    r.right -= 4;
    r.bottom -= 4;
    RGBBackColor(&kPanelGround);
    EraseRect(&r);
    InsetRect(&r, 4, 4);
    TETextBox(lastText.data(), static_cast<std::int32_t>(lastText.size()), &r, teJustCenter);
    BackColor(whiteColor);
    InsetRect(&r, -4, -4);
    FrameRect(&r);
    PenSize(4, 4);
    MoveTo(r.left + 8, r.bottom);
    LineTo(r.right, r.bottom);
    LineTo(r.right, r.top + 8);
    PenSize(1, 1);
    TextFont(0);
    TextSize(0);
    qiva::EndDrawing();
    SetPort(saved);
}

void InvalMessagePanel() {
    if (!mainWindow) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(mainWindow);
    InvalRect(&kMessagePanelRect);
    SetPort(saved);
}

std::string PanelText() {
    return showMessages ? lastText : std::string();
}

void ClearPanelText() {
    lastText.clear();
}

} // namespace tolka
