#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/toolkit/core/resource_files.h"
#include "toolkit/core/indexed_strings.h"
#include "toolkit/core/resources.h"

namespace {

// A 'STR#' image: the count, then each string with its length byte.
std::vector<std::uint8_t> StringList(const std::vector<std::string>& strings, int count = -1) {
    if (count < 0) count = static_cast<int>(strings.size());
    std::vector<std::uint8_t> image{static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)};
    for (const std::string& s : strings) {
        image.push_back(static_cast<std::uint8_t>(s.size()));
        image.insert(image.end(), s.begin(), s.end());
    }
    return image;
}

TEST(IndexedStrings, ByIndexFromOne) {
    const auto list = StringList({"One", "", "Three"});
    struct Case {
        int index;
        const char* expected; // null: no string
    };
    const Case cases[] = {{1, "One"}, {2, ""}, {3, "Three"}, {0, nullptr}, {4, nullptr}, {-1, nullptr}};
    for (const Case& c : cases) {
        const auto s = qiva::IndexedString(list, c.index);
        if (c.expected) {
            ASSERT_TRUE(s.has_value()) << c.index;
            EXPECT_EQ(*s, c.expected) << c.index;
        } else {
            EXPECT_FALSE(s.has_value()) << c.index;
        }
    }
}

TEST(IndexedStrings, DamagedListsAreNeverReadPastTheirEnd) {
    auto cut = StringList({"Alpha", "Beta"});
    cut.resize(cut.size() - 1); // "Beta" loses its last character
    struct Case {
        std::vector<std::uint8_t> image;
        int index;
        bool found;
    };
    const Case cases[] = {
        {cut, 1, true},
        {cut, 2, false},
        {StringList({"Alpha"}, 3), 2, false}, // the count promises more than there is
        {StringList({"Alpha"}, 3), 3, false},
        {{0x00}, 1, false}, // no room for the count
        {{}, 1, false},
        {StringList({}, 0), 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qiva::IndexedString(c.image, c.index).has_value(), c.found) << c.index;
}

class GetIndStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::uint8_t> image = StringList({"Premier", "Second", std::string(255, 'z')});
        const std::string data(image.begin(), image.end());
        ref = OpenResFile(
            dir.Write("STRINGS.RSR", qiva_test::FileImage({qiva_test::MakeResource("STR#", 128, data)}))
                .c_str());
        ASSERT_GT(ref, 0);
    }
    void TearDown() override { CloseResFile(ref); }

    std::string Get(std::int16_t id, std::int16_t index) {
        std::memset(buffer, 'x', sizeof buffer);
        GetIndString(buffer, id, index);
        EXPECT_EQ(buffer[256], 'x') << "written past the 256 bytes";
        return buffer;
    }

    qiva_test::ScratchDirectory dir;
    std::int16_t ref = 0;
    char buffer[257];
};

TEST_F(GetIndStringTest, CopiesTheStringOrGivesAnEmptyOne) {
    EXPECT_EQ(Get(128, 1), "Premier");
    EXPECT_EQ(Get(128, 2), "Second");
    EXPECT_EQ(Get(128, 3), std::string(255, 'z')) << "the last string, whole";
    EXPECT_EQ(Get(128, 0), "");
    EXPECT_EQ(Get(128, 4), "") << "one above the count";
    EXPECT_EQ(Get(128, -2), "");
    EXPECT_EQ(Get(129, 1), "") << "no such resource";
}

TEST_F(GetIndStringTest, TheResourceStaysLoaded) {
    Get(128, 1);
    const Handle list = GetResource(MakeResType("STR#"), 128);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(HomeResFile(list), ref);
    EXPECT_NE(*list, nullptr);
}

} // namespace
