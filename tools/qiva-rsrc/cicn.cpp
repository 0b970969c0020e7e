#include "tools/qiva-rsrc/cicn.h"

#include <stdexcept>

#include "tools/qiva-rsrc/converters.h"
#include "tools/qiva-rsrc/source_text.h"

namespace qiva_rsrc {
namespace {

constexpr std::size_t kHeaderSize = 82; // pixel map 50, mask 14, icon bitmap 14, data handle 4

int EvenRowBytes(int bits) {
    return ((bits + 15) / 16) * 2;
}

void PutBitMap(Bytes& out, int rowBytes, int width, int height) {
    Put32(out, 0);
    Put16(out, rowBytes);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, height);
    Put16(out, width);
}

} // namespace

qiva_pict::Bytes CicnFromImage(const qiva_pict::RgbaImage& image, const qiva::Palette& palette, bool dither) {
    const int w = image.width, h = image.height;
    const std::vector<std::uint8_t> indices = qiva_pict::PaletteIndices(image, palette, dither);
    const int pixRow = EvenRowBytes(w * 8), bitRow = EvenRowBytes(w);
    Bytes out;
    // Pixel map: base address, rowBytes with the pixel-map flag, bounds, version, packing,
    // resolution 72 dpi, chunky 8-bit indexed pixels, then the colour table and reserved handles.
    Put32(out, 0);
    Put16(out, 0x8000 | pixRow);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, h);
    Put16(out, w);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 0);
    Put32(out, 0x00480000);
    Put32(out, 0x00480000);
    Put16(out, 0);
    Put16(out, 8);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    PutBitMap(out, bitRow, w, h); // mask
    PutBitMap(out, bitRow, w, h); // one-bit icon
    Put32(out, 0);                // icon data handle
    Bytes mask(std::size_t(bitRow) * h, 0), bits(std::size_t(bitRow) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &image.rgba[(std::size_t(y) * w + x) * 4];
            if (p[3] < 128) continue;
            mask[std::size_t(y) * bitRow + x / 8] |= 0x80 >> (x % 8);
            const int luma = (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100;
            if (luma < 128) bits[std::size_t(y) * bitRow + x / 8] |= 0x80 >> (x % 8);
        }
    out.insert(out.end(), mask.begin(), mask.end());
    out.insert(out.end(), bits.begin(), bits.end());
    Put32(out, 0);   // colour table seed
    Put16(out, 0);   // flags: values are pixel values
    Put16(out, 255); // size - 1
    for (int i = 0; i < 256; ++i) {
        const qiva::PaletteEntry& e = palette.entries[i];
        Put16(out, i);
        Put16(out, e.red * 257); // 8 bits widened the published way: 0xAB -> 0xABAB
        Put16(out, e.green * 257);
        Put16(out, e.blue * 257);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool opaque = image.rgba[(std::size_t(y) * w + x) * 4 + 3] >= 128;
            // Pixels outside the mask are never drawn; zero keeps them out of the way.
            out.push_back(opaque ? indices[std::size_t(y) * w + x] : 0);
        }
        for (int x = w; x < pixRow; ++x)
            out.push_back(0);
    }
    return out;
}

bool ImageFromCicn(const qiva_pict::Bytes& data, qiva_pict::RgbaImage& image, std::string& error) {
    Reader r(data);
    r.U32();
    const int pixRow = r.U16() & 0x3FFF;
    const int top = r.S16(), left = r.S16(), bottom = r.S16(), right = r.S16();
    r.Seek(32);
    const int pixelSize = r.U16();
    r.Seek(54);
    const int maskRow = r.U16();
    const int mTop = r.S16(), mLeft = r.S16(), mBottom = r.S16(), mRight = r.S16();
    r.U32();
    const int bitRow = r.U16();
    if (r.Failed() || data.size() < kHeaderSize) {
        error = "the colour icon is shorter than its header";
        return false;
    }
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0 || w > 1024 || h > 1024 || mRight - mLeft != w || mBottom - mTop != h) {
        error = "the colour icon's bounds are empty, too large or differ from its mask's";
        return false;
    }
    if (pixelSize != 1 && pixelSize != 2 && pixelSize != 4 && pixelSize != 8) {
        error = "the colour icon's pixels are " + std::to_string(pixelSize) + " bits deep";
        return false;
    }
    if (pixRow * 8 < w * pixelSize || maskRow * 8 < w || bitRow * 8 < w) {
        error = "a row of the colour icon is narrower than its bounds";
        return false;
    }
    std::size_t pos = kHeaderSize;
    const std::size_t maskAt = pos;
    pos += std::size_t(maskRow) * h + std::size_t(bitRow) * h;
    Reader t(data);
    t.Seek(pos);
    t.U32();
    t.U16();
    const int entries = t.S16() + 1;
    if (t.Failed() || entries < 0 || entries > 256 || t.Left() < std::size_t(entries) * 8) {
        error = "the colour icon's colour table runs past its data";
        return false;
    }
    std::array<std::array<std::uint8_t, 3>, 256> colours{};
    for (int i = 0; i < entries; ++i) {
        const int value = t.U16() & 0xFF;
        for (int c = 0; c < 3; ++c)
            colours[value][c] = static_cast<std::uint8_t>(t.U16() >> 8);
    }
    const std::size_t pixelsAt = t.Position();
    if (data.size() < pixelsAt + std::size_t(pixRow) * h) {
        error = "the colour icon's pixels run past its data";
        return false;
    }
    image.width = w;
    image.height = h;
    image.rgba.assign(std::size_t(w) * h * 4, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t maskByte = data[maskAt + std::size_t(y) * maskRow + x / 8];
            if (!(maskByte & (0x80 >> (x % 8)))) continue;
            const std::size_t bit = std::size_t(x) * pixelSize;
            const std::uint8_t byte = data[pixelsAt + std::size_t(y) * pixRow + bit / 8];
            const int value = (byte >> (8 - pixelSize - bit % 8)) & ((1 << pixelSize) - 1);
            std::uint8_t* p = &image.rgba[(std::size_t(y) * w + x) * 4];
            p[0] = colours[value][0];
            p[1] = colours[value][1];
            p[2] = colours[value][2];
            p[3] = 255;
        }
    return true;
}

void ConvertCicn(const std::string& path, const ConverterOptions& options, Bytes& out) {
    bool dither = true;
    for (const auto& [key, value] : options) {
        if (key == "dither" && (value == "yes" || value == "no"))
            dither = value == "yes";
        else
            throw std::runtime_error("the cicn converter takes dither yes|no, not '" + key + " " + value +
                                     "'");
    }
    qiva_pict::RgbaImage image;
    std::string error;
    if (!qiva_pict::ReadPng(path, image, error)) throw std::runtime_error(error);
    if (image.width > 1024 || image.height > 1024)
        throw std::runtime_error(path + ": an icon is at most 1024 x 1024");
    const Bytes icon = CicnFromImage(image, qiva::BuildPalette(0, 0, 0), dither);
    out.insert(out.end(), icon.begin(), icon.end());
}

} // namespace qiva_rsrc
