// The windows' lines of the state dump, front to back.

#include <string>

#include "toolkit/core/state_dump.h"
#include "toolkit/windows/wm_state.h"

namespace qiva {

void WriteWindowLines(std::string& out) {
    int index = 0;
    for (WindowPeek w = WM().windowList; w; w = w->nextWindow, ++index) {
        const Rect content = GlobalContentRect(w);
        const Rect structure = w->strucRgn ? (*w->strucRgn)->rgnBBox : Rect{0, 0, 0, 0};
        out += "window " + std::to_string(index) + " title " +
               DumpQuotedMac(w->titleText ? w->titleText : "") + " kind " + std::to_string(w->windowKind) +
               " proc " + std::to_string(w->procID) + " refcon " + std::to_string(w->refCon) + " visible " +
               (w->visible ? "1" : "0") + " hilited " + (w->hilited ? "1" : "0") + " content " +
               DumpRect(content) + " struct " + DumpRect(structure) + "\n";
    }
}

} // namespace qiva
