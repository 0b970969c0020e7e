#include "script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/file_io.h"
#include "platform/mac_roman.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/qiva-pict/pict_files.h"

namespace qiva_draw {

namespace {

// One parsed argument; which member holds it depends on the kind.
struct Value {
    int number = 0;
    Pattern pattern{};
    std::string name;
};
using Args = std::vector<Value>;

// Argument kinds: i integer (16-bit), u RGB component (0-65535), p pattern, m transfer mode,
// c colour constant, n a port's name, N a new port's name, r a region's name, R a new region's name,
// q a polygon's name, Q a new polygon's name, k a picture's name, K a new picture's name, w a word
// (a file name).
struct Command {
    const char* name;
    const char* kinds;
    const char* help;
    void (*run)(Session& session, const Args& a);
};

Rect RectOf(const Args& a, std::size_t first) {
    Rect r;
    SetRect(&r, a[first].number, a[first + 1].number, a[first + 2].number, a[first + 3].number);
    return r;
}

RGBColor RGBOf(const Args& a) {
    return {static_cast<std::uint16_t>(a[0].number), static_cast<std::uint16_t>(a[1].number),
            static_cast<std::uint16_t>(a[2].number)};
}

GrafPtr PortNamed(Session& s, const std::string& name) {
    auto it = s.ports.find(name);
    return it == s.ports.end() ? nullptr : it->second.get();
}

RgnHandle RegionNamed(Session& s, const std::string& name) {
    auto it = s.regions.find(name);
    return it == s.regions.end() ? nullptr : it->second;
}

PicHandle PictureNamed(Session& s, const std::string& name) {
    auto it = s.pictures.find(name);
    return it == s.pictures.end() ? nullptr : it->second;
}

PolyHandle PolygonNamed(Session& s, const std::string& name) {
    auto it = s.polygons.find(name);
    return it == s.polygons.end() ? nullptr : it->second;
}

// The filled arcs and polygons of the region recorder.
template <void (*Call)(PolyHandle)>
void OnPolygon(Session& s, const std::vector<Value>& a) {
    Call(PolygonNamed(s, a[0].name));
}

using A = const Args&;

// Runs one of the shape calls that take a rectangle, the oval's or arc's two numbers, and maybe a
// pattern.
template <void (*Call)(const Rect*)>
void OnRect(Session&, A a) {
    const Rect r = RectOf(a, 0);
    Call(&r);
}
template <void (*Call)(const Rect*, const Pattern*)>
void OnRectPattern(Session&, A a) {
    const Rect r = RectOf(a, 0);
    Call(&r, &a[4].pattern);
}
template <void (*Call)(const Rect*, int, int)>
void OnRectTwo(Session&, A a) {
    const Rect r = RectOf(a, 0);
    Call(&r, a[4].number, a[5].number);
}
template <void (*Call)(RgnHandle)>
void OnRegion(Session& s, A a) {
    Call(RegionNamed(s, a[0].name));
}
template <void (*Call)(RgnHandle, RgnHandle, RgnHandle)>
void OnThreeRegions(Session& s, A a) {
    Call(RegionNamed(s, a[0].name), RegionNamed(s, a[1].name), RegionNamed(s, a[2].name));
}

// The command table: name, argument kinds, synopsis, and the call. A call that fails leaves its
// message in the session's error.
const Command kCommands[] = {
    {"SetPort", "n", "NAME", [](Session& s, A a) { SetPort(PortNamed(s, a[0].name)); }},
    {"NewBuffer", "Nii", "NAME WIDTH HEIGHT (erased; becomes the current port)",
     [](Session& s, A a) { s.NewCanvas(a[0].name, a[1].number, a[2].number, s.error); }},
    {"SetOrigin", "ii", "H V", [](Session&, A a) { SetOrigin(a[0].number, a[1].number); }},
    {"ClipRect", "iiii", "LEFT TOP RIGHT BOTTOM",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         ClipRect(&r);
     }},
    {"ColrBit", "i", "N (sets the port's colrBit field)",
     [](Session&, A a) {
         GrafPtr port;
         GetPort(&port);
         port->colrBit = static_cast<std::int16_t>(a[0].number);
     }},
    {"PenSize", "ii", "WIDTH HEIGHT", [](Session&, A a) { PenSize(a[0].number, a[1].number); }},
    {"PenMode", "m", "MODE", [](Session&, A a) { PenMode(a[0].number); }},
    {"PenPat", "p", "PATTERN", [](Session&, A a) { PenPat(&a[0].pattern); }},
    {"BackPat", "p", "PATTERN", [](Session&, A a) { BackPat(&a[0].pattern); }},
    {"PenNormal", "", "", [](Session&, A) { PenNormal(); }},
    {"HidePen", "", "", [](Session&, A) { HidePen(); }},
    {"ShowPen", "", "", [](Session&, A) { ShowPen(); }},
    {"ForeColor", "c", "COLOUR", [](Session&, A a) { ForeColor(a[0].number); }},
    {"BackColor", "c", "COLOUR", [](Session&, A a) { BackColor(a[0].number); }},
    {"RGBForeColor", "uuu", "RED GREEN BLUE",
     [](Session&, A a) {
         const RGBColor c = RGBOf(a);
         RGBForeColor(&c);
     }},
    {"RGBBackColor", "uuu", "RED GREEN BLUE",
     [](Session&, A a) {
         const RGBColor c = RGBOf(a);
         RGBBackColor(&c);
     }},
    {"MoveTo", "ii", "H V", [](Session&, A a) { MoveTo(a[0].number, a[1].number); }},
    {"Move", "ii", "DH DV", [](Session&, A a) { Move(a[0].number, a[1].number); }},
    {"LineTo", "ii", "H V", [](Session&, A a) { LineTo(a[0].number, a[1].number); }},
    {"Line", "ii", "DH DV", [](Session&, A a) { Line(a[0].number, a[1].number); }},
    {"FrameRect", "iiii", "LEFT TOP RIGHT BOTTOM",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         FrameRect(&r);
     }},
    {"PaintRect", "iiii", "LEFT TOP RIGHT BOTTOM",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         PaintRect(&r);
     }},
    {"EraseRect", "iiii", "LEFT TOP RIGHT BOTTOM",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         EraseRect(&r);
     }},
    {"InvertRect", "iiii", "LEFT TOP RIGHT BOTTOM",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         InvertRect(&r);
     }},
    {"FillRect", "iiiip", "LEFT TOP RIGHT BOTTOM PATTERN",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         FillRect(&r, &a[4].pattern);
     }},
    {"CopyBits", "niiiiiiii",
     "SOURCE srcLEFT TOP RIGHT BOTTOM dstLEFT TOP RIGHT BOTTOM (into the current port)",
     [](Session& s, A a) {
         GrafPtr dst;
         GetPort(&dst);
         const Rect sr = RectOf(a, 1), dr = RectOf(a, 5);
         CopyBits(&PortNamed(s, a[0].name)->portBits, &dst->portBits, &sr, &dr, srcCopy, nullptr);
     }},
    {"TextFont", "f", "FONT (a number, decimal or 0x hexadecimal)",
     [](Session&, A a) { TextFont(a[0].number); }},
    {"TextSize", "i", "SIZE", [](Session&, A a) { TextSize(a[0].number); }},
    {"TextFace", "i", "STYLE (1 bold, 2 italic, 4 underline, 8 outline, 16 shadow, added)",
     [](Session&, A a) { TextFace(a[0].number); }},
    {"TextMode", "m", "MODE", [](Session&, A a) { TextMode(a[0].number); }},
    {"SpaceExtra", "i", "PIXELS", [](Session&, A a) { SpaceExtra(a[0].number); }},
    {"DrawString", "s", "TEXT (the rest of the line, UTF-8)",
     [](Session&, A a) { DrawText(a[0].name.data(), 0, static_cast<int>(a[0].name.size())); }},
    {"DrawChar", "s", "CHARACTER (one, UTF-8)",
     [](Session&, A a) { DrawChar(static_cast<unsigned char>(a[0].name[0])); }},
    {"TextWidth", "s", "TEXT (the rest of the line; prints its width)",
     [](Session&, A a) {
         std::printf("%d\n", TextWidth(a[0].name.data(), 0, static_cast<int>(a[0].name.size())));
         std::fflush(stdout);
     }},
    {"CopyMask", "nniiiiiiiiiiii", "SOURCE MASK srcLEFT TOP RIGHT BOTTOM maskLEFT ... dstLEFT ...",
     [](Session& s, A a) {
         GrafPtr dst;
         GetPort(&dst);
         const Rect sr = RectOf(a, 2), mr = RectOf(a, 6), dr = RectOf(a, 10);
         CopyMask(&PortNamed(s, a[0].name)->portBits, &PortNamed(s, a[1].name)->portBits, &dst->portBits, &sr,
                  &mr, &dr);
     }},
    {"FrameRoundRect", "iiiiii", "LEFT TOP RIGHT BOTTOM OVALWIDTH OVALHEIGHT", OnRectTwo<FrameRoundRect>},
    {"PaintRoundRect", "iiiiii", "LEFT TOP RIGHT BOTTOM OVALWIDTH OVALHEIGHT", OnRectTwo<PaintRoundRect>},
    {"EraseRoundRect", "iiiiii", "LEFT TOP RIGHT BOTTOM OVALWIDTH OVALHEIGHT", OnRectTwo<EraseRoundRect>},
    {"InvertRoundRect", "iiiiii", "LEFT TOP RIGHT BOTTOM OVALWIDTH OVALHEIGHT", OnRectTwo<InvertRoundRect>},
    {"FillRoundRect", "iiiiiip", "LEFT TOP RIGHT BOTTOM OVALWIDTH OVALHEIGHT PATTERN",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         FillRoundRect(&r, a[4].number, a[5].number, &a[6].pattern);
     }},
    {"FrameOval", "iiii", "LEFT TOP RIGHT BOTTOM", OnRect<FrameOval>},
    {"PaintOval", "iiii", "LEFT TOP RIGHT BOTTOM", OnRect<PaintOval>},
    {"EraseOval", "iiii", "LEFT TOP RIGHT BOTTOM", OnRect<EraseOval>},
    {"InvertOval", "iiii", "LEFT TOP RIGHT BOTTOM", OnRect<InvertOval>},
    {"FillOval", "iiiip", "LEFT TOP RIGHT BOTTOM PATTERN", OnRectPattern<FillOval>},
    {"FrameArc", "iiiiii",
     "LEFT TOP RIGHT BOTTOM STARTANGLE ARCANGLE (degrees clockwise from twelve o'clock)",
     OnRectTwo<FrameArc>},
    {"OpenPoly", "Q", "NAME (the end points of the lines that follow, until ClosePoly)",
     [](Session& s, A a) {
         if (PolyHandle poly = OpenPoly())
             s.polygons[a[0].name] = poly;
         else
             s.error = "no memory for the polygon";
     }},
    {"ClosePoly", "", "", [](Session&, A) { ClosePoly(); }},
    {"PaintPoly", "q", "NAME", OnPolygon<PaintPoly>},
    {"ErasePoly", "q", "NAME", OnPolygon<ErasePoly>},
    {"InvertPoly", "q", "NAME", OnPolygon<InvertPoly>},
    {"FillPoly", "qp", "NAME PATTERN",
     [](Session& s, A a) { FillPoly(PolygonNamed(s, a[0].name), &a[1].pattern); }},
    {"PaintArc", "iiiiii", "LEFT TOP RIGHT BOTTOM START ANGLE", OnRectTwo<PaintArc>},
    {"EraseArc", "iiiiii", "LEFT TOP RIGHT BOTTOM START ANGLE", OnRectTwo<EraseArc>},
    {"InvertArc", "iiiiii", "LEFT TOP RIGHT BOTTOM START ANGLE", OnRectTwo<InvertArc>},
    {"FillArc", "iiiiiip", "LEFT TOP RIGHT BOTTOM START ANGLE PATTERN",
     [](Session&, A a) {
         const Rect r = RectOf(a, 0);
         FillArc(&r, a[4].number, a[5].number, &a[6].pattern);
     }},
    {"OpenRgn", "", "(the outlines drawn until CloseRgn make a region)", [](Session&, A) { OpenRgn(); }},
    {"CloseRgn", "R", "NAME (a new region)",
     [](Session& s, A a) {
         RgnHandle rgn = NewRgn();
         CloseRgn(rgn);
         s.regions[a[0].name] = rgn;
     }},
    {"OpenPicture", "Kiiii", "NAME LEFT TOP RIGHT BOTTOM (records the calls that follow)",
     [](Session& s, A a) {
         const Rect r = RectOf(a, 1);
         if (PicHandle pic = OpenPicture(&r))
             s.pictures[a[0].name] = pic;
         else
             s.error = "no memory for the picture";
     }},
    {"ClosePicture", "", "", [](Session&, A) { ClosePicture(); }},
    {"PicComment", "i", "KIND",
     [](Session&, A a) { PicComment(static_cast<std::int16_t>(a[0].number), 0, nullptr); }},
    {"DrawPicture", "kiiii", "NAME LEFT TOP RIGHT BOTTOM",
     [](Session& s, A a) {
         const Rect r = RectOf(a, 1);
         DrawPicture(PictureNamed(s, a[0].name), &r);
     }},
    {"KillPicture", "k", "NAME",
     [](Session& s, A a) {
         KillPicture(PictureNamed(s, a[0].name));
         s.pictures.erase(a[0].name);
     }},
    {"LoadPicture", "Kw", "NAME FILE (a picture, bare or behind a 512-byte header)",
     [](Session& s, A a) {
         qiva_pict::Bytes file;
         if (!platform::ReadInputFile(a[1].name, platform::InputKind::Picture, file, s.error)) return;
         const qiva_pict::Bytes pic = qiva_pict::PictureOfFile(file);
         Handle h = nullptr;
         if (PtrToHand(pic.data(), &h, static_cast<Size>(pic.size())) != noErr) {
             s.error = "no memory for the picture";
             return;
         }
         s.pictures[a[0].name] = reinterpret_cast<PicHandle>(h);
     }},
    {"SavePicture", "kw", "NAME FILE (the picture's bytes as they are)",
     [](Session& s, A a) {
         const Handle h = reinterpret_cast<Handle>(PictureNamed(s, a[0].name));
         s.error = platform::WriteOutputFile(a[1].name, {*h, static_cast<std::size_t>(GetHandleSize(h))});
     }},
    {"FramePoly", "q", "NAME", [](Session& s, A a) { FramePoly(PolygonNamed(s, a[0].name)); }},
    {"OffsetPoly", "qii", "NAME DH DV",
     [](Session& s, A a) { OffsetPoly(PolygonNamed(s, a[0].name), a[1].number, a[2].number); }},
    {"KillPoly", "q", "NAME",
     [](Session& s, A a) {
         KillPoly(PolygonNamed(s, a[0].name));
         s.polygons.erase(a[0].name);
     }},
    {"NewRgn", "R", "NAME (empty)",
     [](Session& s, A a) {
         if (RgnHandle rgn = NewRgn())
             s.regions[a[0].name] = rgn;
         else
             s.error = "no memory for the region";
     }},
    {"DisposeRgn", "r", "NAME",
     [](Session& s, A a) {
         DisposeRgn(RegionNamed(s, a[0].name));
         s.regions.erase(a[0].name);
     }},
    {"CopyRgn", "rr", "SOURCE DESTINATION",
     [](Session& s, A a) { CopyRgn(RegionNamed(s, a[0].name), RegionNamed(s, a[1].name)); }},
    {"SetEmptyRgn", "r", "NAME", OnRegion<SetEmptyRgn>},
    {"SetRectRgn", "riiii", "NAME LEFT TOP RIGHT BOTTOM",
     [](Session& s, A a) {
         SetRectRgn(RegionNamed(s, a[0].name), a[1].number, a[2].number, a[3].number, a[4].number);
     }},
    {"RectRgn", "riiii", "NAME LEFT TOP RIGHT BOTTOM",
     [](Session& s, A a) {
         const Rect r = RectOf(a, 1);
         RectRgn(RegionNamed(s, a[0].name), &r);
     }},
    {"OffsetRgn", "rii", "NAME DH DV",
     [](Session& s, A a) { OffsetRgn(RegionNamed(s, a[0].name), a[1].number, a[2].number); }},
    {"SectRgn", "rrr", "A B DESTINATION", OnThreeRegions<SectRgn>},
    {"UnionRgn", "rrr", "A B DESTINATION", OnThreeRegions<UnionRgn>},
    {"DiffRgn", "rrr", "A B DESTINATION", OnThreeRegions<DiffRgn>},
    {"XorRgn", "rrr", "A B DESTINATION", OnThreeRegions<XorRgn>},
    {"FrameRgn", "r", "NAME", OnRegion<FrameRgn>},
    {"PaintRgn", "r", "NAME", OnRegion<PaintRgn>},
    {"EraseRgn", "r", "NAME", OnRegion<EraseRgn>},
    {"InvertRgn", "r", "NAME", OnRegion<InvertRgn>},
    {"FillRgn", "rp", "NAME PATTERN",
     [](Session& s, A a) { FillRgn(RegionNamed(s, a[0].name), &a[1].pattern); }},
    {"SetClip", "r", "NAME", OnRegion<SetClip>},
    {"GetClip", "r", "NAME", OnRegion<GetClip>},
};

