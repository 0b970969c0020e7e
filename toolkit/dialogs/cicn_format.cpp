#include "toolkit/dialogs/cicn_format.h"

#include "toolkit/core/big_endian.h"

namespace qiva {

std::optional<ParsedColorIcon> ParseColorIcon(std::span<const std::uint8_t> data, std::string& error) {
    if (data.size() < kColorIconHeaderSize) {
        error = "the colour icon is shorter than its header";
        return std::nullopt;
    }
    BigEndianReader r(data);
    ParsedColorIcon icon;
    r.Skip(4);
    icon.pixelRowBytes = r.U16() & 0x3FFF;
    const int top = r.S16(), left = r.S16(), bottom = r.S16(), right = r.S16();
    r.Seek(32);
    icon.pixelSize = r.U16();
    r.Seek(54);
    icon.maskRowBytes = r.U16();
    const int mTop = r.S16(), mLeft = r.S16(), mBottom = r.S16(), mRight = r.S16();
    r.Skip(4);
    icon.iconRowBytes = r.U16();
    icon.width = right - left;
    icon.height = bottom - top;
    const int w = icon.width, h = icon.height;
    if (w <= 0 || h <= 0 || w > kColorIconMaxSide || h > kColorIconMaxSide || mRight - mLeft != w ||
        mBottom - mTop != h) {
        error = "the colour icon's bounds are empty, too large or differ from its mask's";
        return std::nullopt;
    }
    const int depth = icon.pixelSize;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8) {
        error = "the colour icon's pixels are " + std::to_string(depth) + " bits deep";
        return std::nullopt;
    }
    if (icon.pixelRowBytes * 8 < w * depth || icon.maskRowBytes * 8 < w ||
        (icon.iconRowBytes != 0 && icon.iconRowBytes * 8 < w)) {
        error = "a row of the colour icon is narrower than its bounds";
        return std::nullopt;
    }
    r.Seek(kColorIconHeaderSize);
    icon.mask = r.Bytes(static_cast<std::size_t>(icon.maskRowBytes) * h);
    icon.icon = r.Bytes(static_cast<std::size_t>(icon.iconRowBytes) * h);
    icon.colourSeed = r.S32();
    icon.colourFlags = r.S16();
    const int entries = r.S16() + 1;
    if (r.Failed() || entries < 0 || entries > 256 || r.Left() < static_cast<std::size_t>(entries) * 8) {
        error = "the colour icon's colour table runs past its data";
        return std::nullopt;
    }
    for (int i = 0; i < entries; ++i) {
        ColorSpec c;
        c.value = r.S16();
        c.rgb.red = r.U16();
        c.rgb.green = r.U16();
        c.rgb.blue = r.U16();
        icon.colours.push_back(c);
    }
    icon.pixels = r.Bytes(static_cast<std::size_t>(icon.pixelRowBytes) * h);
    if (r.Failed()) {
        error = "the colour icon's pixels run past its data";
        return std::nullopt;
    }
    return icon;
}

} // namespace qiva
