#include "tools/qiva-rsrc/type_codecs.h"

#include <cstring>

#include "toolkit/core/resource_format.h"

namespace qiva_rsrc {
namespace {

constexpr long long kMin16 = -32768, kMax16 = 32767;
constexpr long long kMin32 = -2147483648LL, kMax32 = 0xFFFFFFFFLL; // signed or unsigned spelling

[[noreturn]] void Unknown(Parser& p, const char* type) {
    const Token t = p.Peek();
    p.FailAt(t.line, "unknown field '" + t.text + "' in '" + type + "'");
}

std::string N(long long v) {
    return std::to_string(v);
}

std::string Hex(unsigned long long v, int digits) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, v);
    return buffer;
}

std::string RectText(const std::array<std::int16_t, 4>& r) {
    return N(r[0]) + " " + N(r[1]) + " " + N(r[2]) + " " + N(r[3]);
}

std::array<std::int16_t, 4> ReadRect(Reader& r) {
    std::array<std::int16_t, 4> rect{};
    for (auto& v : rect)
        v = r.S16();
    return rect;
}

void PutRect(Bytes& out, const std::array<std::int16_t, 4>& r) {
    for (std::int16_t v : r)
        Put16(out, v);
}

// Counts one more element of a list whose count the resource keeps in a 16-bit word, read back as
// signed: the element that would make it wrap is refused at its own line.
void CountElement(const Parser& p, long long& count, int line, const char* what) {
    if (++count > kMax16) p.FailAt(line, "more than " + N(kMax16) + " " + what);
}

// A character for key and mark fields: quoted when it prints, else its code.
std::string CharText(std::uint8_t c) {
    return c >= 0x20 && c != 0x7F ? Quote(std::string(1, static_cast<char>(c))) : N(c);
}

// ---- 'STR#' ----

void CompileStrings(Parser& p, std::int16_t, Bytes& out) {
    Bytes strings;
    long long count = 0;
    while (!p.AtClose()) {
        const int line = p.Peek().line;
        if (!p.AcceptWord("string")) Unknown(p, "STR#");
        PutPascal(strings, p.String("string"), p, "string");
        CountElement(p, count, line, "strings");
    }
    Put16(out, count);
    out.insert(out.end(), strings.begin(), strings.end());
}

bool DecompileStrings(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    const int count = r.S16();
    if (count < 0) return false;
    for (int i = 0; i < count; ++i)
        body += "string " + Quote(r.Pascal()) + "\n";
    return !r.Failed() && r.Left() == 0;
}

// ---- 'TEXT' ----

void CompileText(Parser& p, std::int16_t, Bytes& out) {
    while (!p.AtClose()) {
        if (!p.AcceptWord("text")) Unknown(p, "TEXT");
        const std::string s = p.String("text");
        out.insert(out.end(), s.begin(), s.end());
    }
}

bool DecompileText(const Bytes& data, std::int16_t, std::string& body) {
    std::string line;
    for (std::uint8_t c : data) {
        line += static_cast<char>(c);
        if (c == '\r' || line.size() >= 100) {
            body += "text " + Quote(line) + "\n";
            line.clear();
        }
    }
    if (!line.empty()) body += "text " + Quote(line) + "\n";
    return true;
}

// ---- 'MBAR' ----

void CompileMenuBar(Parser& p, std::int16_t, Bytes& out) {
    std::vector<long long> ids;
    long long count = 0;
    while (!p.AtClose()) {
        if (!p.AcceptWord("menus")) Unknown(p, "MBAR");
        while (p.Peek().kind == Token::Number) {
            CountElement(p, count, p.Peek().line, "menus in a menu bar");
            ids.push_back(p.Number(kMin16, kMax16, "menu"));
        }
    }
    Put16(out, count);
    for (long long id : ids)
        Put16(out, id);
}

bool DecompileMenuBar(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    const int count = r.S16();
    if (count < 0) return false;
    body += "menus";
    for (int i = 0; i < count; ++i)
        body += " " + N(r.S16());
    body += "\n";
    return !r.Failed() && r.Left() == 0;
}

// ---- 'MENU' ----

