#include "toolkit/managers/te_dump.h"

#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/te_hit.h"
#include "toolkit/managers/te_internal.h"

namespace qiva {

void AppendTEDumpLines(std::string& out, GrafPtr port) {
    if (port == nullptr) return;
    int index = 0;
    for (int i = 0; i < TERecordCount(); ++i) {
        TEHandle te = TERecordAt(i);
        if ((*te)->inPort != port) continue;
        te::PortScope scope(*te);
        const Point at = te::PointOfOffset(te, (*te)->selStart);
        const int line = te::LineOfOffset(te::Text(*te), te::Starts(*te), (*te)->selStart);
        Point caret{static_cast<std::int16_t>(at.v + te::LineHeightOf(*te, line) / 2), at.h};
        LocalToGlobal(&caret);
        Rect view = (*te)->viewRect;
        Point topLeft{view.top, view.left};
        LocalToGlobal(&topLeft);
        OffsetRect(&view, topLeft.h - view.left, topLeft.v - view.top);
        const TEPtr p = *te;
        out += "te " + std::to_string(index++) + " text " +
               DumpQuotedMac(std::string_view(*p->hText, p->teLength)) + " sel " +
               std::to_string(p->selStart) + " " + std::to_string(p->selEnd) + " caret " +
               std::to_string(caret.h) + " " + std::to_string(caret.v) + " lines " +
               std::to_string(p->nLines) + " view " + DumpRect(view) + " active " + (p->active ? "1" : "0") +
               "\n";
    }
}

} // namespace qiva
