#include <sstream>

#include "platform/headless.h"
#include "platform/utf8.h"

namespace platform {
namespace {

struct NamedKey {
    const char* name;
    Key key;
    char32_t text; // the character the key types without modifiers (0: none)
};

const NamedKey kNamedKeys[] = {
    {"return", Key::Return, 0},     {"enter", Key::Return, 0},
    {"escape", Key::Escape, 0},     {"esc", Key::Escape, 0},
    {"tab", Key::Tab, 0},           {"backspace", Key::Backspace, 0},
    {"space", Key::Space, U' '},    {"delete", Key::Delete, 0},
    {"insert", Key::Insert, 0},     {"home", Key::Home, 0},
    {"end", Key::End, 0},           {"pageup", Key::PageUp, 0},
    {"pagedown", Key::PageDown, 0}, {"left", Key::Left, 0},
    {"right", Key::Right, 0},       {"up", Key::Up, 0},
    {"down", Key::Down, 0},         {"control", Key::Control, 0},
    {"shift", Key::Shift, 0},       {"alt", Key::Alt, 0},
};

bool ParseInt(const std::string& word, long long& value) {
    if (word.empty()) return false;
    std::size_t used = 0;
    try {
        value = std::stoll(word, &used, 10);
    } catch (...) {
        return false;
    }
    return used == word.size();
}

Event Make(EventKind kind) {
    Event e;
    e.kind = kind;
    return e;
}

// One argument of a script line, as its kind reads it.
struct Arg {
    long long number = 0;
    std::string text;
    std::uint8_t button = LeftButton;
    std::vector<Event> events;
};
using Args = std::vector<Arg>;

// Argument kinds: c a coordinate (0 to 32767), t ticks (0 to 216000), n a count (0 or more), i a palette
// index, b an optional last "left" or "right", k a key name, f a file name, s the rest of the line.
bool ParseArg(char kind, const std::string& word, Arg& arg) {
    switch (kind) {
    case 'c':
        return ParseInt(word, arg.number) && arg.number >= 0 && arg.number <= 32767;
    case 't':
        return ParseInt(word, arg.number) && arg.number >= 0 && arg.number <= 60LL * 3600;
    case 'n':
        return ParseInt(word, arg.number) && arg.number >= 0;
    case 'i':
        return ParseInt(word, arg.number) && arg.number >= 0 && arg.number <= 255;
    case 'w':
        return ParseInt(word, arg.number) && arg.number >= -100 && arg.number <= 100;
    case 'b':
        arg.button = word == "right" ? RightButton : LeftButton;
        return word == "left" || word == "right";
    case 'k':
        return KeyEvents(word, arg.events);
    case 'f':
        arg.text = word;
        return true;
    default:
        return false;
    }
}

void Move(ScriptStep& step, const Args& a) {
    Event move = Make(EventKind::MouseMove);
    move.x = static_cast<int>(a[0].number);
    move.y = static_cast<int>(a[1].number);
    step.events.push_back(move);
}

void Click(ScriptStep& step, const Args& a) {
    Move(step, a);
    Event down = step.events.back();
    down.kind = EventKind::MouseDown;
    down.button = a.size() > 2 ? a[2].button : std::uint8_t{LeftButton};
    Event up = down;
    up.kind = EventKind::MouseUp;
    step.events.push_back(down);
    step.events.push_back(up);
}

template <EventKind kind>
void Press(ScriptStep& step, const Args& a) {
    Event e = Make(kind);
    e.button = a.empty() ? std::uint8_t{LeftButton} : a[0].button;
    e.x = -1; // at the current position
    step.events.push_back(e);
}

void Wheel(ScriptStep& step, const Args& a) {
    Event e = Make(EventKind::Wheel);
    e.wheel = static_cast<int>(a[0].number);
    step.events.push_back(e);
}

template <EventKind kind>
void Window(ScriptStep& step, const Args&) {
    step.events.push_back(Make(kind));
}

void TypeKey(ScriptStep& step, const Args& a) {
    step.events = a[0].events;
}

void TypeText(ScriptStep& step, const Args& a) {
    // A bad byte types U+FFFD, so that a faulty script still types something visible.
    for (char32_t c : DecodeUtf8Text(a[0].text)) {
        Event e = Make(EventKind::Text);
        e.codepoint = c;
        step.events.push_back(e);
    }
}

template <ScriptStep::Op op>
void Count(ScriptStep& step, const Args& a) {
    step.op = op;
    step.number = a[0].number;
}

template <ScriptStep::Op op>
void ToFile(ScriptStep& step, const Args& a) {
    step.op = op;
    step.file = a[0].text;
}

void ExpectPixel(ScriptStep& step, const Args& a) {
    step.op = ScriptStep::Op::ExpectPixel;
    step.x = static_cast<int>(a[0].number);
    step.y = static_cast<int>(a[1].number);
    step.number = a[2].number;
}

struct Command {
    const char* name;
    const char* kinds;
    const char* synopsis;
    void (*build)(ScriptStep&, const Args&);
};

// The script verbs: name, argument kinds, synopsis (also the error text of a malformed line), and what
// the line becomes. A new verb is one more row.
const Command kCommands[] = {
    {"click", "ccb", "X Y [left|right]", Click},
    {"mousedown", "b", "[left|right]", Press<EventKind::MouseDown>},
    {"mouseup", "b", "[left|right]", Press<EventKind::MouseUp>},
    {"move", "cc", "X Y", Move},
    {"wheel", "w", "NOTCHES (-100 to 100, positive away from the user)", Wheel},
    {"key", "k", "NAME", TypeKey},
    {"text", "s", "STRING", TypeText},
    {"wait", "t", "TICKS (0 to 216000)", Count<ScriptStep::Op::Wait>},
    {"activate", "", "", Window<EventKind::Activate>},
    {"deactivate", "", "", Window<EventKind::Deactivate>},
    {"close", "", "", Window<EventKind::CloseRequest>},
    {"shot", "f", "FILE.png", ToFile<ScriptStep::Op::Shot>},
    {"dump", "f", "FILE|-", ToFile<ScriptStep::Op::Dump>},
    {"expect-sound", "n", "N", Count<ScriptStep::Op::ExpectSound>},
    {"expect-messagebox", "n", "N", Count<ScriptStep::Op::ExpectMessageBox>},
    {"expect-pixel", "cci", "X Y INDEX", ExpectPixel},
};

} // namespace

bool KeyEvents(const std::string& keyText, std::vector<Event>& events) {
    std::string name = keyText;
    Modifiers mods;
    for (;;) {
        const std::size_t plus = name.find('+');
        if (plus == std::string::npos || plus + 1 >= name.size()) break;
        const std::string prefix = name.substr(0, plus);
        if (prefix == "ctrl" || prefix == "control")
            mods.control = true;
        else if (prefix == "shift")
            mods.shift = true;
        else if (prefix == "alt")
            mods.alt = true;
        else
            return false;
        name = name.substr(plus + 1);
    }
    Key key = Key::None;
    char32_t text = 0;
    if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9'))) {
        key = static_cast<Key>(name[0]);
        text = static_cast<char32_t>(mods.shift && name[0] >= 'a' ? name[0] - 32 : name[0]);
    } else if (name.size() >= 2 && name[0] == 'f' && name.size() <= 3) {
        long long n = 0;
        if (!ParseInt(name.substr(1), n) || n < 1 || n > 12) return false;
        key = static_cast<Key>(static_cast<int>(Key::F1) + n - 1);
    } else {
        for (const NamedKey& k : kNamedKeys)
            if (name == k.name) {
                key = k.key;
                text = k.text;
            }
        if (key == Key::None) return false;
    }
    auto press = [&](EventKind kind, Key k) {
        Event e = Make(kind);
        e.key = k;
        events.push_back(e);
    };
    if (mods.control) press(EventKind::KeyDown, Key::Control);
    if (mods.shift) press(EventKind::KeyDown, Key::Shift);
    if (mods.alt) press(EventKind::KeyDown, Key::Alt);
    press(EventKind::KeyDown, key);
    // As on a real keyboard, a typed character follows the key press unless Control or Alt is held.
    if (text && !mods.control && !mods.alt) {
        Event t = Make(EventKind::Text);
        t.codepoint = text;
        events.push_back(t);
    }
    press(EventKind::KeyUp, key);
    if (mods.alt) press(EventKind::KeyUp, Key::Alt);
    if (mods.shift) press(EventKind::KeyUp, Key::Shift);
    if (mods.control) press(EventKind::KeyUp, Key::Control);
    return true;
}

