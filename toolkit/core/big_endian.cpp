#include "toolkit/core/big_endian.h"

namespace qiva {

bool BigEndianReader::Take(std::size_t n) {
    if (failed_ || n > Left()) {
        failed_ = true;
        return false;
    }
    pos_ += n;
    return true;
}

std::uint32_t BigEndianReader::U24() {
    if (!Take(3)) return 0;
    const std::uint8_t* p = bytes_.data() + pos_ - 3;
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

std::span<const std::uint8_t> BigEndianReader::Bytes(std::size_t n) {
    if (!Take(n)) return {};
    return bytes_.subspan(pos_ - n, n);
}

BigEndianReader BigEndianReader::Sub(std::size_t n) {
    if (!Take(n)) {
        BigEndianReader none({});
        none.failed_ = true;
        return none;
    }
    return BigEndianReader(bytes_.subspan(pos_ - n, n));
}

std::string BigEndianReader::Pascal() {
    const std::size_t n = U8();
    const std::span<const std::uint8_t> text = Bytes(n);
    if (failed_) return {};
    return std::string(text.begin(), text.end());
}

void BigEndianReader::Seek(std::size_t position) {
    if (failed_ || position > bytes_.size()) {
        failed_ = true;
        return;
    }
    pos_ = position;
}

void BigEndianWriter::U24(std::uint32_t v) {
    out_.push_back(static_cast<std::uint8_t>(v >> 16));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
    out_.push_back(static_cast<std::uint8_t>(v));
}

bool BigEndianWriter::Pascal(std::string_view text) {
    if (text.size() > 255) return false;
    out_.push_back(static_cast<std::uint8_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
    return true;
}

} // namespace qiva
