#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "toolkit/core/resource_format.h"
#include "tools/qiva-rsrc/converters.h"
#include "tools/qiva-rsrc/sources.h"

namespace {

using qiva_rsrc::Bytes;

Bytes FromHex(const std::string& hex) {
    Bytes out;
    int pending = -1;
    for (char c : hex) {
        if (c == ' ') continue;
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::toupper(c) - 'A' + 10);
        if (pending < 0) {
            pending = d;
        } else {
            out.push_back(static_cast<std::uint8_t>(pending * 16 + d));
            pending = -1;
        }
    }
    return out;
}

std::vector<qiva::Resource> Compile(const std::string& text, const std::string& base = ".") {
    std::vector<qiva::Resource> out;
    for (auto& r : qiva_rsrc::CompileSource(text, "test.qrs", base))
        out.push_back(std::move(r.resource));
    return out;
}

// Each structured type, spelled in fields, gives the classic big-endian layout byte for byte.
TEST(QivaRsrcSource, StructuredTypesGiveTheClassicLayouts) {
    struct Case {
        const char* source;
        const char* bytes;
    };
    const Case cases[] = {
        {"resource 'STR#' 1 { string \"ab\" string \"\" }", "0002 02 6162 00"},
        {"resource 'TEXT' 1 { text \"é\\r\" text \"x\" }", "8E 0D 78"},
        {"resource 'MBAR' 1 { menus 128 129 }", "0002 0080 0081"},
        {"resource 'MENU' 5 { title \"F\" item \"Ouvrir\" key \"O\" item \"-\" disabled }",
         "0005 0000 0000 0000 0000 FFFFFFFB 0146 064F7576726972 004F0000 012D 00000000 00"},
        {"resource 'MENU' 6 { id 7 proc 3 disabled title \"\" item \"a\" mark 18 icon 2 style 1 }",
         "0007 0000 0000 0003 0000 FFFFFFFE 00 0161 02001201 00"},
        {"resource 'WIND' 1 { bounds 1 2 3 4 proc 8 visible true goaway true refcon 5 title \"W\" }",
         "0001000200030004 0008 0100 0100 00000005 0157"},
        {"resource 'WIND' 2 { bounds 1 2 3 4 visible false title \"\" position 0x300A }",
         "0001000200030004 0000 0000 0000 00000000 00 00 300A"}, // aligned: a pad byte first
        {"resource 'DLOG' 7 { bounds 1 2 3 4 title \"D\" position 0 }",
         "0001000200030004 0000 0100 0000 00000000 0007 0144 00 0000"},
        {"resource 'ALRT' 9 { bounds 1 2 3 4 items 12 stages 0x8000 position 0x300A }",
         "0001000200030004 000C 8000 300A"},
        {"resource 'DITL' 1 { button rect 1 2 3 4 text \"OK\" edit rect 5 6 7 8 text \"abc\" disabled "
         "picture rect 0 0 1 1 id -5 user rect 0 0 2 2 }",
         "0003 00000000 0001000200030004 04 02 4F4B  00000000 0005000600070008 90 03 616263 00"
         "  00000000 0000000000010001 40 02 FFFB  00000000 0000000000020002 00 00"},
        {"resource 'CNTL' 1 { bounds 1 2 3 4 value 1 visible false max 10 min -1 proc 16 refcon 7 title "
         "\"C\" }",
         "0001000200030004 0001 0000 000A FFFF 0010 00000007 0143"},
        {"resource 'wicn' 1 { icon -9999 }", "D8F1"},
        {"resource 'snd ' 1 { hex \"0001 02\" hex \"03\" }", "00010203"},
    };
    for (const Case& c : cases) {
        const auto resources = Compile(c.source);
        ASSERT_EQ(resources.size(), 1u) << c.source;
        EXPECT_EQ(resources[0].data, FromHex(c.bytes)) << c.source;
    }
}

TEST(QivaRsrcSource, CursorAndKeyboardLayouts) {
    std::string rows;
    for (int i = 0; i < 16; ++i)
        rows += i == 0 ? " \"#..............X\"" : " \"................\"";
    const auto cursor = Compile("resource 'CURS' 0 { data" + rows + " mask" + rows + " hotspot 1 2 }");
    Bytes expected = FromHex("8001");
    expected.resize(32, 0);
    const Bytes mask = expected;
    expected.insert(expected.end(), mask.begin(), mask.end());
    for (std::uint8_t b : FromHex("0001 0002"))
        expected.push_back(b);
    EXPECT_EQ(cursor[0].data, expected);

    std::string index, table;
    for (int i = 0; i < 256; ++i)
        index += i == 2 ? " 1" : " 0";
    for (int i = 0; i < 128; ++i)
        table += " " + std::to_string(i);
    const auto keyboard =
        Compile("resource 'KCHR' 1 { version 2 index" + index + " table" + table + " table" + table +
                " deadkey table 1 key 0x21 complete 0x61 0x87 nomatch 0 0xAB }");
    const Bytes& k = keyboard[0].data;
    ASSERT_EQ(k.size(), 2u + 256 + 2 + 256 + 2 + 8);
    EXPECT_EQ(k[1], 2);
    EXPECT_EQ(k[2 + 2], 1);
    EXPECT_EQ(k[258], 0);
    EXPECT_EQ(k[259], 2); // two tables
    EXPECT_EQ(k[260 + 127], 127);
    EXPECT_EQ(Bytes(k.end() - 10, k.end()), FromHex("0001 0121 0001 6187 00AB"));
}

