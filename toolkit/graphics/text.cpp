#include "toolkit/graphics/text.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <span>
#include <tuple>
#include <vector>

#include "platform/fonts.h"
#include "platform/mac_roman.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/font_cache_hook.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resources.h"
#include "toolkit/core/settings.h"
#include "toolkit/graphics/copy_bits.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/font_numbers.h"
#include "toolkit/graphics/font_strike.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/text_run.h"

namespace qiva {

namespace {

constexpr ResType kFontType = MakeResType("FONT");

int EffectiveSize(int size) {
    return size == 0 ? 12 : size;
}

// Larger sizes, and negative ones, draw nothing: one glyph of a 12-point strike scaled to 32767
// points would take gigabytes.
constexpr int kMaxTextSize = 1000;

// ---- Bitmap strikes: five kept, the current one and four others.

struct StrikeEntry {
    bool used = false;
    int font = 0;
    int size = 0;
    std::uint16_t id = 0;
    FontStrike strike;
    unsigned lastUse = 0;
};

struct TextState {
    std::array<StrikeEntry, 5> strikes;
    unsigned useClock = 0;
    std::vector<Handle> refused; // malformed strikes already reported
    int loads = 0;
    GlyphCache glyphs;
    TextBlock block; // reused between calls

    // TrueType faces.
    FontesLookup fontes;
    bool tableBuilt = false;
    std::vector<FaceEntry> table;
    std::map<std::tuple<std::string, int, int, bool, bool>, std::unique_ptr<platform::SizedFace>> opened;
    // The selection: remade only when size, font, face or foreground changed.
    bool selected = false;
    int selSize = 0;
    std::uint16_t selFont = 0;
    std::uint8_t selFace = 0;
    std::int32_t selFg = 0;
    platform::SizedFace* selection = nullptr;
};

TextState& State() {
    static TextState state;
    return state;
}

void InstallInvalidator() {
    static bool installed = false;
    if (!installed) {
        SetFontCacheInvalidator(&InvalidateTextCaches);
        installed = true;
    }
}

// The IDs of every 'FONT' resource of the open files, without loading them.
std::vector<std::int16_t> AvailableStrikeIds() {
    std::vector<std::int16_t> ids;
    SetResLoad(false);
    const int count = CountResources(kFontType);
    for (int i = 1; i <= count; ++i) {
        Handle h = GetIndResource(kFontType, static_cast<std::int16_t>(i));
        if (h == nullptr) continue;
        std::int16_t id = 0;
        ResType type = 0;
        char name[256];
        GetResInfo(h, &id, &type, name);
        ids.push_back(id);
    }
    SetResLoad(true);
    return ids;
}

Handle LoadFontResource(int font, int size, std::uint16_t* id) {
    const int direct = StrikeId(font, size);
    if (direct >= 0) {
        if (Handle h = GetResource(kFontType, static_cast<std::int16_t>(direct));
            h != nullptr && *h != nullptr) {
            *id = static_cast<std::uint16_t>(direct);
            return h;
        }
    }
    const auto ids = AvailableStrikeIds();
    const auto chosen = ChooseStrikeId(font, size, ids);
    if (!chosen) return nullptr;
    Handle h = GetResource(kFontType, static_cast<std::int16_t>(*chosen));
    if (h == nullptr || *h == nullptr) return nullptr;
    *id = *chosen;
    return h;
}

// The strike for the port's font and size, or null when none can be loaded.
const StrikeEntry* Strike(int font, int size) {
    InstallInvalidator();
    TextState& s = State();
    size = EffectiveSize(size);
    if (size < 1 || size > kMaxTextSize) return nullptr;
    for (StrikeEntry& e : s.strikes)
        if (e.used && e.font == font && e.size == size) {
            e.lastUse = ++s.useClock;
            return &e;
        }
    std::uint16_t id = 0;
    Handle h = LoadFontResource(font, size, &id);
    if (h == nullptr) return nullptr;
    FontStrike strike;
    const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(*h),
                                        static_cast<std::size_t>(GetHandleSize(h)));
    if (PrepareStrike(bytes, strike) != StrikeError::none) {
        // Said once, not at every draw, so that the log does not grow all through the run.
        if (std::find(s.refused.begin(), s.refused.end(), h) == s.refused.end()) {
            s.refused.push_back(h);
            AppendToMessageLog("FONT " + std::to_string(static_cast<std::int16_t>(id)) + " : fonte invalide");
        }
        return nullptr;
    }
    ++s.loads;
    StrikeEntry* slot = &s.strikes[0];
    for (StrikeEntry& e : s.strikes)
        if (!e.used || e.lastUse < slot->lastUse) {
            slot = &e;
            if (!e.used) break;
        }
    *slot = {true, font, size, id, strike, ++s.useClock};
    return slot;
}

StrikeScale ScaleOf(const StrikeEntry& e) {
    const int strikeSize = e.id % 128;
    return {strikeSize == 0 ? e.size : strikeSize, e.size};
}

// ---- TrueType faces.

platform::SizedFace* OpenFace(const std::string& family, bool exact, int size, bool wantBold,
                              bool wantItalic) {
    const auto file = platform::MatchFace(family, wantBold, wantItalic, exact);
    if (!file) return nullptr;
    const bool embolden = wantBold && !file->bold;
    const bool oblique = wantItalic && !file->italic;
    TextState& s = State();
    auto key = std::make_tuple(file->path, file->index, size, embolden, oblique);
    if (auto it = s.opened.find(key); it != s.opened.end()) return it->second.get();
    if (s.opened.size() >= 32) {
        s.opened.clear(); // the selection points into it
        s.selected = false;
        s.selection = nullptr;
    }
    auto face = platform::SizedFace::Open(file->path, file->index, size, embolden, oblique);
    if (!face) return nullptr;
    return (s.opened[key] = std::move(face)).get();
}

// Selects the port's face, only when size, font, face or foreground changed since the last time.
platform::SizedFace* SelectFace(const GrafPort& port, std::uint16_t number) {
    TextState& s = State();
    const int size = EffectiveSize(port.txSize);
    if (s.selected && s.selSize == size && s.selFont == static_cast<std::uint16_t>(port.txFont) &&
        s.selFace == port.txFace && s.selFg == port.fgIndex)
        return s.selection;
    const bool wantBold = (port.txFace & bold) != 0;
    const bool wantItalic = (port.txFace & italic) != 0;
    platform::SizedFace* face = nullptr;
    if (size > 0 && size <= kMaxTextSize) {
        const auto& table = FaceTable();
        const int index = FindFace(table, number);
        if (index >= 0) face = OpenFace(table[index].name, true, size, wantBold, wantItalic);
        // A face that is not installed: a default face of the number's family, so that no text is lost.
        if (face == nullptr)
            face = OpenFace(platform::GenericFamilyName(FamilyCodeOfNumber(number)), false, size, wantBold,
                            wantItalic);
    }
    s.selected = true;
    s.selSize = size;
    s.selFont = static_cast<std::uint16_t>(port.txFont);
    s.selFace = port.txFace;
    s.selFg = port.fgIndex;
    s.selection = face;
    return face;
}

FaceRunStyle RunStyleOf(const GrafPort& port) {
    FaceRunStyle style;
    style.underline = (port.txFace & underline) != 0;
    style.outline = (port.txFace & outline) != 0;
    style.shadow = (port.txFace & shadow) != 0;
    style.extra = static_cast<int>(std::clamp<std::int32_t>(port.spExtra, -1000, 1000));
    return style;
}

// The face the port draws with, or null for a bitmap font. A face that cannot be opened at all
// (no scalable font installed) leaves the text to the bitmap fonts.
platform::SizedFace* FaceOf(const GrafPort& port) {
    const std::uint16_t number = ClassicToFaceNumber(static_cast<std::uint16_t>(port.txFont));
    if (number == 0) return nullptr;
    return SelectFace(port, number);
}

// Puts a composed block at the pen, in the text mode; the pen is not moved.
void PutTextBlock(GrafPort& port, const TextBlock& block) {
    if (block.width <= 0 || block.height <= 0) return;
    const std::int16_t penMode = port.pnMode;
    port.pnMode = port.txMode;
    PutBlock(block.pixels.data(), block.width, block.height, kTransparentIndex, port.pnLoc.h + block.left,
             port.pnLoc.v + block.top);
    port.pnMode = penMode;
}

std::int16_t Clamp16(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

void DrawStrikeText(GrafPort& port, const StrikeEntry& e, const std::uint8_t* text, int count) {
    TextState& s = State();
    const StrikeScale scale = ScaleOf(e);
    const FontStrike& strike = e.strike;
    // A line break moves down a whole line: by the leading alone the lines would overprint.
    const int lineHeight = scale(strike.ascent + strike.descent + strike.leading);
    const std::uint8_t ink = static_cast<std::uint8_t>(port.fgIndex);
    const int startH = port.pnLoc.h;
    int i = 0;
    while (i < count) {
        if (text[i] == 13 || text[i] == 10) {
            if (text[i] == 13) port.pnLoc.h = static_cast<std::int16_t>(startH);
            port.pnLoc.v = Clamp16(port.pnLoc.v + lineHeight);
            ++i;
            continue;
        }
        int end = i;
        while (end < count && text[end] != 13 && text[end] != 10)
            ++end;
        int advance;
        if (port.pnVis >= 0) {
            advance = ComposeStrikeRun(strike, e.id, scale, s.glyphs, text + i, end - i, ink, s.block);
            PutTextBlock(port, s.block);
        } else {
            advance = StrikeTextWidth(strike, scale, text + i, end - i);
        }
        port.pnLoc.h = Clamp16(port.pnLoc.h + advance);
        i = end;
    }
}

void DrawFaceText(GrafPort& port, platform::SizedFace& face, const std::uint8_t* text, int count) {
    if (port.pnVis < 0) return; // hidden: nothing drawn, the pen stays
    TextState& s = State();
    const int advance = ComposeFaceRun(face, text, count, RunStyleOf(port),
                                       static_cast<std::uint8_t>(port.fgIndex), kIndexWhite, s.block);
    PutTextBlock(port, s.block);
    port.pnLoc.h = Clamp16(port.pnLoc.h + advance);
}

void Draw(const std::uint8_t* text, int count) {
    GrafPtr port = Drawing().current;
    if (port == nullptr || text == nullptr || count <= 0) return;
    RecordText(port->pnLoc, {text, static_cast<std::size_t>(count)});
    BeginDrawing();
    if (platform::SizedFace* face = FaceOf(*port)) {
        DrawFaceText(*port, *face, text, count);
    } else if (ClassicToFaceNumber(static_cast<std::uint16_t>(port->txFont)) == 0) {
        if (const StrikeEntry* e = Strike(port->txFont, port->txSize)) DrawStrikeText(*port, *e, text, count);
    } else if (const StrikeEntry* e = Strike(0, port->txSize)) {
        DrawStrikeText(*port, *e, text, count); // no scalable face at all: the system font
    }
    EndDrawing();
    RecordPenMove(port->pnLoc); // a line drawn next starts where the text ended
}

int Measure(const GrafPort& port, const std::uint8_t* text, int count) {
    if (platform::SizedFace* face = FaceOf(port)) return FaceTextWidth(*face, text, count, RunStyleOf(port));
    const int font = ClassicToFaceNumber(static_cast<std::uint16_t>(port.txFont)) == 0 ? port.txFont : 0;
    const StrikeEntry* e = Strike(font, port.txSize);
    return e == nullptr ? 0 : StrikeTextWidth(e->strike, ScaleOf(*e), text, count);
}

} // namespace

FontesLookup FontesFromIni(const std::string& path) {
    std::string text;
    if (path.empty() || !platform::ReadFile(path, text)) text.clear();
    return [text = std::move(text)](std::string_view name) {
        return platform::ProfileValueIn(text, "Fontes", name).value_or("0");
    };
}

void SetFontesLookup(FontesLookup lookup) {
    State().fontes = std::move(lookup);
    DisposeFaceTable();
}

void InvalidateTextCaches() {
    TextState& s = State();
    for (StrikeEntry& e : s.strikes)
        e.used = false;
    s.glyphs.Clear();
    s.refused.clear();
}

void DisposeFaceTable() {
    TextState& s = State();
    s.tableBuilt = false;
    s.table.clear();
    s.opened.clear();
    s.selected = false;
    s.selection = nullptr;
}

const std::vector<FaceEntry>& FaceTable() {
    TextState& s = State();
    if (!s.tableBuilt) {
        const auto faces = platform::ListInstalledFaces();
        s.table = BuildFaceTable(faces, s.fontes ? s.fontes : FontesFromIni(IniPath()));
        s.tableBuilt = true;
    }
    return s.table;
}

std::size_t ScaledGlyphCount() {
    return State().glyphs.Glyphs();
}
int StrikeLoadCount() {
    return State().loads;
}

} // namespace qiva

