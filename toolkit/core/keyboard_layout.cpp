#include "toolkit/core/keyboard_layout.h"

#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"

namespace qiva {
namespace {

Handle keyboardLayout = nullptr;

} // namespace

void LoadKeyboardLayout() {
    Handle layout = GetResource(MakeResType("KCHR"), 1);
    if (!layout) return;
    DetachResource(layout);
    if (keyboardLayout) DisposeHandle(keyboardLayout);
    keyboardLayout = layout;
}

Handle KeyboardLayout() {
    return keyboardLayout;
}

void ResetKeyboardLayout() {
    if (keyboardLayout) DisposeHandle(keyboardLayout);
    keyboardLayout = nullptr;
}

} // namespace qiva