void CompileMenu(Parser& p, std::int16_t id, Bytes& out) {
    long long menuId = id, width = 0, height = 0, proc = 0, flags = -1;
    bool menuDisabled = false;
    std::string title;
    struct Item {
        std::string text;
        long long icon = 0;
        std::uint8_t key = 0, mark = 0;
        long long style = 0;
        bool disabled = false;
    };
    std::vector<Item> items;
    while (!p.AtClose()) {
        if (p.AcceptWord("item")) {
            Item item;
            item.text = p.String("item");
            if (item.text.empty()) p.Fail("a menu item needs a text (an empty one ends the menu)");
            while (true) {
                if (p.AcceptWord("key")) {
                    item.key = p.Character("key");
                } else if (p.AcceptWord("mark")) {
                    item.mark = p.Character("mark");
                } else if (p.AcceptWord("icon")) {
                    item.icon = p.Number(0, 255, "icon");
                } else if (p.AcceptWord("style")) {
                    item.style = p.Number(0, 255, "style");
                } else if (p.AcceptWord("disabled")) {
                    item.disabled = true;
                } else {
                    break;
                }
            }
            items.push_back(item);
            continue;
        }
        if (!items.empty() && p.Peek().kind == Token::Word) {
            p.Fail("'" + p.Peek().text + "' is not an item field (menu fields come before the items)");
        }
        if (p.AcceptWord("id")) {
            menuId = p.Number(kMin16, kMax16, "id");
        } else if (p.AcceptWord("width")) {
            width = p.Number(kMin16, kMax16, "width");
        } else if (p.AcceptWord("height")) {
            height = p.Number(kMin16, kMax16, "height");
        } else if (p.AcceptWord("proc")) {
            proc = p.Number(kMin16, kMax16, "proc");
        } else if (p.AcceptWord("title")) {
            title = p.String("title");
        } else if (p.AcceptWord("disabled")) {
            menuDisabled = true;
        } else if (p.AcceptWord("flags")) {
            flags = p.Number(0, 0xFFFFFFFFLL, "flags");
        } else {
            Unknown(p, "MENU");
        }
    }
    if (flags < 0) {
        flags = 0xFFFFFFFFLL;
        if (menuDisabled) flags &= ~1LL;
        for (std::size_t i = 0; i < items.size() && i < 31; ++i) {
            if (items[i].disabled) flags &= ~(1LL << (i + 1));
        }
    } else if (menuDisabled) {
        p.Fail("'flags' already says which items are disabled");
    }
    Put16(out, menuId);
    Put16(out, width);
    Put16(out, height);
    Put16(out, proc);
    Put16(out, 0);
    Put32(out, flags);
    PutPascal(out, title, p, "title");
    for (const Item& item : items) {
        PutPascal(out, item.text, p, "item");
        Put8(out, item.icon);
        Put8(out, item.key);
        Put8(out, item.mark);
        Put8(out, item.style);
    }
    Put8(out, 0);
}

bool DecompileMenu(const Bytes& data, std::int16_t id, std::string& body) {
    Reader r{data};
    const std::int16_t menuId = r.S16(), width = r.S16(), height = r.S16(), proc = r.S16(), filler = r.S16();
    const std::uint32_t flags = r.U32();
    const std::string title = r.Pascal();
    struct Item {
        std::string text;
        std::uint8_t icon, key, mark, style;
    };
    std::vector<Item> items;
    while (!r.Failed() && r.Left() > 0 && r.Rest()[0] != 0) {
        Item item;
        item.text = r.Pascal();
        item.icon = r.U8();
        item.key = r.U8();
        item.mark = r.U8();
        item.style = r.U8();
        items.push_back(item);
    }
    if (r.U8() != 0 || r.Failed() || r.Left() != 0 || filler != 0) return false;

    std::uint32_t computed = 0xFFFFFFFFu;
    if (!(flags & 1)) computed &= ~1u;
    for (std::size_t i = 0; i < items.size() && i < 31; ++i) {
        if (!(flags & (1u << (i + 1)))) computed &= ~(1u << (i + 1));
    }
    const bool markers = computed == flags;
    if (menuId != id) body += "id " + N(menuId) + "\n";
    if (width) body += "width " + N(width) + "\n";
    if (height) body += "height " + N(height) + "\n";
    if (proc) body += "proc " + N(proc) + "\n";
    if (!markers) body += "flags " + Hex(flags, 8) + "\n";
    body += "title " + Quote(title) + "\n";
    if (markers && !(flags & 1)) body += "disabled\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        body += "item " + Quote(item.text);
        if (item.key) body += " key " + CharText(item.key);
        if (item.mark) body += " mark " + CharText(item.mark);
        if (item.icon) body += " icon " + N(item.icon);
        if (item.style) body += " style " + N(item.style);
        if (markers && i < 31 && !(flags & (1u << (i + 1)))) body += " disabled";
        body += "\n";
    }
    return true;
}

