#include "platform/png.h"

#include <array>

#include "platform/paths.h"

namespace platform {
namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void Put32(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void Chunk(std::string& out, const char* type, const std::string& body) {
    Put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += body;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = start; i < out.size(); ++i)
        crc = CrcTable()[(crc ^ static_cast<std::uint8_t>(out[i])) & 0xFF] ^ (crc >> 8);
    Put32(out, crc ^ 0xFFFFFFFFu);
}

} // namespace

std::string WritePng(const std::string& path, const Frame& frame) {
    if (!frame.pixels || !frame.palette || frame.width <= 0 || frame.height <= 0) return "no frame to write";
    // Filter byte 0 and RGB triples per row, stored in uncompressed deflate blocks: screenshots are
    // for tests and people, and this keeps the writer free of a compression library.
    std::string raw;
    raw.reserve(static_cast<std::size_t>(frame.height) * (frame.width * 3 + 1));
    for (int y = 0; y < frame.height; ++y) {
        raw += '\0';
        const std::uint8_t* row = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.rowBytes;
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t argb = frame.palette[row[x]];
            raw += static_cast<char>(argb >> 16);
            raw += static_cast<char>(argb >> 8);
            raw += static_cast<char>(argb);
        }
    }
    std::string z = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        z += static_cast<char>(pos + n == raw.size() ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    Put32(z, (b << 16) | a);

    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    Put32(header, static_cast<std::uint32_t>(frame.width));
    Put32(header, static_cast<std::uint32_t>(frame.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter, no interlace
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return WriteFileAtomically(path, out) ? std::string{} : "cannot write " + path;
}

} // namespace platform
