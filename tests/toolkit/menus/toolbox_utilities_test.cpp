// GetCursor, GetPicture and the string-form conversions.

#include <cstring>

#include "tests/toolkit/menus/menu_fixture.h"
#include "toolkit/core/cursor_resources.h"
#include "toolkit/core/string_forms.h"
#include "toolkit/graphics/picture_resources.h"

namespace {

// A cursor whose image bytes count up and whose hot spot is (v 5, h 6), stored big-endian.
std::string CursorData() {
    std::string d;
    for (int i = 0; i < 64; ++i)
        d += static_cast<char>(i);
    d += std::string("\0\5\0\6", 4);
    return d;
}

class UtilitiesTest : public MenuTest {};

TEST_F(UtilitiesTest, GetCursorSelectsTheSystemCursorsByNumber) {
    std::vector<qiva::Resource> resources;
    for (std::int16_t id : {0, 1, 2, 3, 4, 5})
        resources.push_back(qiva_test::MakeResource("CURS", id, CursorData()));
    resources.push_back(qiva_test::MakeResource("CURS", 9, CursorData().substr(0, 60)));
    OpenResources(resources);
    const std::string original = CursorData();
    for (std::int16_t id : {0, 1, 2, 3, 4, 5}) {
        CursHandle c = GetCursor(id);
        ASSERT_TRUE(c) << id;
        const auto* bytes = reinterpret_cast<const char*>(*c);
        EXPECT_EQ(std::memcmp(bytes, original.data(), 64), 0) << "image of " << id;
        const std::string hot(bytes + 64, 4);
        const bool system = id != 3 && id != 5;
        const std::string want =
            system ? std::string{'\0', static_cast<char>(id), '\x7F', '\xFF'} : original.substr(64);
        EXPECT_EQ(hot, want) << "hot spot of " << id;
    }
    EXPECT_EQ(GetCursor(7), nullptr) << "missing";
    EXPECT_EQ(GetCursor(9), nullptr) << "shorter than a cursor";
}

TEST_F(UtilitiesTest, GetPictureGivesTheResourceOrNull) {
    OpenResources(
        {qiva_test::MakeResource("PICT", 128, std::string("\0\x0C\0\0\0\0\0\x10\0\x10\x11\x01\xFF", 13))});
    PicHandle p = GetPicture(128);
    ASSERT_TRUE(p);
    EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(p)), 13);
    EXPECT_EQ(GetPicture(129), nullptr);
}

TEST(StringForms, BothConversionsLeaveTheStringAsItIs) {
    char text[] = "Tolka";
    EXPECT_EQ(c2pstr(text), text);
    EXPECT_STREQ(text, "Tolka");
    EXPECT_EQ(p2cstr(text), text);
    EXPECT_STREQ(text, "Tolka");
    unsigned char bytes[] = "abc";
    EXPECT_EQ(p2cstr(bytes), bytes);
    EXPECT_EQ(bytes[0], 'a');
}

} // namespace