// ---- 'WIND', 'DLOG', 'ALRT', 'CNTL' ----

struct WindowFields {
    std::array<std::int16_t, 4> bounds{};
    bool haveBounds = false;
    long long proc = 0, refcon = 0, items = 0, position = -1, stages = 0x5555;
    bool visible = true, goaway = false, pad = false;
    std::string title;
};

// Reads the fields the window templates share; `extra` names the ones this type adds.
WindowFields ReadWindowFields(Parser& p, std::int16_t id, const char* type, bool dialog, bool alert) {
    WindowFields f;
    f.items = id;
    while (!p.AtClose()) {
        if (p.AcceptWord("bounds")) {
            f.bounds = p.Rect("bounds");
            f.haveBounds = true;
        } else if (!alert && p.AcceptWord("proc")) {
            f.proc = p.Number(kMin16, kMax16, "proc");
        } else if (!alert && p.AcceptWord("visible")) {
            f.visible = p.Boolean("visible");
        } else if (!alert && p.AcceptWord("goaway")) {
            f.goaway = p.Boolean("goaway");
        } else if (!alert && p.AcceptWord("refcon")) {
            f.refcon = p.Number(kMin32, kMax32, "refcon");
        } else if (!alert && p.AcceptWord("title")) {
            f.title = p.String("title");
        } else if ((dialog || alert) && p.AcceptWord("items")) {
            f.items = p.Number(kMin16, kMax16, "items");
        } else if (alert && p.AcceptWord("stages")) {
            f.stages = p.Number(0, 0xFFFF, "stages");
        } else if (dialog && p.AcceptWord("pad")) {
            f.pad = true;
        } else if (p.AcceptWord("position")) {
            f.position = p.Number(0, 0xFFFF, "position");
        } else {
            Unknown(p, type);
        }
    }
    if (!f.haveBounds) p.Fail(std::string("'") + type + "' needs bounds");
    return f;
}

void CompileWindow(Parser& p, std::int16_t id, Bytes& out) {
    const WindowFields f = ReadWindowFields(p, id, "WIND", false, false);
    PutRect(out, f.bounds);
    Put16(out, f.proc);
    Put16(out, f.visible ? 0x0100 : 0);
    Put16(out, f.goaway ? 0x0100 : 0);
    Put32(out, f.refcon);
    PutPascal(out, f.title, p, "title");
    if (f.position >= 0) {
        if (out.size() % 2) Put8(out, 0); // the position word is word-aligned
        Put16(out, f.position);
    }
}

// visible and go-away flags are a byte of 0 or 1 followed by a zero byte.
bool ReadFlag(Reader& r, bool& flag) {
    const std::uint8_t v = r.U8();
    flag = v == 1;
    return v <= 1 && r.U8() == 0;
}

std::string WindowHead(const std::array<std::int16_t, 4>& bounds, std::int16_t proc, bool visible,
                       bool goaway, std::int32_t refcon) {
    return "bounds " + RectText(bounds) + "\nproc " + N(proc) + "\nvisible " + (visible ? "true" : "false") +
           "\ngoaway " + (goaway ? "true" : "false") + "\nrefcon " + N(refcon) + "\n";
}

bool DecompileWindow(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    const auto bounds = ReadRect(r);
    const std::int16_t proc = r.S16();
    bool visible = false, goaway = false;
    if (!ReadFlag(r, visible) || !ReadFlag(r, goaway)) return false;
    const std::int32_t refcon = r.S32();
    const std::string title = r.Pascal();
    if (r.Failed()) return false;
    body += WindowHead(bounds, proc, visible, goaway, refcon) + "title " + Quote(title) + "\n";
    if (r.Left() == 0) return true;
    if (r.Position() % 2 && r.U8() != 0) return false;
    const std::uint16_t position = r.U16();
    body += "position " + Hex(position, 4) + "\n";
    return !r.Failed() && r.Left() == 0;
}

