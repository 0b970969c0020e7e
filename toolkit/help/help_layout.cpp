#include "toolkit/help/help_layout.h"

#include <algorithm>

namespace qiva::help {

namespace {

struct Piece {
    std::string text;
    Face face;
};

// A word: the pieces between two spaces (a word may change face in its middle).
struct Word {
    std::vector<Piece> pieces;
};

std::vector<Word> SplitWords(const std::vector<Span>& spans, Face plain, Face bold) {
    std::vector<Word> words;
    bool afterSpace = true;
    for (const Span& span : spans) {
        const Face face = span.bold ? bold : plain;
        for (char c : span.text) {
            if (c == ' ') {
                afterSpace = true;
                continue;
            }
            if (afterSpace) words.emplace_back();
            afterSpace = false;
            std::vector<Piece>& pieces = words.back().pieces;
            if (pieces.empty() || pieces.back().face != face) pieces.push_back({"", face});
            pieces.back().text += c;
        }
    }
    return words;
}

// Fills lines from left to right, starting new ones as the column's right edge asks.
class LineFiller {
public:
    LineFiller(Layout& layout, int topic, int left, int right, const Measure& measure)
        : layout_(layout), topic_(topic), left_(left), right_(std::max(right, left + 1)), measure_(measure) {
        NewLine();
    }

    void Place(const Word& word) {
        int width = 0;
        for (const Piece& p : word.pieces)
            width += measure_(p.text, p.face);
        // A space takes the face of the words on both sides, else the plain one.
        const Face first = word.pieces.front().face;
        const int space = measure_(" ", !empty_ && lastFace_ == first ? first : Face::Plain);
        if (!empty_ && x_ + space + width > right_) NewLine();
        bool spaced = !empty_;
        if (spaced) x_ += space;
        if (x_ + width <= right_) {
            for (const Piece& p : word.pieces) {
                Put(p.text, p.face, spaced);
                spaced = false;
            }
            return;
        }
        // Alone on its line and still too wide: broken between characters, at least one a line.
        for (const Piece& p : word.pieces)
            for (std::size_t i = 0; i < p.text.size(); ++i) {
                const std::string_view ch(&p.text[i], 1);
                if (!empty_ && x_ + measure_(ch, p.face) > right_) NewLine();
                Put(ch, p.face, spaced);
                spaced = false;
            }
    }
    // A list item's bullet, at the column's edge, left of the hanging indent.
    void Bullet() {
        Current().runs.push_back({std::string(1, kBullet), Face::Plain, 0});
        canJoin_ = false;
    }

private:
    Line& Current() { return layout_.lines.back(); }
    void NewLine() {
        layout_.lines.push_back(Line{{}, topic_});
        x_ = left_;
        empty_ = true;
        canJoin_ = false;
    }
    // Runs of one face grow while the text goes on where the last one ended.
    void Put(std::string_view text, Face face, bool spaced) {
        std::vector<Run>& runs = Current().runs;
        if (canJoin_ && runs.back().face == face) {
            if (spaced) runs.back().text += ' ';
            runs.back().text += text;
        } else {
            runs.push_back({std::string(text), face, x_});
        }
        x_ += measure_(text, face);
        lastFace_ = face;
        empty_ = false;
        canJoin_ = true;
    }

    Layout& layout_;
    int topic_;
    int left_, right_;
    const Measure& measure_;
    int x_ = 0;
    Face lastFace_ = Face::Plain;
    bool empty_ = true, canJoin_ = false;
};

} // namespace

Layout LayOutHelp(const HelpFile& file, int width, const Measure& measure) {
    Layout layout;
    layout.width = width;
    for (std::size_t t = 0; t < file.topics.size(); ++t) {
        const Topic& topic = file.topics[t];
        const int number = static_cast<int>(t);
        if (t > 0) layout.lines.push_back(Line{{}, number - 1});
        layout.topicLines.push_back(static_cast<int>(layout.lines.size()));
        {
            LineFiller title(layout, number, 0, width, measure);
            for (const Word& w : SplitWords({Span{topic.title, false}}, Face::Title, Face::Title))
                title.Place(w);
        }
        for (const Block& block : topic.blocks) {
            layout.lines.push_back(Line{{}, number});
            if (block.kind == BlockKind::Fixed) {
                for (const std::string& text : block.lines) {
                    Line line{{}, number};
                    if (!text.empty()) line.runs.push_back({text, Face::Fixed, 0});
                    layout.lines.push_back(std::move(line));
                }
                continue;
            }
            const bool item = block.kind == BlockKind::ListItem;
            const int indent = item ? std::min(kListIndent, std::max(width - 1, 0)) : 0;
            LineFiller filler(layout, number, indent, width, measure);
            if (item) filler.Bullet();
            for (const Word& w : SplitWords(block.spans, Face::Plain, Face::Bold))
                filler.Place(w);
        }
    }
    return layout;
}

int TopicOfLine(const Layout& layout, int line) {
    if (layout.lines.empty()) return 0;
    line = std::clamp(line, 0, static_cast<int>(layout.lines.size()) - 1);
    return layout.lines[static_cast<std::size_t>(line)].topic;
}

int ClampTop(const Layout& layout, int top, int visibleLines) {
    const int last = std::max(static_cast<int>(layout.lines.size()) - std::max(visibleLines, 1), 0);
    return std::clamp(top, 0, last);
}

} // namespace qiva::help
