#include "toolkit/graphics/pict_packbits.h"

#include <algorithm>

namespace qiva::pict {

bool UnpackRow(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row) {
    std::size_t in = 0, out = 0;
    const std::size_t inEnd = packed.size(), outEnd = row.size();
    while (in < inEnd) {
        const int n = static_cast<std::int8_t>(packed[in++]);
        if (n >= 0) {
            const std::size_t count = std::size_t(n) + 1;
            if (count > inEnd - in || count > outEnd - out) return false;
            std::copy_n(packed.begin() + std::ptrdiff_t(in), count, row.begin() + std::ptrdiff_t(out));
            in += count;
            out += count;
        } else {
            const std::size_t count = std::size_t(1 - n);
            if (in == inEnd || count > outEnd - out) return false;
            std::fill_n(row.begin() + std::ptrdiff_t(out), count, packed[in++]);
            out += count;
        }
    }
    std::fill(row.begin() + std::ptrdiff_t(out), row.end(), std::uint8_t{0});
    return true;
}

bool UnpackWordRow(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row) {
    std::size_t in = 0, out = 0;
    const std::size_t inEnd = packed.size(), outEnd = row.size() & ~std::size_t{1};
    while (in < inEnd) {
        const int n = static_cast<std::int8_t>(packed[in++]);
        const std::size_t words = n >= 0 ? std::size_t(n) + 1 : std::size_t(1 - n);
        if (2 * words > outEnd - out) return false;
        if (n >= 0) {
            if (2 * words > inEnd - in) return false;
            std::copy_n(packed.begin() + std::ptrdiff_t(in), 2 * words, row.begin() + std::ptrdiff_t(out));
            in += 2 * words;
        } else {
            if (inEnd - in < 2) return false;
            for (std::size_t k = 0; k < words; ++k) {
                row[out + 2 * k] = packed[in];
                row[out + 2 * k + 1] = packed[in + 1];
            }
            in += 2;
        }
        out += 2 * words;
    }
    std::fill(row.begin() + std::ptrdiff_t(out), row.end(), std::uint8_t{0});
    return true;
}

void PackRow(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out) {
    const std::size_t n = row.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(1 - int(run)));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // A literal run stops where a repeat of three begins, or at 128 bytes.
        std::size_t lit = 0;
        while (i + lit < n && lit < 128) {
            if (i + lit + 2 < n && row[i + lit] == row[i + lit + 1] && row[i + lit] == row[i + lit + 2])
                break;
            ++lit;
        }
        out.push_back(static_cast<std::uint8_t>(lit - 1));
        out.insert(out.end(), row.begin() + std::ptrdiff_t(i), row.begin() + std::ptrdiff_t(i + lit));
        i += lit;
    }
}

} // namespace qiva::pict
