#include "tools/qiva-rsrc/contact_sheet.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/file_io.h"
#include "platform/png.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/palette.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/qiva-rsrc/cicn.h"

namespace qiva_rsrc {
namespace {

using qiva_pict::RgbaImage;

constexpr int kMargin = 12, kGap = 16, kLabel = 14, kMaxWidth = 1024;
constexpr std::array<std::uint8_t, 3> kBackground{0x8C, 0x8C, 0x8C}, kInk{0x10, 0x10, 0x10};

// A 5 × 7 font of the characters a label uses.
const char* Glyph(char c) {
    switch (c) {
    case 'P':
        return "11110100011000111110100001000010000";
    case 'I':
        return "11111001000010000100001000010011111";
    case 'C':
        return "01110100011000010000100001000101110";
    case 'T':
        return "11111001000010000100001000010000100";
    case 'c':
        return "00000000000111010000100001000101110";
    case 'i':
        return "00100000000110000100001000010001110";
    case 'n':
        return "00000000001011011001100011000110001";
    case '\'':
        return "00100001000100000000000000000000000";
    case '-':
        return "00000000000000011111000000000000000";
    case '0':
        return "01110100011001110101110011000101110";
    case '1':
        return "00100011000010000100001000010001110";
    case '2':
        return "01110100010000100010001000100011111";
    case '3':
        return "11111000100010000010000011000101110";
    case '4':
        return "00010001100101010010111110001000010";
    case '5':
        return "11111100001111000001000011000101110";
    case '6':
        return "00110010001000011110100011000101110";
    case '7':
        return "11111000010001000100010000100001000";
    case '8':
        return "01110100011000101110100011000101110";
    case '9':
        return "01110100011000101111000010001001100";
    default:
        return nullptr;
    }
}

struct Sheet {
    int width, height;
    std::vector<std::uint8_t> rgb;
    void Put(int x, int y, const std::uint8_t* c) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::memcpy(&rgb[(std::size_t(y) * width + x) * 3], c, 3);
    }
    void Text(int x, int y, const std::string& s) {
        for (char ch : s) {
            if (const char* g = Glyph(ch))
                for (int r = 0; r < 7; ++r)
                    for (int col = 0; col < 5; ++col)
                        if (g[r * 5 + col] == '1') Put(x + col, y + r, kInk.data());
            x += 6;
        }
    }
    // The image at `scale`, its clear pixels left as the background.
    void Draw(int x, int y, const RgbaImage& image, int scale) {
        for (int v = 0; v < image.height * scale; ++v)
            for (int h = 0; h < image.width * scale; ++h) {
                const std::uint8_t* p = &image.rgba[(std::size_t(v / scale) * image.width + h / scale) * 4];
                if (p[3] >= 128) Put(x + h, y + v, p);
            }
    }
};

struct Entry {
    std::string label;
    RgbaImage image;
};

RgbaImage Failed() {
    RgbaImage image{16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 0)};
    for (std::size_t i = 0; i < image.rgba.size(); i += 4)
        image.rgba[i] = 0xE0, image.rgba[i + 3] = 255;
    return image;
}

// Plays the picture at its frame's size through the toolkit and reads the pixels back by palette.
bool RenderPicture(const std::vector<std::uint8_t>& data, const qiva::Palette& palette, RgbaImage& out) {
    qiva::pict::Header header;
    if (qiva::pict::ReadHeader(data, header) != qiva::pict::Status::Ok) return false;
    const int w = header.frame.right - header.frame.left, h = header.frame.bottom - header.frame.top;
    if (w <= 0 || h <= 0 || w > kMaxWidth || h > kMaxWidth) return false;
    GrafPort port{};
    if (!NewBufferPort(&port, w, h)) return false;
    EraseRect(&port.portRect);
    Handle handle = nullptr;
    bool ok = PtrToHand(data.data(), &handle, static_cast<Size>(data.size())) == noErr && handle &&
              qiva::PlayPicture(reinterpret_cast<PicHandle>(handle), port.portRect) == qiva::pict::Status::Ok;
    if (handle) DisposeHandle(handle);
    if (ok) {
        const qiva::BufferSlot* slot = qiva::LookUpBuffer(qiva::BufferIdOf(port.portBits));
        ok = slot != nullptr;
        if (ok) {
            out = {w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 4)};
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const qiva::PaletteEntry& e =
                        palette.entries[slot->base[std::size_t(y) * slot->rowBytes + x]];
                    std::uint8_t* p = &out.rgba[(std::size_t(y) * w + x) * 4];
                    p[0] = e.red, p[1] = e.green, p[2] = e.blue, p[3] = 255;
                }
        }
    }
    DisposeBufferPort(&port);
    return ok;
}

