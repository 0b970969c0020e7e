#include "toolkit/core/state_dump.h"

#include <utility>
#include <vector>

#include "platform/mac_roman.h"

namespace qiva {

namespace {

struct Entry {
    std::string key;
    StateDumpWriter writer;
};

std::vector<Entry>& Writers() {
    static std::vector<Entry> writers;
    return writers;
}

} // namespace

void RegisterStateDump(std::string_view key, StateDumpWriter writer) {
    for (Entry& e : Writers()) {
        if (e.key == key) {
            e.writer = std::move(writer);
            return;
        }
    }
    Writers().push_back({std::string(key), std::move(writer)});
}

void UnregisterStateDump(std::string_view key) {
    std::erase_if(Writers(), [key](const Entry& e) { return e.key == key; });
}

std::string StateDump() {
    std::string out;
    // A copy, so a writer may register or unregister without invalidating the walk.
    const std::vector<Entry> writers = Writers();
    for (const Entry& e : writers) {
        if (e.writer) e.writer(out);
    }
    out += "end\n";
    return out;
}

std::string DumpQuoted(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string DumpQuotedMac(std::string_view macText) {
    return DumpQuoted(platform::MacRomanToUtf8(macText));
}

std::string DumpRect(const Rect& r) {
    return std::to_string(r.left) + ' ' + std::to_string(r.top) + ' ' + std::to_string(r.right) + ' ' +
           std::to_string(r.bottom);
}

} // namespace qiva