std::string ParseScriptLine(std::string raw, int lineNumber, std::optional<ScriptStep>& step) {
    step.reset();
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::istringstream words(raw);
    std::string name;
    if (!(words >> name) || name[0] == '#') return {};
    std::vector<std::string> tokens;
    for (std::string w; words >> w;)
        tokens.push_back(w);
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (name == c.name) command = &c;
    if (!command) return where + "unknown command \"" + name + "\"";
    const std::string kinds = command->kinds;
    const std::string usage =
        where + "expected: " + command->name + (kinds.empty() ? "" : " ") + command->synopsis;
    Args args;
    if (kinds == "s") {
        // The rest of the line as it stands, spaces included.
        const std::size_t at = raw.find(name) + name.size();
        args.emplace_back().text = at < raw.size() ? raw.substr(at + 1) : std::string{};
        if (args[0].text.empty()) return usage;
    } else {
        const bool optionalLast = !kinds.empty() && kinds.back() == 'b';
        if (tokens.size() > kinds.size() || tokens.size() + (optionalLast ? 1 : 0) < kinds.size())
            return usage;
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (!ParseArg(kinds[i], tokens[i], args.emplace_back()))
                return kinds[i] == 'k' ? where + "unknown key" : usage;
    }
    step.emplace();
    step->line = lineNumber;
    command->build(*step, args);
    return {};
}

std::string ParseScript(const std::string& text, std::vector<ScriptStep>& steps) {
    steps.clear();
    std::istringstream in(text);
    std::string raw;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        std::optional<ScriptStep> step;
        std::string error = ParseScriptLine(raw, lineNumber, step);
        if (!error.empty()) return error;
        if (step) steps.push_back(std::move(*step));
    }
    return {};
}

std::vector<std::string> ScriptSynopses() {
    std::vector<std::string> out;
    for (const Command& c : kCommands)
        out.push_back(std::string(c.name) + (c.synopsis[0] ? " " : "") + c.synopsis);
    return out;
}

} // namespace platform
