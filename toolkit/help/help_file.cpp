#include "toolkit/help/help_file.h"

#include <algorithm>

#include "platform/mac_roman.h"

namespace qiva::help {

namespace {

std::string Mac(std::string_view utf8) {
    std::string text = platform::Utf8ToMacRoman(utf8);
    // A tab has no glyph; it reads as the space it stands for.
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool Blank(std::string_view line) {
    return Trim(line).empty();
}

bool EqualFolded(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return fold(x) == fold(y);
    });
}

// Builds the blocks of the topic being read, line by line.
class TopicBuilder {
public:
    explicit TopicBuilder(Topic& topic) : topic_(topic) {}

    void Blank() { Close(); }
    void Fixed(std::string_view rest) {
        if (!open_ || kind_ != BlockKind::Fixed) {
            Close();
            Open(BlockKind::Fixed);
        }
        fixed_.push_back(Mac(rest));
    }
    void Item(std::string_view text) {
        Close();
        Open(BlockKind::ListItem);
        Add(text);
    }
    void Text(std::string_view text) {
        if (!open_ || kind_ == BlockKind::Fixed) {
            Close();
            Open(BlockKind::Paragraph);
        }
        Add(text);
    }
    void Close() {
        if (!open_) return;
        Block block;
        block.kind = kind_;
        if (kind_ == BlockKind::Fixed)
            block.lines = std::move(fixed_);
        else
            block.spans = ParseEmphasis(joined_);
        topic_.blocks.push_back(std::move(block));
        open_ = false;
        joined_.clear();
        fixed_.clear();
    }

private:
    void Open(BlockKind kind) {
        open_ = true;
        kind_ = kind;
    }
    void Add(std::string_view text) {
        text = Trim(text);
        if (text.empty()) return;
        if (!joined_.empty()) joined_ += ' ';
        joined_ += Mac(text);
    }

    Topic& topic_;
    bool open_ = false;
    BlockKind kind_ = BlockKind::Paragraph;
    std::string joined_;
    std::vector<std::string> fixed_;
};

std::vector<std::string> SplitKeywords(std::string_view list) {
    std::vector<std::string> words;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view word = Trim(list.substr(0, comma));
        if (!word.empty()) words.push_back(Mac(word));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return words;
}

ParseError ErrorAt(int line, std::string_view text, std::string_view why) {
    // Cut at a character's start: the message is UTF-8 like the file.
    std::size_t cut = std::min<std::size_t>(text.size(), 24);
    while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    std::string shown(text.substr(0, cut));
    if (text.size() > cut) shown += "...";
    return {line, "line " + std::to_string(line) + ": \"" + shown + "\" " + std::string(why)};
}

} // namespace

std::vector<Span> ParseEmphasis(std::string_view text) {
    std::vector<Span> spans;
    auto append = [&](std::string_view piece, bool bold) {
        if (piece.empty()) return;
        if (!spans.empty() && spans.back().bold == bold)
            spans.back().text += piece;
        else
            spans.push_back({std::string(piece), bold});
    };
    std::string run;
    bool bold = false;
    std::size_t boldStart = 0; // where the open emphasis began in `spans`, for an unclosed one
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '*') {
            run += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '*') {
            run += '*';
            ++i;
            continue;
        }
        append(run, bold);
        run.clear();
        bold = !bold;
        if (bold) boldStart = spans.size();
    }
    append(run, bold);
    if (bold) {
        // No closing asterisk: what followed the opening one is plain text after a literal '*'.
        std::string rest = "*";
        for (std::size_t s = boldStart; s < spans.size(); ++s)
            rest += spans[s].text;
        spans.resize(boldStart);
        append(rest, false);
    }
    return spans;
}

HelpFile ParseHelpFile(std::string_view utf8) {
    HelpFile file;
    std::optional<TopicBuilder> builder;
    bool keywordsAllowed = false;
    int number = 0;
    for (std::size_t start = 0; start <= utf8.size();) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);

        const bool afterTopicLine = keywordsAllowed;
        keywordsAllowed = false;
        if (line.starts_with('@') && !line.starts_with("@@")) {
            if (line.starts_with("@topic ") && !Trim(line.substr(7)).empty()) {
                if (builder) builder->Close();
                Topic& topic = file.topics.emplace_back();
                topic.title = Mac(Trim(line.substr(7)));
                topic.line = number;
                builder.emplace(topic);
                keywordsAllowed = true;
            } else if (line.starts_with("@keywords ") && afterTopicLine) {
                file.topics.back().keywords = SplitKeywords(line.substr(10));
            } else {
                const char* why = line.starts_with("@topic")      ? "needs a title"
                                  : line.starts_with("@keywords") ? "must follow its @topic line"
                                                                  : "is not a help directive";
                file.error = ErrorAt(number, line, why);
                break;
            }
            continue;
        }
        if (!builder) continue; // text before the first topic
        if (line.starts_with("@@")) line.remove_prefix(1);
        if (Blank(line))
            builder->Blank();
        else if (line.starts_with("    "))
            builder->Fixed(line.substr(4));
        else if (line.starts_with("- "))
            builder->Item(line.substr(2));
        else
            builder->Text(line);
    }
    if (builder) builder->Close();
    if (!file.error && file.topics.empty()) file.error = ParseError{1, "the file holds no @topic line"};
    return file;
}

int FindTopic(const HelpFile& file, std::string_view keyword) {
    for (std::size_t t = 0; t < file.topics.size(); ++t)
        for (const std::string& k : file.topics[t].keywords)
            if (EqualFolded(k, keyword)) return static_cast<int>(t);
    return -1;
}

} // namespace qiva::help
