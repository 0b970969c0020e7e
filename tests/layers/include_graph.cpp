#include "tests/layers/include_graph.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>

namespace layer_check {
namespace {

namespace fs = std::filesystem;

struct Layer {
    const char* name;
    const char* folder;
    const char* library;
    int rank; // a layer may include ranks up to its own; equal ranks only its own folder
};

constexpr Layer kLayers[] = {
    {"platform", "platform", "tolka_platform", 0},
    {"core", "toolkit/core", "qiva_core", 1},
    {"graphics", "toolkit/graphics", "qiva_graphics", 2},
    {"windows", "toolkit/windows", "qiva_windows", 3},
    {"menus", "toolkit/menus", "qiva_menus", 4},
    {"managers", "toolkit/managers", "qiva_managers", 4},
    {"controls", "toolkit/controls", "qiva_controls", 4},
    {"dialogs", "toolkit/dialogs", "qiva_dialogs", 5},
    {"help", "toolkit/help", "qiva_help", 5},
    {"game", "game", "tolka_game", 6},
};

bool Under(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

const Layer* LayerOf(const std::string& path) {
    for (const Layer& layer : kLayers)
        if (Under(path, layer.folder)) return &layer;
    return nullptr;
}

std::string UnitOf(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(0, dot)
                                                                                   : path;
}

bool IsSource(const fs::path& p) {
    const std::string ext = p.extension().string();
    return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".cc";
}

struct Include {
    int line;
    bool angle;
    std::string name;
};

std::vector<Include> IncludesOf(const fs::path& file) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    std::ifstream in(file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::smatch m;
        if (std::regex_search(text, m, directive)) found.push_back({line, m[1] == "<", m[2]});
    }
    return found;
}

// The included file as a path from the root: the project root first (includes name their layer), then
// the including file's folder. Empty when neither holds it (a generated or outside header).
std::string Resolve(const fs::path& root, const fs::path& from, const std::string& name) {
    for (const fs::path& base : {root, from.parent_path()}) {
        const fs::path candidate = (base / name).lexically_normal();
        std::error_code error;
        if (!fs::is_regular_file(candidate, error)) continue;
        const fs::path relative = candidate.lexically_relative(root);
        if (relative.empty() || *relative.begin() == "..") return {};
        return relative.generic_string();
    }
    return {};
}

// Strongly connected groups of more than one unit (Tarjan's algorithm).
std::vector<std::set<std::string>> Loops(const std::map<std::string, std::set<std::string>>& edges) {
    std::map<std::string, int> index, low;
    std::set<std::string> onStack;
    std::vector<std::string> stack;
    std::vector<std::set<std::string>> loops;
    int next = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& unit) {
        index[unit] = low[unit] = next++;
        stack.push_back(unit);
        onStack.insert(unit);
        if (const auto out = edges.find(unit); out != edges.end()) {
            for (const std::string& to : out->second) {
                if (!index.count(to)) {
                    visit(to);
                    low[unit] = std::min(low[unit], low[to]);
                } else if (onStack.count(to)) {
                    low[unit] = std::min(low[unit], index[to]);
                }
            }
        }
        if (low[unit] != index[unit]) return;
        std::set<std::string> group;
        std::string member;
        do {
            member = stack.back();
            stack.pop_back();
            onStack.erase(member);
            group.insert(member);
        } while (member != unit);
        if (group.size() > 1) loops.push_back(std::move(group));
    };
    for (const auto& [unit, targets] : edges)
        if (!index.count(unit)) visit(unit);
    return loops;
}

// The layers a layer's library links to, from the target_link_libraries calls of its CMakeLists.txt.
void CheckLinks(const fs::path& root, const Layer& layer, std::vector<std::string>& findings) {
    const std::string file = std::string(layer.folder) + "/CMakeLists.txt";
    std::ifstream in(root / file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex call(R"(target_link_libraries\s*\(\s*([\w:-]+)([^)]*)\))");
    static const std::regex word(R"([\w:-]+)");
    for (auto c = std::sregex_iterator(text.begin(), text.end(), call); c != std::sregex_iterator(); ++c) {
        if ((*c)[1] != layer.library) continue;
        const std::string args = (*c)[2];
        for (auto w = std::sregex_iterator(args.begin(), args.end(), word); w != std::sregex_iterator();
             ++w) {
            for (const Layer& to : kLayers) {
                if (w->str() != to.library || &to == &layer) continue;
                if (to.rank > layer.rank)
                    findings.push_back(file + ": " + layer.library + " links to " + to.library +
                                       " of the higher " + to.name + " layer");
                else if (to.rank == layer.rank)
                    findings.push_back(file + ": " + layer.library + " links to " + to.library + " of the " +
                                       to.name + " layer beside it");
            }
        }
    }
}

std::string Join(const std::set<std::string>& units) {
    std::string text;
    for (const std::string& unit : units)
        text += (text.empty() ? "" : ", ") + unit;
    return text;
}

} // namespace

std::vector<std::string> CheckTree(const fs::path& root, const std::vector<LoopAllowance>& allowed) {
    std::vector<std::string> findings;
    std::map<std::string, std::map<std::string, std::set<std::string>>> edges; // layer -> unit -> units
    std::vector<fs::path> files;
    for (const Layer& layer : kLayers) {
        std::error_code error;
        const fs::path folder = root / layer.folder;
        if (!fs::is_directory(folder, error)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder, error))
            if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const Layer& layer : kLayers)
        CheckLinks(root, layer, findings);