void CompileDialog(Parser& p, std::int16_t id, Bytes& out) {
    const WindowFields f = ReadWindowFields(p, id, "DLOG", true, false);
    PutRect(out, f.bounds);
    Put16(out, f.proc);
    Put16(out, f.visible ? 0x0100 : 0);
    Put16(out, f.goaway ? 0x0100 : 0);
    Put32(out, f.refcon);
    Put16(out, f.items);
    PutPascal(out, f.title, p, "title");
    // The reader skips one byte after the title before the position word.
    if (f.pad || f.position >= 0) Put8(out, 0);
    if (f.position >= 0) Put16(out, f.position);
}

bool DecompileDialog(const Bytes& data, std::int16_t id, std::string& body) {
    Reader r{data};
    const auto bounds = ReadRect(r);
    const std::int16_t proc = r.S16();
    bool visible = false, goaway = false;
    if (!ReadFlag(r, visible) || !ReadFlag(r, goaway)) return false;
    const std::int32_t refcon = r.S32();
    const std::int16_t items = r.S16();
    const std::string title = r.Pascal();
    if (r.Failed()) return false;
    body += WindowHead(bounds, proc, visible, goaway, refcon);
    if (items != id) body += "items " + N(items) + "\n";
    body += "title " + Quote(title) + "\n";
    if (r.Left() == 0) return true;
    if (r.U8() != 0) return false;
    if (r.Left() == 0) {
        body += "pad\n";
        return true;
    }
    body += "position " + Hex(r.U16(), 4) + "\n";
    return !r.Failed() && r.Left() == 0;
}

void CompileAlert(Parser& p, std::int16_t id, Bytes& out) {
    const WindowFields f = ReadWindowFields(p, id, "ALRT", false, true);
    PutRect(out, f.bounds);
    Put16(out, f.items);
    Put16(out, f.stages);
    if (f.position >= 0) Put16(out, f.position);
}

bool DecompileAlert(const Bytes& data, std::int16_t id, std::string& body) {
    Reader r{data};
    const auto bounds = ReadRect(r);
    const std::int16_t items = r.S16();
    const std::uint16_t stages = r.U16();
    if (r.Failed()) return false;
    body += "bounds " + RectText(bounds) + "\n";
    if (items != id) body += "items " + N(items) + "\n";
    body += "stages " + Hex(stages, 4) + "\n";
    if (r.Left() == 0) return true;
    body += "position " + Hex(r.U16(), 4) + "\n";
    return !r.Failed() && r.Left() == 0;
}

void CompileControl(Parser& p, std::int16_t, Bytes& out) {
    std::array<std::int16_t, 4> bounds{};
    bool haveBounds = false, visible = true;
    long long value = 0, max = 0, min = 0, proc = 0, refcon = 0;
    std::string title;
    while (!p.AtClose()) {
        if (p.AcceptWord("bounds")) {
            bounds = p.Rect("bounds");
            haveBounds = true;
        } else if (p.AcceptWord("value")) {
            value = p.Number(kMin16, kMax16, "value");
        } else if (p.AcceptWord("visible")) {
            visible = p.Boolean("visible");
        } else if (p.AcceptWord("max")) {
            max = p.Number(kMin16, kMax16, "max");
        } else if (p.AcceptWord("min")) {
            min = p.Number(kMin16, kMax16, "min");
        } else if (p.AcceptWord("proc")) {
            proc = p.Number(kMin16, kMax16, "proc");
        } else if (p.AcceptWord("refcon")) {
            refcon = p.Number(kMin32, kMax32, "refcon");
        } else if (p.AcceptWord("title")) {
            title = p.String("title");
        } else {
            Unknown(p, "CNTL");
        }
    }
    if (!haveBounds) p.Fail("'CNTL' needs bounds");
    PutRect(out, bounds);
    Put16(out, value);
    Put16(out, visible ? 0x0100 : 0);
    Put16(out, max);
    Put16(out, min);
    Put16(out, proc);
    Put32(out, refcon);
    PutPascal(out, title, p, "title");
}

