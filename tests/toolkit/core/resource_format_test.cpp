#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/resource_format.h"

namespace {

using qiva::MapLayout;
using qiva_test::FileImage;
using qiva_test::MakeResource;

// Worked by hand from the key (0x6B, 0xD2, 0x39): a file written with any other key or generator
// would not open anywhere else.
TEST(MapKeyStream, FirstBytesOfTheKeyStream) {
    qiva::MapKeyStream stream;
    EXPECT_EQ(stream.Next(), 0x05);
    EXPECT_EQ(stream.Next(), 0x5B);
}

TEST(MapKeyStream, ScramblingTwiceGivesTheMapBack) {
    std::vector<std::uint8_t> map(300);
    for (std::size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<std::uint8_t>(i);
    auto scrambled = map;
    qiva::ScrambleMap(scrambled.data(), scrambled.size());
    EXPECT_NE(scrambled, map);
    qiva::ScrambleMap(scrambled.data(), scrambled.size());
    EXPECT_EQ(scrambled, map);
}

const std::vector<qiva::Resource> kSample = {
    MakeResource("STR#", 128, std::string("\x00\x01\x05hello", 8), std::string("greeting"), 0x20),
    MakeResource("TEXT", -4000, "some text"),
    MakeResource("STR#", 129, "", std::string("")),
    MakeResource("DRVR", 12, "drv", std::string(".Desk")),
};

TEST(ResourceFile, WritesAndReadsBackBothLayouts) {
    for (MapLayout layout : {MapLayout::Scrambled, MapLayout::Classic}) {
        const auto image = FileImage(kSample, layout);
        std::vector<qiva::Resource> back;
        std::string error;
        ASSERT_TRUE(qiva::ReadResourceFile(image, layout, back, error)) << error;
        // Read back in map order: types by first appearance, each type's resources as given.
        ASSERT_EQ(back.size(), 4u);
        EXPECT_EQ(back[0].id, 128);
        EXPECT_EQ(back[1].id, 129);
        EXPECT_EQ(back[2].type, MakeResType("TEXT"));
        EXPECT_EQ(back[3].name, ".Desk");
        EXPECT_EQ(back[0].attributes, 0x20);
        EXPECT_EQ(back[0].name, "greeting");
        EXPECT_EQ(back[1].name, "");
        EXPECT_FALSE(back[2].name.has_value());
        EXPECT_EQ(std::string(back[0].data.begin(), back[0].data.end()), std::string("\x00\x01\x05hello", 8));
        EXPECT_TRUE(back[1].data.empty());
    }
}

TEST(ResourceFile, OnlyOurOwnLayoutScramblesTheMap) {
    const auto classic = FileImage(kSample, MapLayout::Classic);
    const auto ours = FileImage(kSample, MapLayout::Scrambled);
    const qiva::ResourceHeader header = qiva::ReadResourceHeader(classic.data());
    EXPECT_EQ(header.dataOffset, 256u);
    EXPECT_EQ(classic[header.mapOffset + 25], 28); // the classic type list offset, in the clear
    EXPECT_NE(ours[header.mapOffset + 25], 28);
    std::vector<qiva::Resource> back;
    std::string error;
    EXPECT_FALSE(qiva::ReadResourceFile(ours, MapLayout::Classic, back, error));
}

TEST(ResourceFile, AnEmptyFileHasNoTypes) {
    const auto image = FileImage({});
    std::vector<qiva::Resource> back;
    std::string error;
    ASSERT_TRUE(qiva::ReadResourceFile(image, MapLayout::Scrambled, back, error)) << error;
    EXPECT_TRUE(back.empty());
}

TEST(ResourceFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    const auto image = FileImage(kSample, MapLayout::Classic);
    for (std::size_t length = 0; length < image.size(); ++length) {
        const std::vector<std::uint8_t> cut(image.begin(),
                                            image.begin() + static_cast<std::ptrdiff_t>(length));
        std::vector<qiva::Resource> back;
        std::string error;
        EXPECT_FALSE(qiva::ReadResourceFile(cut, MapLayout::Classic, back, error)) << length;
    }
}

TEST(ResourceFile, WritingRefusesNamesLongerThan255) {
    std::vector<std::uint8_t> image;
    std::string error;
    EXPECT_FALSE(qiva::WriteResourceFile({MakeResource("TEXT", 1, "", std::string(256, 'n'))},
                                         MapLayout::Scrambled, image, error));
    EXPECT_NE(error.find("255"), std::string::npos);
}

// Data blocks that overlap would let a small file stand for any amount of data (every entry of a map
// naming one block): the file is refused with the two resources named. Blocks in another order than
// the map, touching end to start, are a sound file.
TEST(ResourceFile, OverlappingDataBlocksAreRefused) {
    // Three 'TEXT' blocks: [0, 12) whose data starts like a length word of 1, [12, 20), [20, 26).
    const std::vector<qiva::Resource> three = {
        MakeResource("TEXT", 1, std::string("\0\0\0\x01xyzw", 8)),
        MakeResource("TEXT", 2, "bbbb"),
        MakeResource("TEXT", 3, "cc"),
    };
    const auto original = FileImage(three, MapLayout::Classic);
    const qiva::ResourceHeader header = qiva::ReadResourceHeader(original.data());
    // One type: its references follow the map header and the 10-byte type list, 12 bytes each.
    const auto setOffset = [&](std::vector<std::uint8_t>& image, int ref, std::uint32_t offset) {
        std::uint8_t* at = &image[header.mapOffset + 28 + 10 + 12 * ref + 5];
        at[0] = static_cast<std::uint8_t>(offset >> 16);
        at[1] = static_cast<std::uint8_t>(offset >> 8);
        at[2] = static_cast<std::uint8_t>(offset);
    };
    const auto setLength = [&](std::vector<std::uint8_t>& image, std::uint32_t block, std::uint8_t length) {
        image[header.dataOffset + block + 3] = length;
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> change;
        const char* error; // empty: read back as written
    };
    const Case cases[] = {
        {"every entry names one block",
         [&](auto& f) {
             setOffset(f, 1, 0);
             setOffset(f, 2, 0);
         },
         "overlaps the data of"},
        {"a block inside another's data", [&](auto& f) { setOffset(f, 1, 4); },
         "the data of 'TEXT' 2 overlaps the data of 'TEXT' 1"},
        {"a length that reaches into the next block", [&](auto& f) { setLength(f, 0, 10); },
         "the data of 'TEXT' 2 overlaps the data of 'TEXT' 1"},
        {"the last block's length reaching past the end", [&](auto& f) { setLength(f, 20, 200); },
         "runs past the end of the file"},
        {"blocks in another order, touching",
         [&](auto& f) {
             // 'TEXT' 2's block first, then 'TEXT' 1's, ending where 'TEXT' 3's starts.
             setOffset(f, 0, 8);
             setOffset(f, 1, 0);
             std::rotate(f.begin() + header.dataOffset, f.begin() + header.dataOffset + 12,
                         f.begin() + header.dataOffset + 20);
         },
         ""},
    };
    for (const Case& c : cases) {
        auto image = original;
        c.change(image);
        std::vector<qiva::Resource> back;
        std::string error;
        const bool read = qiva::ReadResourceFile(image, MapLayout::Classic, back, error);
        if (*c.error) {
            EXPECT_FALSE(read) << c.what;
            EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
            EXPECT_TRUE(back.empty()) << c.what;
        } else {
            ASSERT_TRUE(read) << c.what << ": " << error;
            ASSERT_EQ(back.size(), 3u);
            EXPECT_EQ(back[0].data, three[0].data);
            EXPECT_EQ(back[1].data, three[1].data);
            EXPECT_EQ(back[2].data, three[2].data);
        }
    }
}

// A plain map of kSample with one field changed must be refused for the reason given.
TEST(ResourceMap, CorruptMapsAreRefused) {
    const auto image = FileImage(kSample, MapLayout::Classic);
    const qiva::ResourceHeader header = qiva::ReadResourceHeader(image.data());
    const std::vector<std::uint8_t> map(image.begin() + header.mapOffset, image.end());
    const auto put16 = [](std::vector<std::uint8_t>& m, std::size_t at, int v) {
        m[at] = static_cast<std::uint8_t>(v >> 8);
        m[at + 1] = static_cast<std::uint8_t>(v);
    };
    // The type list is at 28: its count, then 8-byte entries (type, count - 1, list offset).
    const std::size_t firstType = 30;
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> change;
        const char* reason;
    };
    const Case cases[] = {
        {"map shorter than its header", [](auto& m) { m.resize(27); }, "shorter than its header"},
        {"negative type list offset", [&](auto& m) { put16(m, 24, 0x8000); }, "type list lies outside"},
        {"type list offset past the end", [&](auto& m) { put16(m, 24, static_cast<int>(m.size())); },
         "type list lies outside"},
        {"more types than the map holds", [&](auto& m) { put16(m, 28, 5000); }, "type list runs off"},
        {"negative type count", [&](auto& m) { put16(m, 28, 0x8000); }, "type list runs off"},
        {"reference list past the end", [&](auto& m) { put16(m, firstType + 6, 0x7000); },
         "lies outside the map"},
        {"reference count past the end", [&](auto& m) { put16(m, firstType + 4, 0x7000); },
         "lies outside the map"},
        {"negative reference list offset", [&](auto& m) { put16(m, firstType + 6, 0xFFF0); },
         "lies outside the map"},
        {"one type listed twice", [&](auto& m) { std::copy_n(&m[firstType], 4, &m[firstType + 8]); },
         "listed twice"},
        {"name offset past the end", [&](auto& m) { put16(m, 24, 28), put16(m, 26, 0x7FFF); },
         "runs off the end"},
        {"name running off the map", [](auto& m) { m.resize(m.size() - 2); }, "runs off the end"},
    };
    for (const Case& c : cases) {
        auto changed = map;
        c.change(changed);
        std::vector<qiva::MapType> types;
        std::string error;
        EXPECT_FALSE(qiva::ParseResourceMap(changed.data(), changed.size(), types, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

// Reference lists that overlap would let a small map describe millions of resources.
TEST(ResourceMap, OverlappingReferenceListsAreRefused) {
    std::vector<std::uint8_t> map(28 + 2 + 8 * 100 + 12, 0);
    map[25] = 28;
    map[27] = 0;
    map[29] = 99; // 100 types
    for (int t = 0; t < 100; ++t) {
        std::uint8_t* entry = &map[30 + 8 * t];
        entry[0] = 'T';
        entry[1] = static_cast<std::uint8_t>(t);
        entry[2] = 'x';
        entry[3] = 'x';
        entry[4] = 0;
        entry[5] = 0;                                             // one reference each
        entry[6] = static_cast<std::uint8_t>((2 + 8 * 100) >> 8); // all sharing one list
        entry[7] = static_cast<std::uint8_t>(2 + 8 * 100);
    }
    for (int i = 0; i < 12; ++i)
        map[30 + 8 * 100 + i] = 0;
    map[30 + 8 * 100 + 2] = 0xFF; // no name
    map[30 + 8 * 100 + 3] = 0xFF;
    std::vector<qiva::MapType> types;
    std::string error;
    EXPECT_FALSE(qiva::ParseResourceMap(map.data(), map.size(), types, error));
    EXPECT_NE(error.find("overlap"), std::string::npos) << error;
}

} // namespace