TEST(QivaRsrcSource, NamesAttributesAndFiles) {
    const TempDir dir;
    dir.Write("blob.bin", std::string("\x00\xFF\x10", 3));
    dir.Write("help.txt", "Aide générale\r\nLigne 2\n");
    const auto resources =
        Compile("resource 'PICT' -1 name \"Plan \\\"A\\\"\" attributes 0x60 { file \"blob.bin\" }\n"
                "resource 'TEXT' 2 { from text \"help.txt\" }",
                dir.Path());
    ASSERT_EQ(resources.size(), 2u);
    EXPECT_EQ(resources[0].id, -1);
    EXPECT_EQ(resources[0].name, "Plan \"A\"");
    EXPECT_EQ(resources[0].attributes, 0x60);
    EXPECT_EQ(resources[0].data, FromHex("00FF10"));
    const std::string text(resources[1].data.begin(), resources[1].data.end());
    EXPECT_EQ(text, "Aide g\x8En\x8Erale\rLigne 2\r");
}

// A dump compiles back to the same bytes, for data the fields spell and for data they cannot (which
// the dump keeps as hexadecimal).
TEST(QivaRsrcDump, DumpThenBuildGivesTheSameBytes) {
    const auto fields = Compile(R"(
        resource 'STR#' 128 name "Jeu" attributes 0x20 { string "Bonjour, ça va ?" string "a\tb\x01" }
        resource 'MENU' 128 { title "\x14" item "À propos…" item "-" disabled item "Quitter" key "Q" }
        resource 'MENU' 129 { flags 0x00000003 title "x" item "a" item "b" }
        resource 'WIND' 128 { bounds 40 0 440 640 proc 4 title "Tolka" position 0 }
        resource 'DLOG' 1 { bounds 0 0 10 10 title "ab" pad }
        resource 'ALRT' 1 { bounds 0 0 10 10 items 3 }
        resource 'DITL' 1 { control rect 0 0 1 1 id 5 radio rect 0 0 1 1 text "r" disabled }
        resource 'CNTL' 1 { bounds 0 0 1 1 }
        resource 'wcic' 1 { icon 7 }
        resource 'TEXT' 1 { text "line\rline" }
        resource 'MBAR' 1 { menus }
    )");
    std::vector<qiva::Resource> all = fields;
    // Data the fields cannot spell: a DITL item handle that is not zero, a MENU filler, trailing bytes,
    // a cursor of the wrong size, an unknown type, a type with odd characters.
    const auto raw = [](const char(&type)[5], std::int16_t id, const char* hex) {
        qiva::Resource r;
        r.type = MakeResType(type);
        r.id = id;
        r.data = FromHex(hex);
        return r;
    };
    all.push_back(raw("DITL", 2, "0000 00000001 0000000000010001 04 00"));
    all.push_back(raw("MENU", 2, "0001 0000 0000 0000 0001 FFFFFFFF 00 00"));
    all.push_back(raw("STR#", 2, "0001 0161 FF"));
    all.push_back(raw("CURS", 2, "0000"));
    all.push_back(raw("WIND", 2, "")); // found by fuzzing: empty data has no fields to spell
    all.push_back(raw("PICT", 2, "0011 02FF 0C00"));
    qiva::Resource odd = raw("a'\\\x01", 3, "");
    odd.name = std::string("\"\\\x7F\xA5", 4);
    all.push_back(odd);

    const std::string text = qiva_rsrc::DumpResources(all);
    const auto again = Compile(text);
    ASSERT_EQ(again.size(), all.size()) << text;
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(again[i].type, all[i].type) << i;
        EXPECT_EQ(again[i].id, all[i].id) << i;
        EXPECT_EQ(again[i].name, all[i].name) << i;
        EXPECT_EQ(again[i].attributes, all[i].attributes) << i;
        EXPECT_EQ(again[i].data, all[i].data) << i << "\n" << text;
    }
    EXPECT_NE(text.find("string \"Bonjour, ça va ?\""), std::string::npos); // spelled, not hexadecimal
    EXPECT_NE(text.find("# 'STR#' 128: "), std::string::npos);
}

