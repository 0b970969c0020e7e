#include "toolkit/controls/control_template.h"

#include "toolkit/core/big_endian.h"

namespace qiva {

std::optional<ControlTemplate> ParseControlTemplate(std::span<const std::uint8_t> data) {
    BigEndianReader r(data);
    ControlTemplate t;
    t.bounds.top = r.S16();
    t.bounds.left = r.S16();
    t.bounds.bottom = r.S16();
    t.bounds.right = r.S16();
    t.value = r.S16();
    t.visible = r.U8() != 0;
    r.Skip(1);
    t.max = r.S16();
    t.min = r.S16();
    t.procID = r.S16();
    t.refCon = r.S32();
    t.title = r.Pascal();
    if (!r.Ok()) return std::nullopt;
    return t;
}

} // namespace qiva
