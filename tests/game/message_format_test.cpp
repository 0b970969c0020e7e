#include <gtest/gtest.h>

#include <array>
#include <string>

#include "game/message_format.h"

namespace {

using tolka::FormatArg;

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
    std::array<char, 512> buffer;
    buffer.fill('#');
    const std::size_t n = tolka::FormatInto(buffer, format, args...);
    EXPECT_EQ(buffer[n], '\0');
    return std::string(buffer.data(), n);
}

TEST(MessageFormat, ConversionsAsPrintfWritesThem) {
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {Format("Impossible de trouver une pierre de la case %d", 7),
         "Impossible de trouver une pierre de la case 7"},
        {Format("erreur %ld", 2L), "erreur 2"},
        {Format("%d|%5d|%-5d|%05d|%+d|% d", -3, 42, 42, -42, 7, 7), "-3|   42|42   |-0042|+7| 7"},
        {Format("%u %x %X %o %#x", 4000000000u, 255, 255, 8, 16), "4000000000 ff FF 10 10"},
        {Format("%.3d|%6.3d|%.0d", 5, -5, 0), "005|  -005|"},
        {Format("%s|%8s|%-8s|%.2s", "abc", "abc", "abc", "abc"), "abc|     abc|abc     |ab"},
        {Format("%c%c", 'o', 'k'), "ok"},
        {Format("%.2f %g %e", 3.14159, 0.5, 1500.0), "3.14 0.5 1.500000e+03"},
        {Format("100%% %hd %lld %zu", short{3}, 4LL, std::size_t{5}), "100% 3 4 5"},
        {Format("%d", std::int64_t{-9223372036854775807LL - 1}), "-9223372036854775808"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(MessageFormat, MismatchedOrMissingArgumentsAreWrittenSafely) {
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        // No argument: the conversion stays as written.
        {Format("case %d, erreur %ld"), "case %d, erreur %ld"},
        {Format("%s and %s", "one"), "one and %s"},
        // A stray percent sign at the end, and conversions printf would misuse.
        {Format("50%"), "50%"},
        {Format("%n%p%q!", 1, 2, 3), "%n%p%q!"},
        // A text where a number was expected and the other way round.
        {Format("%d seeds", "forty"), "forty seeds"},
        {Format("[%s] [%c]", 12, "xy"), "[12] [xy]"},
        {Format("%s", 2.5), "2.5"},
        // Surplus arguments are ignored; a null text is empty.
        {Format("%d", 1, 2, 3), "1"},
        {Format("<%s>", static_cast<const char*>(nullptr)), "<>"},
        // Huge widths and precisions are cut by the buffer, not by memory.
        {Format("%999999999d", 1).substr(0, 3), "   "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(MessageFormat, TheBufferBoundsEveryResult) {
    const std::string long600(600, 'x');
    // A 600-character argument, a padded one and a real with a huge exponent, each in a buffer of
    // 512 bytes and in smaller ones: never past the end, always terminated.
    for (std::size_t size : {512u, 16u, 2u, 1u}) {
        SCOPED_TRACE(size);
        std::string buffer(size + 8, '#');
        const std::size_t room = size - 1;
        auto check = [&](std::size_t n) {
            EXPECT_EQ(n, room);
            EXPECT_EQ(buffer[n], '\0');
            EXPECT_EQ(buffer.substr(size), std::string(8, '#')) << "written past the buffer";
        };
        check(tolka::FormatInto(std::span(buffer.data(), size), "100%% sure: %s", long600));
        check(tolka::FormatInto(std::span(buffer.data(), size), "%-1000d|", 3));
        check(tolka::FormatInto(std::span(buffer.data(), size), "%.60f%.60f", 1e300, -1e300));
        check(tolka::FormatInto(std::span(buffer.data(), size), long600));
    }
    const std::string text = Format("100%% sure: %s", long600);
    EXPECT_EQ(text.size(), 511u);
    EXPECT_EQ(text.substr(0, 12), "100% sure: x");
    // Nothing at all is written into an empty buffer.
    EXPECT_EQ(tolka::FormatInto(std::span<char>(), "%s", long600), 0u);
}

} // namespace
