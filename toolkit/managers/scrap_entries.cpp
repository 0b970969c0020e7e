#include "toolkit/managers/scrap_entries.h"

namespace qiva {
namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

} // namespace

void WriteScrapEntryHeader(std::uint8_t* dest, ResType type, std::int32_t length) {
    Put32(dest, type);
    Put32(dest + 4, static_cast<std::uint32_t>(length) + 4);
    Put32(dest + 8, static_cast<std::uint32_t>(length));
}

bool FindScrapEntry(std::span<const std::uint8_t> block, ResType type, ScrapEntry* found) {
    const std::size_t size = block.size();
    std::size_t pos = 0;
    while (pos < size && size - pos >= 8) {
        const std::uint32_t entryType = Get32(&block[pos]);
        const auto entryLength = static_cast<std::int32_t>(Get32(&block[pos + 4]));
        if (entryLength < 0 || static_cast<std::size_t>(entryLength) > size - pos - 8) return false;
        if (entryType == type) {
            if (entryLength < 4) return false;
            const auto length = static_cast<std::int32_t>(Get32(&block[pos + 8]));
            if (length < 0 || length > entryLength - 4) return false;
            *found = {static_cast<std::int32_t>(pos + kScrapEntryHeader), length};
            return true;
        }
        pos += 8 + static_cast<std::size_t>(entryLength);
    }
    return false;
}

} // namespace qiva
