#pragma once
// The resource file layout, free of global state: the header, the map with its key stream, and the
// reading and writing of whole files. The Resource Manager reads maps with it; the resource tool
// writes and inspects files with it.
//
// Layout (big-endian): a 16-byte header (data offset, map offset, data length, map length); the data
// area, one block per resource (32-bit length, then the bytes); the map. The map is the classic one,
// XORed byte by byte with the key stream in our own files and left plain in classic files.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/mac_types.h"

namespace qiva {

// The key stream that scrambles the map. Every file the system makes uses the same three-byte key.
class MapKeyStream {
public:
    MapKeyStream();
    std::uint8_t Next();

private:
    std::uint8_t a_, b_, c_;
};

// XORs the bytes with the key stream from its start: scrambles a plain map and unscrambles a
// scrambled one.
void ScrambleMap(std::uint8_t* map, std::size_t length);

struct ResourceHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t mapOffset = 0;
    std::uint32_t dataLength = 0;
    std::uint32_t mapLength = 0;
};
inline constexpr std::size_t kResourceHeaderSize = 16;
inline constexpr std::size_t kMapHeaderSize = 28; // through the name list offset
inline constexpr std::uint16_t kNoName = 0xFFFF;

ResourceHeader ReadResourceHeader(const std::uint8_t* bytes); // 16 bytes

// One reference of a parsed map. Names are the stored bytes (Macintosh character set).
struct MapReference {
    std::int16_t id = 0;
    std::uint8_t attributes = 0;
    std::optional<std::string> name;
    std::uint32_t dataOffset = 0; // from the start of the data area (24 bits)
};

struct MapType {
    ResType type = 0;
    std::vector<MapReference> references;
};

// Parses a plain (unscrambled) map. Every offset and count is checked against the map's length; a map
// that points outside itself, lists a type twice or claims more references than it has room for is
// refused with a reason, and nothing is read outside [map, map + length).
bool ParseResourceMap(const std::uint8_t* map, std::size_t length, std::vector<MapType>& types,
                      std::string& error);

// A resource as the tool handles it.
struct Resource {
    ResType type = 0;
    std::int16_t id = 0;
    std::uint8_t attributes = 0;
    std::optional<std::string> name;
    std::vector<std::uint8_t> data;
};

enum class MapLayout { Scrambled, Classic };

// Writes a whole file: data blocks in the order given, the map with types in order of first
// appearance and each type's references in the order given. Fails (with a reason) when the
// resources do not fit the layout's 16- and 24-bit offsets or a name is longer than 255 bytes.
bool WriteResourceFile(const std::vector<Resource>& resources, MapLayout layout,
                       std::vector<std::uint8_t>& file, std::string& error);

// Reads a whole file image into resources in map order. Every data block must lie inside the file and
// no two may overlap, so that what is read never adds up to more than the file; a damaged file is
// refused before any resource data is copied.
bool ReadResourceFile(const std::vector<std::uint8_t>& file, MapLayout layout,
                      std::vector<Resource>& resources, std::string& error);

// "TEXT" for a type; characters outside printable ASCII come out as \xNN.
std::string ResTypeText(ResType type);

} // namespace qiva
