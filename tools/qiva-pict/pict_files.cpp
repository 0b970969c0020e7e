#include "tools/qiva-pict/pict_files.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/file_io.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_opcodes.h"
#include "toolkit/graphics/pict_packbits.h"
#include "tools/qiva-pict/nearest_colour.h"

namespace qiva_pict {

namespace {

constexpr std::size_t kFileHeader = 512;
constexpr std::uint8_t kTransparent = kTransparentIndex;

// The picture is written in the classic big-endian order; a word keeps the low 16 bits of v.
void Put16(Bytes& out, int v) {
    qiva::BigEndianWriter(out).U16(static_cast<std::uint16_t>(v & 0xFFFF));
}
void Put32(Bytes& out, std::uint32_t v) {
    qiva::BigEndianWriter(out).U32(v);
}
void PutRect(Bytes& out, int top, int left, int bottom, int right) {
    Put16(out, top);
    Put16(out, left);
    Put16(out, bottom);
    Put16(out, right);
}
void Opcode(Bytes& out, int op) {
    if (out.size() & 1) out.push_back(0);
    Put16(out, op);
}

void PutRows(Bytes& out, const std::vector<Bytes>& rows, int rowBytes) {
    for (const Bytes& row : rows) {
        if (rowBytes < 8) {
            out.insert(out.end(), row.begin(), row.end());
            continue;
        }
        Bytes packed;
        qiva::pict::PackRow(row, packed);
        if (rowBytes > 250)
            Put16(out, static_cast<int>(packed.size()));
        else
            out.push_back(static_cast<std::uint8_t>(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
}

} // namespace

Bytes PictureOfFile(const Bytes& file) {
    qiva::pict::Header header;
    const qiva::pict::Status bare = qiva::pict::ReadHeader(file, header);
    if (bare != qiva::pict::Status::Ok && file.size() > kFileHeader) {
        const Bytes behind(file.begin() + kFileHeader, file.end());
        if (qiva::pict::ReadHeader(behind, header) == qiva::pict::Status::Ok) return behind;
    }
    return file;
}

bool ReadPng(const std::string& path, RgbaImage& image, std::string& error) {
    std::string file;
    if (!platform::ReadInputFile(path, platform::InputKind::Png, file, error)) return false;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) {
        error = path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    if (png.width == 0 || png.height == 0 || png.width > 4096 || png.height > 4096) {
        png_image_free(&png);
        error = path + ": the image must be from 1 to 4096 pixels wide and high";
        return false;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

std::vector<std::uint8_t> PaletteIndices(const RgbaImage& image, const qiva::Palette& palette, bool dither) {
    const int w = image.width, h = image.height;
    std::vector<std::uint8_t> out(std::size_t(w) * std::size_t(h));
    NearestColour nearest(palette);
    // Floyd-Steinberg: the error of each pixel spread over its unvisited neighbours.
    std::vector<float> err(std::size_t(w + 2) * 2 * 3, 0.0f);
    for (int y = 0; y < h; ++y) {
        float* cur = &err[std::size_t(y & 1) * std::size_t(w + 2) * 3];
        float* next = &err[std::size_t((y + 1) & 1) * std::size_t(w + 2) * 3];
        std::fill(next, next + std::size_t(w + 2) * 3, 0.0f);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* px = &image.rgba[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
            std::uint8_t& index = out[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            if (px[3] == 0) {
                index = kTransparent;
                continue;
            }
            float want[3];
            for (int c = 0; c < 3; ++c)
                want[c] = px[c] + (dither ? cur[std::size_t(x + 1) * 3 + std::size_t(c)] : 0.0f);
            index = nearest(static_cast<int>(want[0] + 0.5f), static_cast<int>(want[1] + 0.5f),
                            static_cast<int>(want[2] + 0.5f));
            if (!dither) continue;
            const qiva::PaletteEntry& e = palette.entries[index];
            const float got[3] = {float(e.red), float(e.green), float(e.blue)};
            for (int c = 0; c < 3; ++c) {
                const float d = std::clamp(want[c], 0.0f, 255.0f) - got[c];
                cur[std::size_t(x + 2) * 3 + std::size_t(c)] += d * 7 / 16;
                next[std::size_t(x) * 3 + std::size_t(c)] += d * 3 / 16;
                next[std::size_t(x + 1) * 3 + std::size_t(c)] += d * 5 / 16;
                next[std::size_t(x + 2) * 3 + std::size_t(c)] += d * 1 / 16;
            }
        }
    }
    return out;
}

Bytes PictFromImage(const RgbaImage& image, const qiva::Palette& palette, const PictOptions& options) {
    const int w = image.width, h = image.height;
    Bytes out;
    Put16(out, 0); // picSize, set at the end
    PutRect(out, 0, 0, h, w);
    Put16(out, qiva::pict::kVersionWord);
    Put16(out, qiva::pict::kVersion2);
    Put16(out, qiva::pict::kHeaderOp);
    Put16(out, -2 & 0xFFFF); // the extended version 2 header: 72 dpi, the frame as source rectangle
    Put16(out, 0);
    Put32(out, 0x00480000);
    Put32(out, 0x00480000);
    PutRect(out, 0, 0, h, w);
    Put32(out, 0);
    Opcode(out, qiva::pict::kClip); // the frame
    Put16(out, 10);
    PutRect(out, 0, 0, h, w);

    std::vector<Bytes> rows(static_cast<std::size_t>(h));
    int rowBytes = 0;
    Opcode(out, qiva::pict::kPackBitsRect);
    if (options.mask) {
        rowBytes = (w + 15) / 16 * 2;
        bool hasAlpha = false;
        for (std::size_t i = 3; i < image.rgba.size(); i += 4)
            hasAlpha = hasAlpha || image.rgba[i] != 255;
        for (int y = 0; y < h; ++y) {
            Bytes& row = rows[std::size_t(y)];
            row.assign(std::size_t(rowBytes), 0);
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* px = &image.rgba[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
                const bool on = hasAlpha ? px[3] >= 128 : (px[0] * 3 + px[1] * 4 + px[2] * 2) < 9 * 128;
                if (on) row[std::size_t(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        Put16(out, rowBytes);
        PutRect(out, 0, 0, h, w);
    } else {
        rowBytes = (w + 1) & ~1;
        const std::vector<std::uint8_t> indices = PaletteIndices(image, palette, options.dither);
        for (int y = 0; y < h; ++y) {
            Bytes& row = rows[std::size_t(y)];
            row.assign(std::size_t(rowBytes), 0);
            std::copy_n(indices.begin() + std::ptrdiff_t(y) * w, w, row.begin());
        }
        Put16(out, 0x8000 | rowBytes);
        PutRect(out, 0, 0, h, w);
        Put16(out, 0);          // pmVersion
        Put16(out, 0);          // packType
        Put32(out, 0);          // packSize
        Put32(out, 0x00480000); // hRes
        Put32(out, 0x00480000); // vRes
        Put16(out, 0);          // pixelType
        Put16(out, 8);          // pixelSize
        Put16(out, 1);          // cmpCount
        Put16(out, 8);          // cmpSize
        Put32(out, 0);          // planeBytes
        Put32(out, 0);          // pmTable
        Put32(out, 0);          // pmReserved
        Put32(out, 0);          // ctSeed
        Put16(out, 0);          // ctFlags
        Put16(out, 255);        // ctSize
        for (int i = 0; i < 256; ++i) {
            const qiva::PaletteEntry& e = palette.entries[std::size_t(i)];
            Put16(out, i);
            Put16(out, qiva::Component8To16(e.red));
            Put16(out, qiva::Component8To16(e.green));
            Put16(out, qiva::Component8To16(e.blue));
        }
    }
    PutRect(out, 0, 0, h, w); // srcRect
    PutRect(out, 0, 0, h, w); // dstRect
    Put16(out, 0);            // srcCopy
    PutRows(out, rows, rowBytes);
    Opcode(out, qiva::pict::kOpEndPic);
    qiva::BigEndianWriter(out).Patch<std::uint16_t>(0, static_cast<std::uint16_t>(out.size() & 0xFFFF));
    return out;
}

} // namespace qiva_pict