struct Named {
    const char* name;
    int value;
};

const Named kModes[] = {{"srcCopy", srcCopy},       {"srcOr", srcOr},           {"srcXor", srcXor},
                        {"srcBic", srcBic},         {"notSrcCopy", notSrcCopy}, {"notSrcOr", notSrcOr},
                        {"notSrcXor", notSrcXor},   {"notSrcBic", notSrcBic},   {"patCopy", patCopy},
                        {"patOr", patOr},           {"patXor", patXor},         {"patBic", patBic},
                        {"notPatCopy", notPatCopy}, {"notPatOr", notPatOr},     {"notPatXor", notPatXor},
                        {"notPatBic", notPatBic},   {"hilite", patXor | hilite}};

const Named kColours[] = {{"whiteColor", whiteColor},   {"blackColor", blackColor},
                          {"yellowColor", yellowColor}, {"magentaColor", magentaColor},
                          {"redColor", redColor},       {"cyanColor", cyanColor},
                          {"greenColor", greenColor},   {"blueColor", blueColor}};

bool ParseInt(const std::string& token, long lo, long hi, int& out) {
    long value = 0;
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || value < lo || value > hi) return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseNamed(const std::string& token, const Named* table, std::size_t count, long lo, long hi, int& out) {
    for (std::size_t i = 0; i < count; ++i)
        if (token == table[i].name) {
            out = table[i].value;
            return true;
        }
    return ParseInt(token, lo, hi, out);
}