bool DecompileControl(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    const auto bounds = ReadRect(r);
    const std::int16_t value = r.S16();
    bool visible = false;
    if (!ReadFlag(r, visible)) return false;
    const std::int16_t max = r.S16(), min = r.S16(), proc = r.S16();
    const std::int32_t refcon = r.S32();
    const std::string title = r.Pascal();
    if (r.Failed() || r.Left() != 0) return false;
    body += "bounds " + RectText(bounds) + "\nvalue " + N(value) + "\nvisible " +
            (visible ? "true" : "false") + "\nmax " + N(max) + "\nmin " + N(min) + "\nproc " + N(proc) +
            "\nrefcon " + N(refcon) + "\ntitle " + Quote(title) + "\n";
    return true;
}

// ---- 'DITL' ----

struct ItemKind {
    const char* word;
    std::uint8_t type;
    enum Data { None, Text, Number } data;
};

constexpr ItemKind kItemKinds[] = {
    {"user", 0, ItemKind::None},  {"button", 4, ItemKind::Text},    {"checkbox", 5, ItemKind::Text},
    {"radio", 6, ItemKind::Text}, {"control", 7, ItemKind::Number}, {"static", 8, ItemKind::Text},
    {"edit", 16, ItemKind::Text}, {"icon", 32, ItemKind::Number},   {"picture", 64, ItemKind::Number},
};

const ItemKind* KindNamed(const std::string& word) {
    for (const ItemKind& k : kItemKinds) {
        if (word == k.word) return &k;
    }
    return nullptr;
}

const ItemKind* KindOfType(std::uint8_t type) {
    for (const ItemKind& k : kItemKinds) {
        if (type == k.type) return &k;
    }
    return nullptr;
}

void CompileItems(Parser& p, std::int16_t, Bytes& out) {
    Bytes items;
    long long count = 0;
    while (!p.AtClose()) {
        const Token start = p.Peek();
        const std::string word = p.Word("an item kind");
        const ItemKind* kind = KindNamed(word);
        if (!kind) {
            p.FailAt(start.line,
                     "unknown item kind '" + word +
                         "' (user, button, checkbox, radio, control, static, edit, icon, picture)");
        }
        std::array<std::int16_t, 4> rect{};
        bool haveRect = false, disabled = false, haveText = false, haveId = false;
        std::string text;
        long long id = 0;
        while (true) {
            if (p.AcceptWord("rect")) {
                rect = p.Rect("rect");
                haveRect = true;
            } else if (p.AcceptWord("text")) {
                if (kind->data != ItemKind::Text)
                    p.Fail(std::string("a ") + kind->word + " item has no text");
                text = p.String("text");
                haveText = true;
            } else if (p.AcceptWord("id")) {
                if (kind->data != ItemKind::Number)
                    p.Fail(std::string("a ") + kind->word + " item has no id");
                id = p.Number(kMin16, kMax16, "id");
                haveId = true;
            } else if (p.AcceptWord("disabled")) {
                disabled = true;
            } else {
                break;
            }
        }
        if (!haveRect) p.FailAt(start.line, std::string("the ") + kind->word + " item needs a rect");
        if (kind->data == ItemKind::Number && !haveId) {
            p.FailAt(start.line, std::string("the ") + kind->word + " item needs an id");
        }
        (void)haveText;
        Put32(items, 0);
        PutRect(items, rect);
        Put8(items, kind->type | (disabled ? 0x80 : 0));
        if (kind->data == ItemKind::Text) {
            PutPascal(items, text, p, "text");
            if (text.size() % 2) Put8(items, 0);
        } else if (kind->data == ItemKind::Number) {
            Put8(items, 2);
            Put16(items, id);
        } else {
            Put8(items, 0);
        }
        CountElement(p, count, start.line, "items");
    }
    Put16(out, count - 1);
    out.insert(out.end(), items.begin(), items.end());
}

bool DecompileItems(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    const int count = r.S16() + 1;
    if (count < 0) return false;
    for (int i = 0; i < count; ++i) {
        if (r.U32() != 0) return false;
        const auto rect = ReadRect(r);
        const std::uint8_t type = r.U8();
        const std::size_t length = r.U8();
        const ItemKind* kind = KindOfType(type & 0x7F);
        if (r.Failed() || !kind || length > r.Left()) return false;
        const std::span<const std::uint8_t> bytes = r.Bytes(length);
        const std::string content(bytes.begin(), bytes.end());
        if (length % 2 && r.U8() != 0) return false;
        body += std::string(kind->word) + " rect " + RectText(rect);
        if (kind->data == ItemKind::Text) {
            body += " text " + Quote(content);
        } else if (kind->data == ItemKind::Number) {
            if (length != 2) return false;
            body += " id " + N(qiva::LoadBigEndian<std::int16_t>(bytes.data()));
        } else if (length != 0) {
            return false;
        }
        if (type & 0x80) body += " disabled";
        body += "\n";
    }
    return !r.Failed() && r.Left() == 0;
}

