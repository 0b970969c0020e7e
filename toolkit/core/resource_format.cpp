#include "toolkit/core/resource_format.h"

#include <algorithm>
#include <set>

#include "toolkit/core/big_endian.h"

namespace qiva {
namespace {

// The map key, kept as three separate bytes.
constexpr std::uint8_t kKeyA = 0x6B;
constexpr std::uint8_t kKeyB = 0xD2;
constexpr std::uint8_t kKeyC = 0x39;

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
    BigEndianReader r({bytes, kResourceHeaderSize});
    ResourceHeader header;
    header.dataOffset = r.U32();
    header.mapOffset = r.U32();
    header.dataLength = r.U32();
    header.mapLength = r.U32();
    return header;
}

bool ParseResourceMap(const std::uint8_t* map, std::size_t length, std::vector<MapType>& types,
                      std::string& error) {
    types.clear();
    if (length < kMapHeaderSize) {
        error = "the map is shorter than its header";
        return false;
    }
    const std::span<const std::uint8_t> bytes(map, length);
    const std::int16_t typeList = *ReadBigEndian<std::int16_t>(bytes, 24);
    const std::int16_t nameList = *ReadBigEndian<std::int16_t>(bytes, 26);
    if (typeList < 0 || static_cast<std::size_t>(typeList) + 2 > length) {
        error = "the type list lies outside the map";
        return false;
    }
    BigEndianReader list(bytes.subspan(static_cast<std::size_t>(typeList)));
    const int typeCount = list.S16() + 1;
    if (typeCount < 0 || static_cast<std::size_t>(typeList) + 2 + std::size_t{8} * typeCount > length) {
        error = "the type list runs off the end of the map";
        return false;
    }
    // References take 12 bytes each; more of them than the map can hold means lists that overlap.
    std::size_t totalReferences = 0;
    std::set<ResType> seen;
    types.resize(static_cast<std::size_t>(typeCount));
    for (int t = 0; t < typeCount; ++t) {
        MapType& type = types[static_cast<std::size_t>(t)];
        type.type = list.U32();
        const int count = list.S16() + 1;
        const std::int16_t refList = list.S16();
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
        BigEndianReader refs(bytes.subspan(start, std::size_t{12} * count));
        for (MapReference& reference : type.references) {
            reference.id = refs.S16();
            const std::uint16_t nameOffset = refs.U16();
            reference.attributes = refs.U8();
            reference.dataOffset = refs.U24();
            refs.Skip(4); // the handle, zero on disk
            if (nameOffset == kNoName) continue;
            BigEndianReader name(bytes);
            name.Seek(static_cast<std::size_t>(nameList) + nameOffset);
            const std::string text = name.Pascal();
            if (nameList < 0 || name.Failed()) {
                error = "a name of '" + ResTypeText(type.type) + "' runs off the end of the map";
                return false;
            }
            reference.name = text;
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
    BigEndianWriter data(file);
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
        data.U32(static_cast<std::uint32_t>(r.data.size()));
        data.Bytes(r.data);
    }
    const std::size_t dataLength = file.size() - kDataStart;
    const std::size_t mapOffset = file.size();

    std::vector<std::uint8_t> map(kMapHeaderSize, 0);
    std::vector<std::uint8_t> names;
    const std::size_t typeListSize = 2 + 8 * typeOrder.size();
    std::vector<std::uint8_t> typeList, refLists;
    BigEndianWriter typeOut(typeList), refOut(refLists), nameOut(names);
    typeOut.S16(static_cast<std::int16_t>(typeOrder.size() - 1));
    for (ResType type : typeOrder) {
        std::size_t count = 0;
        const std::size_t refStart = typeListSize + refLists.size();
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const Resource& r = resources[i];
            if (r.type != type) continue;
            ++count;
            refOut.S16(r.id);
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
                refOut.U16(static_cast<std::uint16_t>(names.size()));
                nameOut.Pascal(*r.name);
            } else {
                refOut.U16(kNoName);
            }
            refOut.U8(r.attributes);
            refOut.U24(dataOffsets[i]);
            refOut.U32(0); // the handle, filled in when the file is open
        }
        if (count > 0x8000 || refStart > 0x7FFF) {
            error = "too many resources for the map's offsets";
            return false;
        }
        typeOut.U32(type);
        typeOut.U16(static_cast<std::uint16_t>(count - 1));
        typeOut.U16(static_cast<std::uint16_t>(refStart));
    }
    const std::size_t nameListOffset = kMapHeaderSize + typeList.size() + refLists.size();
    if (nameListOffset > 0x7FFF) {
        error = "too many resources for the map's offsets";
        return false;
    }
    BigEndianWriter mapOut(map);
    mapOut.Patch<std::uint16_t>(24, kMapHeaderSize);
    mapOut.Patch<std::uint16_t>(26, static_cast<std::uint16_t>(nameListOffset));
    map.insert(map.end(), typeList.begin(), typeList.end());
    map.insert(map.end(), refLists.begin(), refLists.end());
    map.insert(map.end(), names.begin(), names.end());

