#pragma once
// The structured resource types the source text spells out field by field. Each codec reads a
// resource's fields (up to its closing brace) into the type's classic big-endian layout, and writes
// a resource's bytes back as those fields. A codec may decline data it cannot spell exactly; the
// dump then writes that resource as hexadecimal, so that dump then build always gives the same bytes.

#include <cstdint>
#include <string>

#include "tools/qiva-rsrc/source_text.h"

namespace qiva_rsrc {

struct TypeCodec {
    const char* type; // four characters
    void (*compile)(Parser& p, std::int16_t id, Bytes& out);
    // The fields as source lines (each ending in a newline, without indentation); false when the
    // data has no exact text form.
    bool (*decompile)(const Bytes& data, std::int16_t id, std::string& body);
};

const TypeCodec* FindCodec(ResType type);

} // namespace qiva_rsrc