// A standard pattern by name, or sixteen hexadecimal digits (the eight rows, top first).
bool ParsePattern(const std::string& token, Pattern& out) {
    const struct {
        const char* name;
        const Pattern* pattern;
    } standard[] = {{"white", &qd.white},
                    {"black", &qd.black},
                    {"gray", &qd.gray},
                    {"ltGray", &qd.ltGray},
                    {"dkGray", &qd.dkGray}};
    for (const auto& s : standard)
        if (token == s.name) {
            out = *s.pattern;
            return true;
        }
    if (token.size() != 16) return false;
    for (int i = 0; i < 8; ++i) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(token.data() + 2 * i, token.data() + 2 * i + 2, value, 16);
        if (ec != std::errc() || end != token.data() + 2 * i + 2) return false;
        out.pat[i] = static_cast<std::uint8_t>(value);
    }
    return true;
}

bool ParseArg(Session& s, char kind, const std::string& token, Value& v, std::string& error) {
    bool ok = false;
    switch (kind) {
    case 'i':
        ok = ParseInt(token, -32768, 32767, v.number);
        break;
    case 'u':
        ok = ParseInt(token, 0, 65535, v.number);
        break;
    case 'p':
        ok = ParsePattern(token, v.pattern);
        break;
    case 'm':
        ok = ParseNamed(token, kModes, std::size(kModes), 0, 255, v.number);
        break;
    case 'c':
        ok = ParseNamed(token, kColours, std::size(kColours), -2147483647L, 2147483647L, v.number);
        break;
    case 'f':
        if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
            unsigned value = 0;
            const auto [end, ec] = std::from_chars(token.data() + 2, token.data() + token.size(), value, 16);
            ok = ec == std::errc() && end == token.data() + token.size() && value <= 0xFFFF;
            v.number = static_cast<std::int16_t>(value);
        } else {
            ok = ParseInt(token, -32768, 65535, v.number);
            v.number = static_cast<std::int16_t>(v.number);
        }
        break;
    case 'n':
        ok = PortNamed(s, token) != nullptr;
        if (!ok) {
            error = "no buffer named '" + token + "'";
            return false;
        }
        break;
    case 'N':
        ok = !token.empty() && PortNamed(s, token) == nullptr;
        if (!ok) {
            error = "a buffer named '" + token + "' exists already";
            return false;
        }
        break;
    case 'r':
    case 'q':
        ok = kind == 'r' ? RegionNamed(s, token) != nullptr : PolygonNamed(s, token) != nullptr;
        if (!ok) {
            error = std::string("no ") + (kind == 'r' ? "region" : "polygon") + " named '" + token + "'";
            return false;
        }
        break;
    case 'k':
        ok = PictureNamed(s, token) != nullptr;
        if (!ok) {
            error = "no picture named '" + token + "'";
            return false;
        }
        break;
    case 'K':
        ok = PictureNamed(s, token) == nullptr;
        if (!ok) {
            error = "a picture named '" + token + "' exists already";
            return false;
        }
        break;
    case 'w':
        ok = !token.empty();
        break;
    case 'R':
    case 'Q':
        ok = kind == 'R' ? RegionNamed(s, token) == nullptr : PolygonNamed(s, token) == nullptr;
        if (!ok) {
            error = std::string("a ") + (kind == 'R' ? "region" : "polygon") + " named '" + token +
                    "' exists already";
            return false;
        }
        break;
    }
    v.name = token;
    if (!ok) error = "bad argument '" + token + "'";
    return ok;
}

} // namespace

