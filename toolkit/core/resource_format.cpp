#include "toolkit/core/resource_format.h"

#include <algorithm>
#include <set>

namespace qiva {
namespace {

// The map key, kept as three separate bytes.
constexpr std::uint8_t kKeyA = 0x6B;
constexpr std::uint8_t kKeyB = 0xD2;
constexpr std::uint8_t kKeyC = 0x39;

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t Get32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

void Set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

} // namespace

MapKeyStream::MapKeyStream() : a_(kKeyA), b_(kKeyB), c_(kKeyC) {}

std::uint8_t MapKeyStream::Next() {
    const unsigned k = a_ >> 7;
    const auto a = static_cast<std::uint8_t>((((a_ << 1) & 0xFF) | 1) ^ b_);
    const unsigned m = b_ & 1;
    const auto b = static_cast<std::uint8_t>(((k << 7) | (b_ >> 1)) ^ c_);
    const unsigned sum = unsigned{b} + c_ + m;
    const unsigned s = sum & 0xFF;
    const unsigned n = sum >> 8;
    c_ = static_cast<std::uint8_t>(s + a + n);
    a_ = a;
    b_ = b;
    return a_;
}

void ScrambleMap(std::uint8_t* map, std::size_t length) {
    MapKeyStream stream;
    for (std::size_t i = 0; i < length; ++i)
        map[i] ^= stream.Next();
}

ResourceHeader ReadResourceHeader(const std::uint8_t* bytes) {
    return {Get32(bytes), Get32(bytes + 4), Get32(bytes + 8), Get32(bytes + 12)};
}

bool ParseResourceMap(const std::uint8_t* map, std::size_t length, std::vector<MapType>& types,
                      std::string& error) {
    types.clear();
    if (length < kMapHeaderSize) {
        error = "the map is shorter than its header";
        return false;
    }
    const auto typeList = static_cast<std::int16_t>(Get16(map + 24));
    const auto nameList = static_cast<std::int16_t>(Get16(map + 26));
    if (typeList < 0 || static_cast<std::size_t>(typeList) + 2 > length) {
        error = "the type list lies outside the map";
        return false;
    }
    const std::uint8_t* list = map + typeList;
    const int typeCount = static_cast<std::int16_t>(Get16(list)) + 1;
    if (typeCount < 0 || static_cast<std::size_t>(typeList) + 2 + std::size_t{8} * typeCount > length) {
        error = "the type list runs off the end of the map";
        return false;
    }
    // References take 12 bytes each; more of them than the map can hold means lists that overlap.
    std::size_t totalReferences = 0;
    std::set<ResType> seen;
    types.resize(static_cast<std::size_t>(typeCount));
    for (int t = 0; t < typeCount; ++t) {
        const std::uint8_t* entry = list + 2 + 8 * t;
        MapType& type = types[static_cast<std::size_t>(t)];
        type.type = Get32(entry);
        const int count = static_cast<std::int16_t>(Get16(entry + 4)) + 1;
        const auto refList = static_cast<std::int16_t>(Get16(entry + 6));
        if (!seen.insert(type.type).second) {
            error = "type '" + ResTypeText(type.type) + "' is listed twice";
            return false;
        }
        const std::size_t start = static_cast<std::size_t>(typeList) + static_cast<std::size_t>(refList);
        if (count < 0 || refList < 0 || start + std::size_t{12} * count > length) {
            error = "the reference list of '" + ResTypeText(type.type) + "' lies outside the map";
            return false;
        }
        totalReferences += static_cast<std::size_t>(count);
        if (totalReferences * 12 > length) {
            error = "the reference lists overlap";
            return false;
        }
        type.references.resize(static_cast<std::size_t>(count));
        for (int r = 0; r < count; ++r) {
            const std::uint8_t* ref = map + start + 12 * r;
            MapReference& reference = type.references[static_cast<std::size_t>(r)];
            reference.id = static_cast<std::int16_t>(Get16(ref));
            reference.attributes = ref[4];
            reference.dataOffset = (std::uint32_t{Get16(ref + 5)} << 8) | ref[7];
            const std::uint16_t nameOffset = Get16(ref + 2);
            if (nameOffset == kNoName) continue;
            const std::size_t at = static_cast<std::size_t>(nameList) + nameOffset;
            if (nameList < 0 || at >= length || at + 1 + map[at] > length) {
                error = "a name of '" + ResTypeText(type.type) + "' runs off the end of the map";
                return false;
            }
            reference.name = std::string(reinterpret_cast<const char*>(map + at + 1), map[at]);
        }
    }
    return true;
}

bool WriteResourceFile(const std::vector<Resource>& resources, MapLayout layout,
                       std::vector<std::uint8_t>& file, std::string& error) {
    constexpr std::uint32_t kDataStart = 256; // room for the header and the classic reserved bytes
    file.assign(kDataStart, 0);

    // Types in order of first appearance; each type's resources in the order given.
    std::vector<ResType> typeOrder;
    for (const Resource& r : resources) {
        if (std::find(typeOrder.begin(), typeOrder.end(), r.type) == typeOrder.end())
            typeOrder.push_back(r.type);
    }
    if (typeOrder.size() > 0x7FFF) {
        error = "too many resource types";
        return false;
    }

    std::vector<std::uint32_t> dataOffsets;
    for (const Resource& r : resources) {
        const std::size_t offset = file.size() - kDataStart;
        if (offset > 0xFFFFFF) {
            error = "the data area is larger than 16 MB";
            return false;
        }
        if (r.data.size() > 0x7FFFFFFF) {
            error = "a resource is larger than 2 GB";
            return false;
        }
        dataOffsets.push_back(static_cast<std::uint32_t>(offset));
        Put32(file, static_cast<std::uint32_t>(r.data.size()));
        file.insert(file.end(), r.data.begin(), r.data.end());
    }
    const std::size_t dataLength = file.size() - kDataStart;
    const std::size_t mapOffset = file.size();

    std::vector<std::uint8_t> map(kMapHeaderSize, 0);
    std::vector<std::uint8_t> names;
    const std::size_t typeListSize = 2 + 8 * typeOrder.size();
    std::vector<std::uint8_t> typeList, refLists;
    Put16(typeList, static_cast<std::uint32_t>(typeOrder.size() - 1) & 0xFFFF);
    for (ResType type : typeOrder) {
        std::size_t count = 0;
        const std::size_t refStart = typeListSize + refLists.size();
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const Resource& r = resources[i];
            if (r.type != type) continue;
            ++count;
            Put16(refLists, static_cast<std::uint16_t>(r.id));
            if (r.name) {
                if (r.name->size() > 255) {
                    error = "the name of '" + ResTypeText(type) + "' " + std::to_string(r.id) +
                            " is longer than 255";
                    return false;
                }
                if (names.size() > 0xFFFE) {
                    error = "the name list is larger than 64 KB";
                    return false;
                }
                Put16(refLists, static_cast<std::uint32_t>(names.size()));
                names.push_back(static_cast<std::uint8_t>(r.name->size()));
                names.insert(names.end(), r.name->begin(), r.name->end());
            } else {
                Put16(refLists, kNoName);
            }
            refLists.push_back(r.attributes);
            refLists.push_back(static_cast<std::uint8_t>(dataOffsets[i] >> 16));
            Put16(refLists, dataOffsets[i] & 0xFFFF);
            Put32(refLists, 0);
        }
        if (count > 0x8000 || refStart > 0x7FFF) {
            error = "too many resources for the map's offsets";
            return false;
        }
        Put32(typeList, type);
        Put16(typeList, static_cast<std::uint32_t>(count - 1));
        Put16(typeList, static_cast<std::uint32_t>(refStart));
    }
    const std::size_t nameListOffset = kMapHeaderSize + typeList.size() + refLists.size();
    if (nameListOffset > 0x7FFF) {
        error = "too many resources for the map's offsets";
        return false;
    }
    map[24] = 0;
    map[25] = static_cast<std::uint8_t>(kMapHeaderSize);
    map[26] = static_cast<std::uint8_t>(nameListOffset >> 8);
    map[27] = static_cast<std::uint8_t>(nameListOffset);
    map.insert(map.end(), typeList.begin(), typeList.end());
    map.insert(map.end(), refLists.begin(), refLists.end());
    map.insert(map.end(), names.begin(), names.end());

