#pragma once
// The keyboard layout: the 'KCHR' resource the start-up makes current.

#include "toolkit/core/mac_types.h"

namespace qiva {

// Loads 'KCHR' 1 from the open resource files, detaches it and makes it the current layout, disposing
// the previous one. Without such a resource the current layout stays.
void LoadKeyboardLayout();
// The current layout, null before one is loaded.
Handle KeyboardLayout();
// Disposes the current layout (tests).
void ResetKeyboardLayout();

} // namespace qiva