GrafPtr Session::NewCanvas(const std::string& name, int width, int height, std::string& failure) {
    if (width < 1 || height < 1 || width > 4096 || height > 4096) {
        failure = "buffer size out of range (1 to 4096)";
        return nullptr;
    }
    auto port = std::make_unique<GrafPort>();
    if (!NewBufferPort(port.get(), width, height)) {
        failure = "cannot make a buffer of " + std::to_string(width) + " x " + std::to_string(height);
        return nullptr;
    }
    // A new canvas starts erased to its background, as a freshly opened window would be.
    EraseRect(&port->portRect);
    GrafPtr result = port.get();
    ports[name] = std::move(port);
    return result;
}

Session::~Session() {
    ClosePoly(); // a script may end with a polygon or a picture still open
    for (auto& [name, port] : ports)
        if (port->picSave != nullptr) {
            SetPort(port.get());
            ClosePicture();
        }
    for (auto& [name, pic] : pictures)
        KillPicture(pic);
    for (auto& [name, poly] : polygons)
        KillPoly(poly);
    for (auto& [name, rgn] : regions)
        DisposeRgn(rgn);
    for (auto& [name, port] : ports)
        DisposeBufferPort(port.get());
}

std::string DescribeRegions(const Session& session) {
    std::ostringstream out;
    for (const auto& [name, rgn] : session.regions) {
        const auto words = qiva::RegionWords(rgn);
        if (words.size() < qiva::region::kHeaderWords) {
            out << name << " unreadable\n";
            continue;
        }
        out << name << " size " << words[0] << " box " << words[2] << " " << words[1] << " " << words[4]
            << " " << words[3] << "\n";
        if (qiva::region::IsRectangular(words)) continue;
        for (std::size_t pos = qiva::region::kHeaderWords;
             pos < words.size() && words[pos] != qiva::region::kEnd;) {
            out << "  " << words[pos++] << ":";
            for (; pos < words.size() && words[pos] != qiva::region::kEnd; ++pos)
                out << " " << words[pos];
            out << "\n";
            ++pos;
        }
    }
    return out.str();
}