// ---- 'CURS' ----

void ReadPicture(Parser& p, const char* what, Bytes& bits) {
    for (int row = 0; row < 16; ++row) {
        const Token t = p.Peek();
        const std::string line = p.String(what);
        if (line.size() != 16) p.FailAt(t.line, std::string(what) + " rows have 16 characters");
        std::uint16_t word = 0;
        for (char c : line) {
            word = static_cast<std::uint16_t>(word << 1);
            if (c == '#' || c == 'X' || c == 'x' || c == '1') {
                word |= 1;
            } else if (c != '.' && c != ' ' && c != '0' && c != '-') {
                p.FailAt(t.line, std::string(what) + " rows use '#' (or X, 1) for set and '.' for clear");
            }
        }
        Put16(bits, word);
    }
}

void CompileCursor(Parser& p, std::int16_t, Bytes& out) {
    Bytes data, mask;
    long long v = 0, h = 0;
    bool haveData = false, haveMask = false;
    while (!p.AtClose()) {
        if (p.AcceptWord("data")) {
            ReadPicture(p, "data", data);
            haveData = true;
        } else if (p.AcceptWord("mask")) {
            ReadPicture(p, "mask", mask);
            haveMask = true;
        } else if (p.AcceptWord("hotspot")) {
            v = p.Number(kMin16, kMax16, "hotspot");
            h = p.Number(kMin16, kMax16, "hotspot");
        } else {
            Unknown(p, "CURS");
        }
    }
    if (!haveData || !haveMask) p.Fail("'CURS' needs data and mask");
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), mask.begin(), mask.end());
    Put16(out, v);
    Put16(out, h);
}

bool DecompileCursor(const Bytes& data, std::int16_t, std::string& body) {
    if (data.size() != 68) return false;
    Reader r{data};
    for (const char* part : {"data", "mask"}) {
        body += std::string(part) + "\n";
        for (int row = 0; row < 16; ++row) {
            const std::uint16_t word = r.U16();
            std::string line;
            for (int bit = 15; bit >= 0; --bit)
                line += (word >> bit) & 1 ? '#' : '.';
            body += "    \"" + line + "\"\n";
        }
    }
    const std::int16_t v = r.S16();
    body += "hotspot " + N(v) + " " + N(r.S16()) + "\n";
    return true;
}

// ---- 'KCHR' ----

void CompileKeyboard(Parser& p, std::int16_t, Bytes& out) {
    long long version = 0;
    Bytes index, tables, dead;
    long long tableCount = 0, deadCount = 0;
    bool haveIndex = false;
    const auto numbers = [&](Bytes& into, int n, const char* what) {
        for (int i = 0; i < n; ++i) {
            if (p.Peek().kind != Token::Number) p.Fail(std::string(what) + " needs " + N(n) + " numbers");
            Put8(into, p.Number(0, 255, what));
        }
        if (p.Peek().kind == Token::Number) p.Fail(std::string(what) + " has more than " + N(n) + " numbers");
    };
    while (!p.AtClose()) {
        if (p.AcceptWord("version")) {
            version = p.Number(kMin16, kMax16, "version");
        } else if (p.AcceptWord("index")) {
            numbers(index, 256, "index");
            haveIndex = true;
        } else if (p.AtWord("table")) {
            CountElement(p, tableCount, p.Next().line, "tables");
            numbers(tables, 128, "table");
        } else if (p.AtWord("deadkey")) {
            CountElement(p, deadCount, p.Next().line, "dead keys");
            if (!p.AcceptWord("table")) p.Fail("deadkey needs 'table N key N'");
            const long long table = p.Number(0, 255, "table");
            if (!p.AcceptWord("key")) p.Fail("deadkey needs 'table N key N'");
            const long long key = p.Number(0, 255, "key");
            Bytes completions;
            long long completionCount = 0;
            while (p.AtWord("complete")) {
                CountElement(p, completionCount, p.Next().line, "completions of a dead key");
                Put8(completions, p.Number(0, 255, "complete"));
                Put8(completions, p.Number(0, 255, "complete"));
            }
            if (!p.AcceptWord("nomatch")) p.Fail("deadkey needs its 'nomatch' pair");
            Put8(dead, table);
            Put8(dead, key);
            Put16(dead, completionCount);
            dead.insert(dead.end(), completions.begin(), completions.end());
            Put8(dead, p.Number(0, 255, "nomatch"));
            Put8(dead, p.Number(0, 255, "nomatch"));
        } else {
            Unknown(p, "KCHR");
        }
    }
    if (!haveIndex) p.Fail("'KCHR' needs its index of 256 table numbers");
    Put16(out, version);
    out.insert(out.end(), index.begin(), index.end());
    Put16(out, tableCount);
    out.insert(out.end(), tables.begin(), tables.end());
    Put16(out, deadCount);
    out.insert(out.end(), dead.begin(), dead.end());
}

