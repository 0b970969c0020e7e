#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/graphics/font_strike.h"
#include "tools/qiva-rsrc/sources.h"

namespace {

std::vector<qiva::Resource> Compile(const std::string& text) {
    std::vector<qiva::Resource> out;
    for (auto& r : qiva_rsrc::CompileSource(text, "fonts.qrs", "."))
        out.push_back(std::move(r.resource));
    return out;
}

std::string Source(const std::string& options, const std::string& path = TOLKA_FONT_DEJAVU_SANS) {
    return "resource 'FONT' 393 { from truetype \"" + path + "\" " + options + " }";
}

TEST(FontConverter, MakesAStrikeOfTheRequestedSize) {
    auto resources = Compile(Source("size 9 first 65 last 90 commandkey no"));
    ASSERT_EQ(resources.size(), 1u);
    qiva::FontStrike strike;
    ASSERT_EQ(qiva::PrepareStrike(resources[0].data, strike), qiva::StrikeError::none);
    EXPECT_EQ(strike.firstChar, 'A');
    EXPECT_EQ(strike.lastChar, 'Z');
    EXPECT_LE(strike.ascent + strike.descent, 12);
    EXPECT_GT(qiva::CharAdvance(strike, 'M'), qiva::CharAdvance(strike, 'I'));

    // Bold, and the command-key sign below the printable characters.
    auto bold = Compile(Source("size 9 first 65 last 90 embolden yes"));
    ASSERT_EQ(qiva::PrepareStrike(bold[0].data, strike), qiva::StrikeError::none);
    EXPECT_EQ(strike.firstChar, 17);
}

TEST(FontConverter, BadSourcesNameTheirFault) {
    const struct {
        std::string source;
        const char* message;
    } cases[] = {
        {Source(""), "needs a size"},
        {Source("size 0"), "'size' must be a number from 1 to 127"},
        {Source("size 12 colour red"), "no option 'colour'"},
        {Source("size 12 embolden maybe"), "'embolden' must be yes or no"},
        {Source("size 12 first 90 last 65"), "'last' must be a number"},
        {Source("size 12", "/nonexistent/face.ttf"), "not a font file"},
    };
    for (const auto& c : cases) {
        try {
            Compile(c.source);
            ADD_FAILURE() << c.source;
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("fonts.qrs"), std::string::npos) << e.what();
        }
    }
}

} // namespace