std::string WritePng(const std::string& path, const Sheet& sheet) {
    std::vector<std::uint8_t> png;
    if (std::string error = platform::EncodeTrueColourPng(sheet.width, sheet.height, 3, sheet.rgb, png);
        !error.empty())
        return path + ": " + error;
    return platform::WriteOutputFile(path, {reinterpret_cast<const char*>(png.data()), png.size()});
}

} // namespace

std::string WriteContactSheet(const std::vector<qiva::Resource>& resources, const std::string& path,
                              std::vector<std::string>& problems) {
    constexpr ResType pict = MakeResType("PICT"), cicn = MakeResType("cicn");
    std::vector<const qiva::Resource*> chosen;
    for (const qiva::Resource& r : resources)
        if (r.type == pict || r.type == cicn) chosen.push_back(&r);
    // Pictures first, then icons, each by number.
    std::stable_sort(chosen.begin(), chosen.end(), [&](const qiva::Resource* a, const qiva::Resource* b) {
        return a->type != b->type ? a->type == pict : a->id < b->id;
    });
    const qiva::Palette palette = qiva::BuildPalette(0, 0, 0);
    qiva::SetScreenSize(64, 64);
    InitGraf(nullptr);
    std::vector<Entry> entries;
    for (const qiva::Resource* r : chosen) {
        Entry e{(r->type == pict ? "'PICT' " : "'cicn' ") + std::to_string(r->id), {}};
        std::string error;
        const bool ok = r->type == pict
                            ? RenderPicture(r->data, palette, e.image)
                            : ImageFromCicn(r->data, e.image, error) && e.image.width <= kMaxWidth;
        if (!ok) {
            problems.push_back(e.label + (error.empty() ? " does not play" : ": " + error));
            e.image = Failed();
        }
        entries.push_back(std::move(e));
    }
    qiva::CloseGraphics();

    // Rows of cells, each the 1× image beside the 2× one, the label above.
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = kMargin, y = kMargin, rowHeight = 0, width = 0;
    const int limit = 1100;
    for (const Entry& e : entries) {
        const int cellW = std::max(e.image.width * 3 + 6, 6 * static_cast<int>(e.label.size()));
        const int cellH = kLabel + e.image.height * 2;
        if (x > kMargin && x + cellW > limit) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += cellW + kGap;
        width = std::max(width, x - kGap + kMargin);
        rowHeight = std::max(rowHeight, cellH);
    }
    Sheet sheet{std::max(width, 2 * kMargin), y + rowHeight + kMargin, {}};
    sheet.rgb.resize(std::size_t(sheet.width) * sheet.height * 3);
    for (std::size_t i = 0; i < sheet.rgb.size(); i += 3)
        std::memcpy(&sheet.rgb[i], kBackground.data(), 3);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        sheet.Text(places[i].x, places[i].y, e.label);
        sheet.Draw(places[i].x, places[i].y + kLabel, e.image, 1);
        sheet.Draw(places[i].x + e.image.width + 6, places[i].y + kLabel, e.image, 2);
    }
    return WritePng(path, sheet);
}

} // namespace qiva_rsrc
