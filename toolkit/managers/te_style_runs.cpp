#include "toolkit/managers/te_style_runs.h"

#include <algorithm>

namespace qiva::te {

int RunOfOffset(std::span<const StyleRun> runs, int offset) {
    if (runs.size() < 2 || offset < 0 || offset > runs.back().startChar) return -1;
    const auto body = runs.first(runs.size() - 1);
    const auto it = std::upper_bound(body.begin(), body.end(), offset,
                                     [](int value, const StyleRun& r) { return value < r.startChar; });
    return std::max(0, static_cast<int>(it - body.begin()) - 1);
}

std::vector<std::uint16_t> StylePerCharacter(std::span<const StyleRun> runs, int length) {
    std::vector<std::uint16_t> styles(static_cast<std::size_t>(std::max(0, length)), 0);
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
        const int end = std::min<int>(length, runs[i + 1].startChar);
        for (int c = runs[i].startChar; c < end; ++c)
            styles[static_cast<std::size_t>(c)] = runs[i].styleIndex;
    }
    return styles;
}

std::vector<StyleRun> RunsFromCharacters(std::span<const std::uint16_t> styles, std::uint16_t emptyStyle) {
    std::vector<StyleRun> runs;
    for (std::size_t c = 0; c < styles.size(); ++c)
        if (runs.empty() || runs.back().styleIndex != styles[c])
            runs.push_back({static_cast<std::uint16_t>(c), styles[c]});
    if (runs.empty()) runs.push_back({0, emptyStyle});
    runs.push_back({static_cast<std::uint16_t>(styles.size()), 0});
    return runs;
}

void DeleteStyleUse(std::vector<StyleRun>& runs, std::vector<STElement>& styles, int index,
                    std::vector<std::string>* messages) {
    if (index < 0 || index >= static_cast<int>(styles.size())) return;
    if (--styles[static_cast<std::size_t>(index)].stCount > 0) return;
    styles.erase(styles.begin() + index);
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
        if (runs[i].styleIndex == index && messages != nullptr)
            messages->push_back("qiva_DelStyle : count illegal");
        if (runs[i].styleIndex >= index && runs[i].styleIndex > 0) --runs[i].styleIndex;
    }
}

void RecountStyles(std::vector<StyleRun>& runs, std::vector<STElement>& styles,
                   std::vector<std::string>* messages) {
    std::vector<std::int16_t> uses(styles.size(), 0);
    for (std::size_t i = 0; i + 1 < runs.size(); ++i)
        if (runs[i].styleIndex < uses.size()) ++uses[runs[i].styleIndex];
    for (int s = static_cast<int>(styles.size()) - 1; s >= 0; --s) {
        styles[static_cast<std::size_t>(s)].stCount = uses[static_cast<std::size_t>(s)];
        if (uses[static_cast<std::size_t>(s)] == 0) {
            styles[static_cast<std::size_t>(s)].stCount = 1;
            DeleteStyleUse(runs, styles, s, messages);
        }
    }
}

std::uint16_t FindOrAddStyle(std::vector<STElement>& styles, const STElement& style) {
    for (std::size_t i = 0; i < styles.size(); ++i)
        if (SameStyle(styles[i], style)) return static_cast<std::uint16_t>(i);
    styles.push_back(style);
    styles.back().stCount = 0;
    return static_cast<std::uint16_t>(styles.size() - 1);
}

} // namespace qiva::te