    const auto mapLength = static_cast<std::uint32_t>(map.size());
    const ResourceHeader header{kDataStart, static_cast<std::uint32_t>(mapOffset),
                                static_cast<std::uint32_t>(dataLength), mapLength};
    for (std::vector<std::uint8_t>* target : {&file, &map}) {
        Set32(*target, 0, header.dataOffset);
        Set32(*target, 4, header.mapOffset);
        Set32(*target, 8, header.dataLength);
        Set32(*target, 12, header.mapLength);
    }
    if (layout == MapLayout::Scrambled) ScrambleMap(map.data(), map.size());
    file.insert(file.end(), map.begin(), map.end());
    return true;
}

bool ReadResourceFile(const std::vector<std::uint8_t>& file, MapLayout layout,
                      std::vector<Resource>& resources, std::string& error) {
    resources.clear();
    if (file.size() < kResourceHeaderSize) {
        error = "the file is shorter than its header";
        return false;
    }
    const ResourceHeader header = ReadResourceHeader(file.data());
    if (header.mapOffset > file.size() || header.mapLength > file.size() - header.mapOffset) {
        error = "the map lies outside the file";
        return false;
    }
    std::vector<std::uint8_t> map(file.begin() + header.mapOffset,
                                  file.begin() + header.mapOffset + header.mapLength);
    if (layout == MapLayout::Scrambled) ScrambleMap(map.data(), map.size());
    std::vector<MapType> types;
    if (!ParseResourceMap(map.data(), map.size(), types, error)) return false;
    for (const MapType& type : types) {
        for (const MapReference& ref : type.references) {
            const std::uint64_t at = std::uint64_t{header.dataOffset} + ref.dataOffset;
            if (at + 4 > file.size()) {
                error = "the data of '" + ResTypeText(type.type) + "' " + std::to_string(ref.id) +
                        " lies outside the file";
                return false;
            }
            const std::uint32_t size = Get32(file.data() + at);
            if (size > file.size() - at - 4) {
                error = "the data of '" + ResTypeText(type.type) + "' " + std::to_string(ref.id) +
                        " runs past the end of the file";
                return false;
            }
            Resource r;
            r.type = type.type;
            r.id = ref.id;
            r.attributes = ref.attributes;
            r.name = ref.name;
            const auto begin = file.begin() + static_cast<std::ptrdiff_t>(at + 4);
            r.data.assign(begin, begin + size);
            resources.push_back(std::move(r));
        }
    }
    return true;
}

std::string ResTypeText(ResType type) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(type >> shift);
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '\'') {
            text += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\x";
            text += digits[c >> 4];
            text += digits[c & 15];
        }
    }
    return text;
}

} // namespace qiva
