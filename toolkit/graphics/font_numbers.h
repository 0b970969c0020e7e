#pragma once
// Font numbers. Below 0x2000 a number names a classic bitmap family drawn from 'FONT' strikes,
// except eight classic numbers that stand for TrueType faces; from 0x2000 a number names a
// TrueType face: up to 0xE000 by a hash of its name (family code + 1 in bits 13-15), from 0xE000 as
// written in the "Fontes" section of WQIVA.INI (family code + 1 in bits 8-10).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qiva {

// The face number a font number draws with, or 0 for a bitmap family.
std::uint16_t ClassicToFaceNumber(std::uint16_t font);

// The family code a face number carries (-1 when its family bits are 0).
int FamilyCodeOfNumber(std::uint16_t number);

// The number of a face called `name` of family `familyCode`, given `fontesValue`, what the
// "Fontes" section holds for the name ("0" when absent): a hexadecimal value of 0xE000 or more is
// the number itself; otherwise the number is made from a hash of the name.
std::uint16_t FontNumberFromName(std::string_view name, int familyCode, std::string_view fontesValue);

// The 'FONT' resource ID for a family and size when the size has one (sizes below 128), else -1.
int StrikeId(int font, int size);

// The strike to load for (font, size) among the 'FONT' IDs available: the family's strike of the
// smallest distance (requested - available; a negative distance d counts as 100 - d, so smaller
// sizes are preferred), else ID 12 (family 0, size 12) as the last resort. IDs are read as
// unsigned 16-bit numbers, so that negative IDs belong to no family.
std::optional<std::uint16_t> ChooseStrikeId(int font, int size, std::span<const std::int16_t> available);

} // namespace qiva