    const auto mapLength = static_cast<std::uint32_t>(map.size());
    const ResourceHeader header{kDataStart, static_cast<std::uint32_t>(mapOffset),
                                static_cast<std::uint32_t>(dataLength), mapLength};
    for (std::vector<std::uint8_t>* target : {&file, &map}) {
        BigEndianWriter out(*target);
        out.Patch<std::uint32_t>(0, header.dataOffset);
        out.Patch<std::uint32_t>(4, header.mapOffset);
        out.Patch<std::uint32_t>(8, header.dataLength);
        out.Patch<std::uint32_t>(12, header.mapLength);
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

    // Every block is placed and measured before any is copied. Blocks must not overlap: a map whose
    // entries all name one block would otherwise multiply the file many thousand times over. Disjoint
    // blocks inside the file add up to no more than the file.
    struct Block {
        ResType type;
        const MapReference* ref;
        std::uint64_t at, end; // the length word, then the data up to end
    };
    const auto name = [](const Block& b) {
        return "'" + ResTypeText(b.type) + "' " + std::to_string(b.ref->id);
    };
    std::vector<Block> blocks;
    for (const MapType& type : types) {
        for (const MapReference& ref : type.references) {
            Block block{type.type, &ref, std::uint64_t{header.dataOffset} + ref.dataOffset, 0};
            const std::optional<std::uint32_t> length =
                block.at < file.size()
                    ? ReadBigEndian<std::uint32_t>(file, static_cast<std::size_t>(block.at))
                    : std::nullopt;
            if (!length) {
                error = "the data of " + name(block) + " lies outside the file";
                return false;
            }
            const std::uint32_t size = *length;
            if (size > file.size() - block.at - 4) {
                error = "the data of " + name(block) + " runs past the end of the file";
                return false;
            }
            block.end = block.at + 4 + size;
            blocks.push_back(block);
        }
    }
    std::vector<const Block*> byPlace;
    for (const Block& b : blocks)
        byPlace.push_back(&b);
    std::sort(byPlace.begin(), byPlace.end(), [](const Block* a, const Block* b) { return a->at < b->at; });
    for (std::size_t i = 1; i < byPlace.size(); ++i) {
        if (byPlace[i]->at < byPlace[i - 1]->end) {
            error = "the data of " + name(*byPlace[i]) + " overlaps the data of " + name(*byPlace[i - 1]);
            return false;
        }
    }

    resources.reserve(blocks.size());
    for (const Block& b : blocks) {
        Resource r;
        r.type = b.type;
        r.id = b.ref->id;
        r.attributes = b.ref->attributes;
        r.name = b.ref->name;
        r.data.assign(file.begin() + static_cast<std::ptrdiff_t>(b.at + 4),
                      file.begin() + static_cast<std::ptrdiff_t>(b.end));
        resources.push_back(std::move(r));
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
