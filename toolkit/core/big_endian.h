#pragma once
// Big-endian fields, the byte order of every classic record and resource. Bytes are turned to host
// order once, where a record is parsed, and back where one is made, always through these: a reader
// over a span that never reads outside it, and a writer appending to a byte vector. The type of a
// field names its size (1, 2 or 4 bytes); the 24-bit offsets of resource maps have their own calls.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace qiva {

template <typename T>
concept BigEndianField =
    std::integral<T> && !std::same_as<T, bool> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);

// The field of type T stored in the sizeof(T) bytes at p.
template <BigEndianField T>
constexpr T LoadBigEndian(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v = (v << 8) | p[i];
    return static_cast<T>(v);
}

// Stores a field of type T in the sizeof(T) bytes at p.
template <BigEndianField T>
constexpr void StoreBigEndian(std::uint8_t* p, T value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * (sizeof(T) - 1 - i)));
}

// The field of type T at `offset`, or nothing when it does not lie wholly inside `bytes`.
template <BigEndianField T>
constexpr std::optional<T> ReadBigEndian(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return std::nullopt;
    return LoadBigEndian<T>(bytes.data() + offset);
}

// Reads fields in order. A read that would pass the end reads nothing, gives zero (an empty span or
// string) and leaves the reader failed for good, so a record is read field by field and checked once.
class BigEndianReader {
public:
    constexpr explicit BigEndianReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    template <BigEndianField T>
    T Read() {
        if (!Take(sizeof(T))) return T{};
        return LoadBigEndian<T>(bytes_.data() + pos_ - sizeof(T));
    }
    std::uint8_t U8() { return Read<std::uint8_t>(); }
    std::int8_t S8() { return Read<std::int8_t>(); }
    std::uint16_t U16() { return Read<std::uint16_t>(); }
    std::int16_t S16() { return Read<std::int16_t>(); }
    std::uint32_t U32() { return Read<std::uint32_t>(); }
    std::int32_t S32() { return Read<std::int32_t>(); }
    std::uint32_t U24();

    // The next n bytes; empty (and failed) when fewer are left.
    std::span<const std::uint8_t> Bytes(std::size_t n);
    // A reader over the next n bytes, which this reader steps over; failed when fewer are left.
    BigEndianReader Sub(std::size_t n);
    // A Pascal string: a length byte, then that many bytes as they are stored.
    std::string Pascal();
    void Skip(std::size_t n) { Take(n); }
    // Moves to an absolute position; a position past the end fails.
    void Seek(std::size_t position);

    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Left() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    // The bytes not read yet.
    std::span<const std::uint8_t> Rest() const { return bytes_.subspan(pos_); }
    bool Ok() const { return !failed_; }
    bool Failed() const { return failed_; }

private:
    bool Take(std::size_t n);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

// Appends fields to a byte vector (which it does not own).
class BigEndianWriter {
public:
    explicit BigEndianWriter(std::vector<std::uint8_t>& out) noexcept : out_(out) {}

    template <BigEndianField T>
    void Write(std::type_identity_t<T> value) {
        const std::size_t at = out_.size();
        out_.resize(at + sizeof(T));
        StoreBigEndian<T>(out_.data() + at, value);
    }
    void U8(std::uint8_t v) { Write<std::uint8_t>(v); }
    void S8(std::int8_t v) { Write<std::int8_t>(v); }
    void U16(std::uint16_t v) { Write<std::uint16_t>(v); }
    void S16(std::int16_t v) { Write<std::int16_t>(v); }
    void U32(std::uint32_t v) { Write<std::uint32_t>(v); }
    void S32(std::int32_t v) { Write<std::int32_t>(v); }
    // The low 24 bits of v.
    void U24(std::uint32_t v);
    void Bytes(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Zeros(std::size_t n) { out_.resize(out_.size() + n, 0); }
    // A length byte then the bytes; false (and nothing written) when longer than 255.
    bool Pascal(std::string_view text);

    // Overwrites a field written earlier, for lengths and offsets known only later; false (and nothing
    // written) when the field does not lie inside what is written.
    template <BigEndianField T>
    bool Patch(std::size_t at, std::type_identity_t<T> value) {
        if (at > out_.size() || out_.size() - at < sizeof(T)) return false;
        StoreBigEndian<T>(out_.data() + at, value);
        return true;
    }

    std::size_t Size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};

} // namespace qiva
