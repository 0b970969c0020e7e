// Help files from arbitrary text: parsed, every keyword looked up, and the topics laid out in a column
// whose width the first byte chooses (down to none), with a measure where some characters are zero
// wide. The layout must name only existing topics and place runs left to right from the column's edge.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "toolkit/help/help_file.h"
#include "toolkit/help/help_layout.h"

namespace {

int Measure(std::string_view text, qiva::help::Face face) {
    int width = 0;
    for (char c : text)
        width += (static_cast<unsigned char>(c) & 7) + (face == qiva::help::Face::Plain ? 0 : 1);
    return face == qiva::help::Face::Title ? 2 * width : width;
}

// Well-formed UTF-8 in its structure (lead and continuation bytes), which is all a cut can break.
bool WellFormed(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead < 0x80    ? 0
                                  : lead >= 0xF0 ? 3
                                  : lead >= 0xE0 ? 2
                                  : lead >= 0xC0 ? 1
                                                 : 4;
        if (extra == 4 || text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int width = data[0] - 16;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const qiva::help::HelpFile file = qiva::help::ParseHelpFile(text);
    FUZZ_CHECK(!file.error || (file.error->line >= 1 && !file.error->message.empty()));
    // The message quotes the line it names, never half a character of it.
    if (file.error && WellFormed(text)) FUZZ_CHECK(WellFormed(file.error->message));
    for (const qiva::help::Topic& topic : file.topics)
        for (const std::string& keyword : topic.keywords) {
            const int found = qiva::help::FindTopic(file, keyword);
            FUZZ_CHECK(found >= 0 && found < static_cast<int>(file.topics.size()));
        }
    const qiva::help::Layout layout = qiva::help::LayOutHelp(file, width, &Measure);
    const int topics = static_cast<int>(file.topics.size());
    FUZZ_CHECK(static_cast<int>(layout.topicLines.size()) == topics);
    int previous = -1;
    for (int first : layout.topicLines) {
        FUZZ_CHECK(first > previous && first < static_cast<int>(layout.lines.size()));
        previous = first;
    }
    for (const qiva::help::Line& line : layout.lines) {
        FUZZ_CHECK(line.topic >= 0 && line.topic < topics);
        int h = 0;
        for (const qiva::help::Run& run : line.runs) {
            FUZZ_CHECK(run.h >= h && !run.text.empty());
            h = run.h;
        }
    }
    const int lines = static_cast<int>(layout.lines.size());
    for (int visible : {-1, 0, 1, 20, lines + 5}) {
        const int top = qiva::help::ClampTop(layout, lines, visible);
        FUZZ_CHECK(top >= 0 && (lines == 0 || top < lines));
    }
    (void)qiva::help::TopicOfLine(layout, lines);
    return 0;
}