    for (const fs::path& file : files) {
        const std::string path = file.lexically_relative(root).generic_string();
        const Layer& layer = *LayerOf(path);
        const std::string unit = UnitOf(path);
        edges[layer.name][unit]; // every unit is a node, included or not
        for (const Include& include : IncludesOf(file)) {
            const std::string where = path + ":" + std::to_string(include.line) + ": ";
            if (include.angle) {
                // Standard library headers have neither an extension nor a folder.
                if (layer.rank > 0 && include.name.find_first_of("./") != std::string::npos)
                    findings.push_back(where + "system header <" + include.name + "> above the platform");
                continue;
            }
            const std::string target = Resolve(root, file, include.name);
            if (target.empty()) continue;
            const Layer* to = LayerOf(target);
            if (!to) {
                findings.push_back(where + "the " + layer.name + " layer includes " + target +
                                   ", which is outside the layers");
            } else if (to->rank > layer.rank) {
                findings.push_back(where + "the " + layer.name + " layer includes " + target +
                                   " of the higher " + to->name + " layer");
            } else if (to != &layer && to->rank == layer.rank) {
                findings.push_back(where + "the " + layer.name + " layer includes " + target + " of the " +
                                   to->name + " layer beside it");
            } else if (to == &layer && UnitOf(target) != unit) {
                edges[layer.name][unit].insert(UnitOf(target));
            }
        }
    }

    std::set<std::pair<std::string, std::string>> looping; // layer, unit
    for (const auto& [layer, graph] : edges) {
        for (const std::set<std::string>& loop : Loops(graph)) {
            for (const std::string& unit : loop)
                looping.insert({layer, unit});
            const bool tolerated = std::any_of(allowed.begin(), allowed.end(), [&](const LoopAllowance& a) {
                return a.layer == layer && std::all_of(loop.begin(), loop.end(), [&](const std::string& u) {
                           return std::find(a.units.begin(), a.units.end(), u) != a.units.end();
                       });
            });
            if (!tolerated)
                findings.push_back("units of the " + layer +
                                   " layer include each other in a loop: " + Join(loop));
        }
    }
    for (const LoopAllowance& a : allowed)
        for (const std::string& unit : a.units)
            if (!looping.count({a.layer, unit}))
                findings.push_back(unit + " is in no loop any more: take it off the " + a.layer +
                                   " layer's allowance");
    return findings;
}

} // namespace layer_check