using namespace qiva;

void InitFonts() {
    InstallInvalidator();
    InvalidateTextCaches();
    DisposeFaceTable();
}

void TextFont(int font) {
    if (GrafPtr port = Drawing().current) {
        port->txFont = static_cast<std::int16_t>(font);
        RecordShort(pict::kTxFont, port->txFont);
    }
}

void TextFace(int face) {
    if (GrafPtr port = Drawing().current) {
        port->txFace = static_cast<std::uint8_t>(face);
        RecordFace(port->txFace);
    }
}

void TextMode(int mode) {
    if (GrafPtr port = Drawing().current) {
        port->txMode = static_cast<std::int16_t>(mode);
        RecordShort(pict::kTxMode, port->txMode);
    }
}

void TextSize(int size) {
    if (GrafPtr port = Drawing().current) {
        port->txSize = static_cast<std::int16_t>(size);
        RecordShort(pict::kTxSize, port->txSize);
    }
}

void SpaceExtra(std::int32_t extra) {
    if (GrafPtr port = Drawing().current) {
        port->spExtra = extra;
        RecordLong(pict::kSpExtra, extra);
    }
}

void StdText(int byteCount, const void* textBuf, Point, Point) {
    Draw(static_cast<const std::uint8_t*>(textBuf), byteCount);
}

