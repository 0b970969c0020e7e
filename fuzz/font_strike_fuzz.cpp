// 'FONT' strikes from arbitrary bytes: a strike that PrepareStrike accepts must then be drawn and
// measured, every character, unscaled and scaled, without a read outside it. The first byte chooses
// the sizes and whether the conversion mark is set beforehand.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/graphics/font_strike.h"
#include "toolkit/graphics/text_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t choice = data[0];
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    if ((choice & 0x80) && !bytes.empty()) bytes[0] |= qiva::kStrikeConvertedBit;
    qiva::FontStrike strike;
    if (qiva::PrepareStrike(bytes, strike) != qiva::StrikeError::none) return 0;
    // Preparing again (the strike is marked now) must agree with the first preparation.
    qiva::FontStrike again;
    if (qiva::PrepareStrike(bytes, again) != qiva::StrikeError::none) __builtin_trap();

    std::uint8_t text[256];
    for (int i = 0; i < 256; ++i)
        text[i] = static_cast<std::uint8_t>(i);
    unsigned sum = 0;
    for (int ch = 0; ch < 256; ++ch) {
        const qiva::StrikeGlyph g = qiva::GlyphFor(strike, static_cast<std::uint8_t>(ch));
        if (!g.present) continue;
        for (int y = 0; y < strike.fRectHeight; ++y)
            for (int x = 0; x < g.width; ++x)
                sum += qiva::StrikePixel(strike, g.column + x, y);
    }
    qiva::GlyphCache cache;
    qiva::TextBlock block;
    const int strikeSize = 1 + (choice & 7);
    const qiva::StrikeScale scales[] = {
        {12, 12}, {strikeSize, strikeSize + 1 + ((choice >> 3) & 7)}, {strikeSize + 8, strikeSize}};
    for (const qiva::StrikeScale& scale : scales) {
        const int width = qiva::StrikeTextWidth(strike, scale, text, 256);
        const int advance = qiva::ComposeStrikeRun(strike, 1, scale, cache, text, 256, 5, block);
        if (width != advance) __builtin_trap();
    }
    return static_cast<int>(sum & 0);
}