// Every error names the source file and line; nothing is compiled.
TEST(QivaRsrcSource, ErrorsNameTheFileAndLine) {
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"resource 'STR#' 1 {\n string \"a\"\n", "test.qrs:3: expected '}'"},
        {"resource 'STR#' 1 {\n strings \"a\" }", "test.qrs:2: unknown field 'strings' in 'STR#'"},
        {"resource 'DITL' 1 {\n\n buton rect 0 0 1 1 }", "test.qrs:3: unknown item kind 'buton'"},
        {"resource 'WIND' 1 {\n bounds 0 0 10\n title \"x\" }", "test.qrs:2: bounds needs four numbers"},
        {"resource 'DITL' 1 { button rect 0 0 1 1 1 }", "test.qrs:1: expected an item kind"},
        {"resource 'STR#' 1 { string \"\xE4\xB8\xAD\" }", "test.qrs:1: the character U+4E2D has no place"},
        {"resource 'STR#' 1 {\n string \"open }", "test.qrs:2: unterminated string"},
        {"resource 'STR' 1 { }", "test.qrs:1: a resource type has exactly four characters"},
        {"resource 'STR#' 40000 { }", "test.qrs:1: resource ID 40000 is outside"},
        {"resource 'PICT' 1 { string \"x\" }", "test.qrs:1: type 'PICT' has no fields of its own"},
        {"resource 'PICT' 1 { from gif \"x.gif\" }", "test.qrs:1: no converter named 'gif'"},
        {"resource 'PICT' 1 { from png \"x.png\" dither maybe }", "the png converter takes dither yes|no"},
        {"resource 'PICT' 1 {\n file \"no-such-file\" }", "test.qrs:2: cannot read"},
        {"resource 'PICT' 1 { hex \"123\" }", "test.qrs:1: hex data has an odd number of digits"},
        {"resource 'MENU' 1 { item \"a\" title \"late\" }", "test.qrs:1: 'title' is not an item field"},
        {"resource 'DITL' 1 { icon rect 0 0 1 1 }", "test.qrs:1: the icon item needs an id"},
        {"resource 'CURS' 1 { data \"#\" }", "test.qrs:1: data rows have 16 characters"},
        {"resource 'TEXT' 1 bogus { }", "test.qrs:1: unknown resource field 'bogus'"},
        {"STR# 1 { }", "test.qrs:1: expected 'resource'"},
        {"resource 'STR#' 1 { string \"\\q\" }", "test.qrs:1: unknown escape \\q"},
    };
    for (const Case& c : cases) {
        try {
            Compile(c.source);
            ADD_FAILURE() << "accepted: " << c.source;
        } catch (const qiva_rsrc::SourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.source << "\n -> " << e.what();
        }
    }
}

// A list whose count the resource keeps in a 16-bit word holds at most 32767 elements: the longest
// builds with its count positive, one more is refused at the line of the element that does not fit.
TEST(QivaRsrcSource, CountsThatWouldWrapAreRefusedAtTheirLine) {
    const auto repeat = [](const std::string& text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i)
            out += text;
        return out;
    };
    const std::string keyboard =
        "resource 'KCHR' 1 { index" + repeat(" 0", 256) + " table" + repeat(" 0", 128);
    struct Case {
        std::string head, element, tail;
        std::size_t countAt; // where the count lies in the data
        int stored;          // what it holds for the longest list
        const char* message;
    };
    const Case cases[] = {
        {"resource 'STR#' 1 {", " string \"a\"", " }", 0, 32767, "more than 32767 strings"},
        {"resource 'MBAR' 1 { menus", " 1", " }", 0, 32767, "more than 32767 menus in a menu bar"},
        {"resource 'DITL' 1 {", " user rect 0 0 1 1", " }", 0, 32766, "more than 32767 items"},
        {keyboard, " deadkey table 0 key 1 nomatch 0 0", " }", 2 + 256 + 2 + 128, 32767,
         "more than 32767 dead keys"},
        {keyboard + " deadkey table 0 key 1", " complete 1 2", " nomatch 0 0 }", 2 + 256 + 2 + 128 + 4, 32767,
         "more than 32767 completions of a dead key"},
    };
    for (const Case& c : cases) {
        const std::string longest = c.head + repeat(c.element, 32767);
        const auto built = Compile(longest + c.tail);
        ASSERT_EQ(built.size(), 1u) << c.message;
        const Bytes& data = built[0].data;
        ASSERT_GE(data.size(), c.countAt + 2) << c.message;
        EXPECT_EQ(static_cast<std::int16_t>((data[c.countAt] << 8) | data[c.countAt + 1]), c.stored)
            << c.message;
        try {
            Compile(longest + "\n" + c.element + c.tail);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const qiva_rsrc::SourceError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("test.qrs:2: ") + c.message);
        }
    }
}