std::int16_t StdTxMeas(int byteCount, const void* textAddr, Point*, Point*, FontInfo* info) {
    const GrafPtr port = Drawing().current;
    if (port == nullptr || textAddr == nullptr || byteCount <= 0) return 0;
    if (info != nullptr) GetFontInfo(info);
    return static_cast<std::int16_t>(
        std::clamp(Measure(*port, static_cast<const std::uint8_t*>(textAddr), byteCount), -32768, 32767));
}

namespace {

// Text drawn at 1:1, through the port's textProc.
void CallText(const std::uint8_t* text, int count) {
    if (Drawing().current == nullptr || text == nullptr || count <= 0) return;
    const Point unit{1, 1};
    PortProc(&QDProcs::textProc, StdText)(count, text, unit, unit);
}

} // namespace

void DrawChar(int ch) {
    const auto c = static_cast<std::uint8_t>(ch);
    CallText(&c, 1);
}

void DrawString(const unsigned char* str) {
    if (str != nullptr) CallText(str + 1, str[0]);
}

void DrawText(const void* textBuf, int firstByte, int byteCount) {
    if (textBuf == nullptr || byteCount <= 0) return;
    CallText(static_cast<const std::uint8_t*>(textBuf) + firstByte, byteCount);
}

std::int16_t TextWidth(const void* textBuf, int firstByte, int byteCount) {
    if (byteCount == 0) return 0;
    if (byteCount < 0) {
        ShowErrorBox("TextWidth: taille illégale !");
        return 0;
    }
    if (Drawing().current == nullptr || textBuf == nullptr) return 0;
    Point numer{1, 1}, denom{1, 1};
    return PortProc(&QDProcs::txMeasProc, StdTxMeas)(
        byteCount, static_cast<const std::uint8_t*>(textBuf) + firstByte, &numer, &denom, nullptr);
}

