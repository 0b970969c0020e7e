// The start-up panel.

#include "toolkit/dialogs/splash.h"

#include <algorithm>

#include "toolkit/core/events.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/time_manager.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"

namespace qiva {

namespace {

constexpr std::int16_t kSplashDialog = -9999;
constexpr std::int16_t kSignaturePicture = -8999;
constexpr int kPasses = 140;    // of three ticks each: seven seconds
constexpr int kPassTicks = 3;
constexpr int kMargin = 14; // under the signature

} // namespace

void ShowSplash() {
    DialogPtr dialog = GetNewDialog(kSplashDialog, nullptr, reinterpret_cast<WindowPtr>(-1));
    if (!dialog) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);

    // The signature, when its file is there, goes centred under the text; the panel grows to hold it.
    const std::int16_t previous = CurResFile();
    const std::int16_t file = OpenResFile("signatur.rsr");
    PicHandle signature = nullptr;
    Rect place{};
    if (file > 0) {
        signature = reinterpret_cast<PicHandle>(Get1Resource(MakeResType("PICT"), kSignaturePicture));
        Rect frame{};
        if (signature && PictureFrame(signature, frame)) {
            const int width = frame.right - frame.left, height = frame.bottom - frame.top;
            const Rect content = dialog->portRect;
            const int left = content.left + (content.right - content.left - width) / 2;
            SetRect(&place, left, content.bottom, left + width, content.bottom + height);
            SizeWindow(dialog, static_cast<std::int16_t>(content.right - content.left),
                       static_cast<std::int16_t>(content.bottom - content.top + height + kMargin), true);
            // Grown downwards, the panel moves up by half the growth to stay where it was placed.
            const Rect global = GlobalContentRect(reinterpret_cast<WindowPeek>(dialog));
            const int top = std::max(GetMBarHeight() + 24, global.top - (height + kMargin) / 2);
            MoveWindow(dialog, global.left, static_cast<std::int16_t>(top), false);
        } else {
            signature = nullptr;
        }
    }
    ShowWindow(dialog);
    SelectWindow(dialog);
    DrawDialog(dialog);
    if (signature) {
        DrawPicture(signature, &place);
        ReleaseResource(reinterpret_cast<Handle>(signature));
    }
    if (file > 0) {
        CloseResFile(file);
        if (previous != file) UseResFile(previous);
    }
    // What was drawn is the panel's final face: no update should draw it again.
    ValidRect(&dialog->portRect);

    for (int pass = 0; pass < kPasses; ++pass) {
        if (Button()) break;
        EventRecord event;
        const bool pressed = GetNextEvent(mDownMask | keyDownMask, &event);
        ShortDelay(kPassTicks);
        if (pressed) break;
    }
    // The click or key that ended the wait was for the panel, not for the program behind it.
    FlushEvents(mDownMask | keyDownMask, 0);
    SetPort(saved);
    DisposeDialog(dialog);
}

} // namespace qiva
