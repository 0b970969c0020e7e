#pragma once
// The help file format (docs/help-format.md) read into topics of blocks: UTF-8 text in, text in the
// toolkit's Macintosh character set out. State-free.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qiva::help {

// A piece of a paragraph in one style.
struct Span {
    std::string text;
    bool bold = false;
    bool operator==(const Span&) const = default;
};

enum class BlockKind { Paragraph, ListItem, Fixed };

struct Block {
    BlockKind kind = BlockKind::Paragraph;
    std::vector<Span> spans;        // Paragraph and ListItem: the joined lines, emphasis applied
    std::vector<std::string> lines; // Fixed: the lines as written, without their four-space mark
};

struct Topic {
    std::string title;
    std::vector<std::string> keywords; // as written, in the Macintosh set
    std::vector<Block> blocks;
    int line = 0; // of its @topic line, from 1
};

struct ParseError {
    int line = 0;
    std::string message; // UTF-8, quotes the offending line's start
};

struct HelpFile {
    std::vector<Topic> topics;
    std::optional<ParseError> error; // the first error; the topics before it are kept
};

HelpFile ParseHelpFile(std::string_view utf8);

// A paragraph's text with its emphasis: *words* bold, ** a literal asterisk. An asterisk left
// without its partner shows as itself.
std::vector<Span> ParseEmphasis(std::string_view macText);

// The first topic listing `keyword` (compared without regard to ASCII case), or -1.
int FindTopic(const HelpFile& file, std::string_view macKeyword);

} // namespace qiva::help