std::string ByteRows(Reader& r, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += (i % 16 == 0 ? "\n    " : " ") + Hex(r.U8(), 2);
    }
    return text + "\n";
}

bool DecompileKeyboard(const Bytes& data, std::int16_t, std::string& body) {
    Reader r{data};
    body += "version " + N(r.S16()) + "\nindex" + ByteRows(r, 256);
    const int tables = r.U16();
    if (r.Failed() || static_cast<std::size_t>(tables) * 128 > r.Left()) return false;
    for (int t = 0; t < tables; ++t)
        body += "table" + ByteRows(r, 128);
    const int dead = r.U16();
    for (int d = 0; d < dead && !r.Failed(); ++d) {
        const std::uint8_t table = r.U8(), key = r.U8();
        const int completions = r.U16();
        if (static_cast<std::size_t>(completions) * 2 + 2 > r.Left()) return false;
        body += "deadkey table " + N(table) + " key " + N(key);
        for (int c = 0; c < completions; ++c) {
            const std::uint8_t a = r.U8();
            body += "\n    complete " + Hex(a, 2) + " " + Hex(r.U8(), 2);
        }
        const std::uint8_t a = r.U8();
        body += "\n    nomatch " + Hex(a, 2) + " " + Hex(r.U8(), 2) + "\n";
    }
    return !r.Failed() && r.Left() == 0;
}

// ---- 'wicn', 'wcic' ----

void CompileWindowIcon(Parser& p, std::int16_t, Bytes& out) {
    bool have = false;
    while (!p.AtClose()) {
        if (!p.AcceptWord("icon")) Unknown(p, "wicn");
        Put16(out, p.Number(kMin16, kMax16, "icon"));
        if (have) p.Fail("one icon number only");
        have = true;
    }
    if (!have) p.Fail("a window icon needs 'icon N'");
}

bool DecompileWindowIcon(const Bytes& data, std::int16_t, std::string& body) {
    if (data.size() != 2) return false;
    body += "icon " + N(qiva::LoadBigEndian<std::int16_t>(data.data())) + "\n";
    return true;
}

const TypeCodec kCodecs[] = {
    {"STR#", CompileStrings, DecompileStrings},       {"TEXT", CompileText, DecompileText},
    {"MBAR", CompileMenuBar, DecompileMenuBar},       {"MENU", CompileMenu, DecompileMenu},
    {"WIND", CompileWindow, DecompileWindow},         {"DLOG", CompileDialog, DecompileDialog},
    {"ALRT", CompileAlert, DecompileAlert},           {"DITL", CompileItems, DecompileItems},
    {"CNTL", CompileControl, DecompileControl},       {"CURS", CompileCursor, DecompileCursor},
    {"KCHR", CompileKeyboard, DecompileKeyboard},     {"wicn", CompileWindowIcon, DecompileWindowIcon},
    {"wcic", CompileWindowIcon, DecompileWindowIcon},
};

} // namespace

const TypeCodec* FindCodec(ResType type) {
    for (const TypeCodec& codec : kCodecs) {
        if (MakeResType(*reinterpret_cast<const char(*)[5]>(codec.type)) == type) return &codec;
    }
    return nullptr;
}

} // namespace qiva_rsrc
