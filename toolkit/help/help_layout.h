#pragma once
// Help topics laid out in lines of one height for a text column of a given width: titles, paragraphs
// wrapped at spaces (inside a word only when the word alone is wider than the column), list items
// with a bullet and a hanging indent, fixed lines never wrapped. State-free: widths come from the
// caller's measure.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/help/help_file.h"

namespace qiva::help {

enum class Face { Plain, Bold, Fixed, Title };

// The width in pixels of a text in a face.
using Measure = std::function<int(std::string_view macText, Face face)>;

struct Run {
    std::string text;
    Face face = Face::Plain;
    int h = 0; // from the column's left edge
    bool operator==(const Run&) const = default;
};

struct Line {
    std::vector<Run> runs; // none for a blank line
    int topic = 0;
};

struct Layout {
    std::vector<Line> lines;
    std::vector<int> topicLines; // the first line of each topic (its title)
    int width = 0;
};

constexpr char kBullet = static_cast<char>(0xA5); // the Macintosh set's bullet
constexpr int kListIndent = 14;

// Each topic: its title, a blank line, its blocks separated by blank lines; a blank line between
// topics. A column narrower than one character still gets one character a line.
Layout LayOutHelp(const HelpFile& file, int width, const Measure& measure);

// The line a topic starts on, and the topic a line belongs to (0 for an empty layout).
int TopicOfLine(const Layout& layout, int line);

// The first visible line after a scroll, kept within 0 .. lines - visible (never below 0).
int ClampTop(const Layout& layout, int top, int visibleLines);

} // namespace qiva::help
