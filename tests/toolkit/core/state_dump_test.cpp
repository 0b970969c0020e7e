#include "toolkit/core/state_dump.h"

#include <gtest/gtest.h>

namespace {

// Removes the test's writers whatever happens in the test body.
struct WritersGuard {
    ~WritersGuard()
    {
        qiva::UnregisterStateDump("t.first");
        qiva::UnregisterStateDump("t.second");
    }
};

TEST(StateDump, WritersRunInFirstRegistrationOrderAndEndWithEnd)
{
    WritersGuard guard;
    qiva::RegisterStateDump("t.first", [](std::string& out) { out += "a 1\n"; });
    qiva::RegisterStateDump("t.second", [](std::string& out) { out += "b 2\n"; });
    qiva::RegisterStateDump("t.first", [](std::string& out) { out += "a 3\n"; }); // replaced, keeps its place
    const std::string dump = qiva::StateDump();
    EXPECT_NE(dump.find("a 3\nb 2\n"), std::string::npos);
    EXPECT_EQ(dump.find("a 1"), std::string::npos);
    EXPECT_EQ(dump.substr(dump.size() - 4), "end\n");
    qiva::UnregisterStateDump("t.first");
    EXPECT_EQ(qiva::StateDump().find("a 3"), std::string::npos);
}

TEST(StateDump, TextsAreQuotedWithEscapesAndRectanglesLeftTopRightBottom)
{
    EXPECT_EQ(qiva::DumpQuoted("a\"b\\c\rd\ne"), "\"a\\\"b\\\\c\\rd\\ne\"");
    EXPECT_EQ(qiva::DumpQuotedMac("caf\x8E"), "\"caf\xC3\xA9\""); // é in the Macintosh set
    EXPECT_EQ(qiva::DumpRect(Rect{10, 20, 30, 40}), "20 10 40 30");
}

} // namespace
