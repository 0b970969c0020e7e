#include "platform/profile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "platform/file_io.h"
#include "platform/paths.h"

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

struct Line {
    std::string_view text;    // without the line break
    std::string_view section; // set for a "[name]" line
    std::string_view key;     // set for a "key=value" line
    std::string_view value;
    bool isSection = false;
    bool isKey = false;
};

// Takes the next line off the front of `text`.
Line NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    Line line;
    line.text = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const std::string_view t = Trim(line.text);
    if (!t.empty() && t.front() == '[') {
        const std::size_t close = t.find(']');
        line.isSection = true;
        line.section =
            Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else if (!t.empty() && t.front() != ';') {
        const std::size_t eq = t.find('=');
        if (eq != std::string_view::npos) {
            line.isKey = true;
            line.key = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        }
    }
    return line;
}

// The text of a file as last read or written, kept while the file is unchanged, so that a run reads
// its settings once however many values it asks for, even from a huge file.
struct CachedText {
    std::string path;
    FileStamp stamp;
    std::string text;
};
std::vector<CachedText>& Cache() {
    static std::vector<CachedText> cache;
    return cache;
}

const std::string* CachedTextOf(const std::string& path) {
    const std::optional<FileStamp> stamp = StampOf(path);
    auto& cache = Cache();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->path != path) continue;
        if (stamp && *stamp == it->stamp) return &it->text;
        cache.erase(it);
        break;
    }
    std::string text;
    if (!stamp || !ReadFile(path, text)) return nullptr;
    // Stamped before the read: a change during it shows as a different stamp next time.
    cache.push_back({path, *stamp, std::move(text)});
    return &cache.back().text;
}

void Remember(const std::string& path, std::string text) {
    auto& cache = Cache();
    std::erase_if(cache, [&](const CachedText& c) { return c.path == path; });
    if (const std::optional<FileStamp> stamp = StampOf(path))
        cache.push_back({path, *stamp, std::move(text)});
}

} // namespace

std::optional<std::string> ProfileValueIn(std::string_view text, std::string_view section,
                                          std::string_view key) {
    bool inSection = false;
    while (!text.empty()) {
        const Line line = NextLine(text);
        if (line.isSection) {
            inSection = SameNoCase(line.section, Trim(section));
        } else if (inSection && line.isKey && SameNoCase(line.key, Trim(key))) {
            std::string_view v = line.value;
            if (v.size() >= 2 &&
                ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::nullopt;
}

std::string ProfileWithValue(std::string_view text, std::string_view section, std::string_view key,
                             const std::optional<std::string_view>& value) {
    std::vector<Line> lines;
    for (std::string_view rest = text; !rest.empty();)
        lines.push_back(NextLine(rest));
    // New lines follow the file's own line ends.
    const std::string end = text.find("\r\n") != std::string_view::npos ? "\r" : "";
    const std::string newLine =
        value ? std::string(Trim(key)) + "=" + std::string(*value) + end : std::string{};
    std::string out;
    bool inSection = false, sectionSeen = false, done = false;
    std::size_t lastInSection = 0; // where to append a new key: after the section's last non-blank line
    std::vector<std::string_view> pieces;
    const std::string newSection = "[" + std::string(Trim(section)) + "]" + end;
    for (const Line& line : lines) {
        if (line.isSection) {
            if (inSection && !done && value) {
                pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(lastInSection), newLine);
                done = true;
            }
            inSection = !done && SameNoCase(line.section, Trim(section));
            sectionSeen = sectionSeen || inSection;
            pieces.emplace_back(line.text);
            if (inSection) lastInSection = pieces.size();
            continue;
        }
        if (inSection && !done && line.isKey && SameNoCase(line.key, Trim(key))) {
            if (value) pieces.push_back(newLine);
            done = true;
            continue;
        }
        pieces.emplace_back(line.text);
        if (inSection && !Trim(line.text).empty()) lastInSection = pieces.size();
    }
    if (!done && value) {
        if (inSection) {
            pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(lastInSection), newLine);
        } else if (!sectionSeen) {
            if (!pieces.empty() && !Trim(pieces.back()).empty()) pieces.push_back(end);
            pieces.push_back(newSection);
            pieces.push_back(newLine);
        }
    }
    out.reserve(text.size() + newLine.size() + newSection.size() + 4);
    for (const std::string_view piece : pieces) {
        out += piece;
        out += '\n';
    }
    return out;
}

int LeadingInt(std::string_view value) {
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    std::uint32_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) n = 0u - n;
    return static_cast<int>(n);
}

int LeadingIntHeld(std::string_view value) {
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        n = std::min(n * 10 + (c - '0'), limit);
    }
    return static_cast<int>(negative ? -n : n);
}

std::optional<std::string> ReadProfileValue(const std::string& path, std::string_view section,
                                            std::string_view key) {
    const std::string found = FindFileNoCase(path);
    const std::string* text = found.empty() ? nullptr : CachedTextOf(found);
    if (text == nullptr) return std::nullopt;
    return ProfileValueIn(*text, section, key);
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
    auto value = ReadProfileValue(path, section, key);
    return value ? *value : std::string(defaultValue);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue) {
    auto value = ReadProfileValue(path, section, key);
    return value ? LeadingInt(*value) : defaultValue;
}

int ReadProfileCount(const std::string& path, std::string_view section, std::string_view key) {
    auto value = ReadProfileValue(path, section, key);
    return value ? LeadingIntHeld(*value) : 0;
}

bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const ProfileSetting> settings) {
    std::string found = FindFileNoCase(path);
    if (found.empty()) found = path;
    std::string text;
    if (FileExists(found)) {
        const std::string* old = CachedTextOf(found);
        if (old == nullptr) return false;
        text = *old;
    }
    std::string changed = text;
    for (const ProfileSetting& setting : settings)
        changed = ProfileWithValue(changed, section, setting.key, setting.value);
    if (changed == text && FileExists(found)) return true;
    if (!WriteFileAtomically(found, changed)) return false;
    Remember(found, std::move(changed));
    return true;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        const std::optional<std::string_view>& value) {
    const ProfileSetting setting{key, value};
    return WriteProfileStrings(path, section, {&setting, 1});
}

} // namespace platform