bool RunScript(Session& session, const std::string& text, std::string& error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string raw = line;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string w; words >> w;)
            tokens.push_back(w);
        if (tokens.empty()) continue;
        const auto fail = [&](const std::string& message) {
            error = std::to_string(number) + ": " + message;
            return false;
        };
        const Command* command = nullptr;
        for (const Command& c : kCommands)
            if (tokens[0] == c.name) command = &c;
        if (command == nullptr) return fail("unknown call '" + tokens[0] + "'");
        const std::string kinds = command->kinds;
        if (kinds == "s") {
            // Text calls take the rest of the line as it stands ('#' included), in UTF-8.
            const std::size_t start = raw.find(tokens[0]) + tokens[0].size();
            Args args(1);
            const std::string utf8 = start < raw.size() ? raw.substr(start + 1) : "";
            args[0].name = platform::Utf8ToMacRoman(utf8, '\0');
            if (args[0].name.find('\0') != std::string::npos && utf8.find('\0') == std::string::npos)
                return fail(tokens[0] + ": a character has no place in the Macintosh character set");
            if (tokens[0] == "DrawChar" && args[0].name.size() != 1)
                return fail("DrawChar takes one character");
            session.error.clear();
            command->run(session, args);
            if (!session.error.empty()) return fail(tokens[0] + ": " + session.error);
            continue;
        }
        if (tokens.size() - 1 != kinds.size())
            return fail(tokens[0] + " takes " + std::to_string(kinds.size()) +
                        " arguments: " + command->help);
        Args args(kinds.size());
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            std::string message;
            if (!ParseArg(session, kinds[i], tokens[i + 1], args[i], message))
                return fail(tokens[0] + ": " + message);
        }
        session.error.clear();
        command->run(session, args);
        if (!session.error.empty()) return fail(tokens[0] + ": " + session.error);
    }
    return true;
}

std::vector<std::string> CommandSynopses() {
    std::vector<std::string> out;
    for (const Command& c : kCommands)
        out.push_back(std::string(c.name) + (c.help[0] ? " " : "") + c.help);
    return out;
}

} // namespace qiva_draw
