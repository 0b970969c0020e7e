#include "toolkit/graphics/font_numbers.h"

#include <cstdio>
#include <string>

namespace qiva {

std::uint16_t ClassicToFaceNumber(std::uint16_t font) {
    switch (font) {
    case 2:
        return 0xE100;
    case 5:
        return 0xE480;
    case 6:
        return 0xE400;
    case 12:
        return 0xE201;
    case 20:
        return 0xE180;
    case 21:
        return 0xE281;
    case 22:
        return 0xE300;
    case 23:
        return 0xE101;
    default:
        return font >= 0x2000 ? font : 0;
    }
}

int FamilyCodeOfNumber(std::uint16_t number) {
    return number < 0xE000 ? (number >> 13) - 1 : ((number >> 8) & 7) - 1;
}

std::uint16_t FontNumberFromName(std::string_view name, int familyCode, std::string_view fontesValue) {
    const std::string value(fontesValue);
    unsigned short explicitNumber = 0;
    if (std::sscanf(value.c_str(), "%hx", &explicitNumber) == 1 && explicitNumber >= 0xE000)
        return explicitNumber;

    unsigned a = name.size() & 0x7F;
    unsigned b = (value.size() ^ 0x3F) & 0x3F;
    for (char ch : name) {
        unsigned c;
        if (ch >= '0' && ch <= '9')
            c = static_cast<unsigned>(ch - '0') + 1;
        else if (ch >= 'A' && ch <= 'Z')
            c = static_cast<unsigned>(ch - 'A') + 11;
        else if (ch >= 'a' && ch <= 'z')
            c = static_cast<unsigned>(ch - 'a') + 11;
        else
            continue;
        unsigned t = a << 1;
        a = ((t & 0x7F) + (t >> 7)) ^ c;
        t = b << 5;
        b = (t & 0x3F) + (t >> 6) + c;
        while (b > 0x3F)
            b = ((b >> 6) + b) & 0x3F;
    }
    return static_cast<std::uint16_t>(b | a << 6 | static_cast<unsigned>(familyCode + 1) << 13);
}

int StrikeId(int font, int size) {
    if (size < 0 || size >= 128 || font < 0) return -1;
    const int id = font * 128 + size;
    return id <= 0x7FFF ? id : -1;
}

std::optional<std::uint16_t> ChooseStrikeId(int font, int size, std::span<const std::int16_t> available) {
    std::optional<std::uint16_t> best;
    int bestDistance = 0;
    bool lastResort = false;
    for (std::int16_t raw : available) {
        const auto id = static_cast<std::uint16_t>(raw);
        if (id == 12) lastResort = true;
        if (id / 128 != font || id % 128 == 0) continue;
        int distance = size - id % 128;
        if (distance < 0) distance = 100 - distance;
        if (!best || distance < bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    if (!best && lastResort) best = 12;
    return best;
}

} // namespace qiva