TEST(QivaRsrcSource, ATypeAndIdGivenTwiceNamesBothPlaces) {
    const TempDir dir;
    const std::string a = dir.Write("a.qrs", "resource 'STR#' 1 { }\n");
    const std::string b = dir.Write("b.qrs", "# b\n\nresource 'STR#' 2 { }\nresource 'STR#' 1 { }\n");
    try {
        qiva_rsrc::CompileSourceFiles({a, b});
        ADD_FAILURE() << "duplicate accepted";
    } catch (const qiva_rsrc::SourceError& e) {
        EXPECT_EQ(std::string(e.what()), b + ":4: 'STR#' 1 is already defined at " + a + ":1");
    }
}

// A resource fork laid out by hand the classic way (reserved map fields set, data blocks in another
// order than the map, a name list) comes through import and dump with every resource as it was.
TEST(QivaRsrcImport, AClassicFileKeepsEveryResource) {
    Bytes f(256, 0);
    const auto put16 = [](Bytes& b, int v) {
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        b.push_back(static_cast<std::uint8_t>(v));
    };
    const auto put32 = [&](Bytes& b, std::uint32_t v) {
        put16(b, static_cast<int>(v >> 16));
        put16(b, static_cast<int>(v & 0xFFFF));
    };
    // Data area: 'TEXT' 5 at 0, 'ICN#' 128 at 10, 'ICN#' -3 at 17.
    Bytes data;
    put32(data, 6);
    for (char c : std::string("second"))
        data.push_back(static_cast<std::uint8_t>(c));
    put32(data, 3);
    data.insert(data.end(), {1, 2, 3});
    put32(data, 0);
    f.insert(f.end(), data.begin(), data.end());
    const auto mapOffset = static_cast<std::uint32_t>(f.size());
    Bytes map(16, 0);
    put32(map, 0xDEADBEEF); // handle to the next map, left by the writing system
    put16(map, 0x1234);     // file reference
    put16(map, 0x0080);     // map attributes
    put16(map, 28);         // type list
    put16(map, 28 + 2 + 16 + 36);
    put16(map, 1); // two types
    put32(map, MakeResType("ICN#"));
    put16(map, 1);
    put16(map, 18);
    put32(map, MakeResType("TEXT"));
    put16(map, 0);
    put16(map, 42);
    // 'ICN#' references: 128 named "Pion", -3 unnamed; then 'TEXT' 5 named "Aide".
    put16(map, 128);
    put16(map, 0);
    map.insert(map.end(), {0x20, 0, 0, 10});
    put32(map, 0);
    put16(map, -3);
    put16(map, 0xFFFF);
    map.insert(map.end(), {0x00, 0, 0, 17});
    put32(map, 0);
    put16(map, 5);
    put16(map, 5);
    map.insert(map.end(), {0x04, 0, 0, 0});
    put32(map, 0);
    for (const char* name : {"\x04Pion", "\x04"
                                         "Aide"}) {
        for (const char* c = name; *c; ++c)
            map.push_back(static_cast<std::uint8_t>(*c));
    }
    f.insert(f.end(), map.begin(), map.end());
    Bytes header;
    put32(header, 256);
    put32(header, mapOffset);
    put32(header, static_cast<std::uint32_t>(data.size()));
    put32(header, static_cast<std::uint32_t>(map.size()));
    std::copy(header.begin(), header.end(), f.begin());

    std::vector<qiva::Resource> classic, imported;
    std::string error;
    ASSERT_TRUE(qiva::ReadResourceFile(f, qiva::MapLayout::Classic, classic, error)) << error;
    Bytes ours;
    ASSERT_TRUE(qiva::WriteResourceFile(classic, qiva::MapLayout::Scrambled, ours, error)) << error;
    ASSERT_TRUE(qiva::ReadResourceFile(ours, qiva::MapLayout::Scrambled, imported, error)) << error;
    const std::string dump = qiva_rsrc::DumpResources(imported);
    EXPECT_EQ(dump, "# 'ICN#' 128: 3 bytes\n"
                    "resource 'ICN#' 128 name \"Pion\" attributes 0x20 {\n    hex \"010203\"\n}\n\n"
                    "# 'ICN#' -3: 0 bytes\n"
                    "resource 'ICN#' -3 {\n    hex \"\"\n}\n\n"
                    "# 'TEXT' 5: 6 bytes\n"
                    "resource 'TEXT' 5 name \"Aide\" attributes 0x04 {\n    text \"second\"\n}\n\n");
}

} // namespace