std::int16_t CharWidth(int ch) {
    const auto c = static_cast<std::uint8_t>(ch);
    GrafPtr port = Drawing().current;
    if (port == nullptr) return 0;
    if (platform::SizedFace* face = FaceOf(*port))
        return static_cast<std::int16_t>(face->Advance(platform::MacRomanToUnicode(c)));
    return TextWidth(&c, 0, 1);
}

std::int16_t StringWidth(const unsigned char* str) {
    return str == nullptr ? 0 : TextWidth(str + 1, 0, str[0]);
}

void GetFontInfo(FontInfo* info) {
    GrafPtr port = Drawing().current;
    if (port == nullptr || info == nullptr) return;
    if (platform::SizedFace* face = FaceOf(*port)) {
        const platform::FaceMetrics& m = face->Metrics();
        const FaceRunStyle style = RunStyleOf(*port);
        info->ascent = static_cast<std::int16_t>(m.ascent + FaceStyleAscent(style));
        info->descent = static_cast<std::int16_t>(m.descent + FaceStyleDescent(style));
        info->widMax = static_cast<std::int16_t>(m.maxAdvance + FaceStyleMargin(RunStyleOf(*port)));
        info->leading = static_cast<std::int16_t>(m.lineGap);
        return;
    }
    const int font = ClassicToFaceNumber(static_cast<std::uint16_t>(port->txFont)) == 0 ? port->txFont : 0;
    const StrikeEntry* e = Strike(font, port->txSize);
    if (e == nullptr) {
        ShowErrorBox("GetFontInfo: erreur de fonte.");
        return;
    }
    const StrikeScale scale = ScaleOf(*e);
    info->ascent = static_cast<std::int16_t>(scale(e->strike.ascent));
    info->descent = static_cast<std::int16_t>(scale(e->strike.descent));
    info->widMax = static_cast<std::int16_t>(scale(e->strike.widMax));
    info->leading = static_cast<std::int16_t>(scale(e->strike.leading));
}
