#pragma once
// printf-style formatting of the game's messages into a fixed buffer. The arguments carry their own
// types, so a conversion that does not match its argument, a missing argument or a stray % in a text
// used as a format can neither read past the arguments nor write past the buffer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace tolka {

// One argument as printf would have received it.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Text, Real };

    template <class T>
    requires(std::is_integral_v<T>&& std::is_signed_v<T>) FormatArg(T value)
        : kind_(Kind::Signed), signed_(value) {}
    template <class T>
    requires(std::is_integral_v<T>&& std::is_unsigned_v<T> && !std::is_same_v<T, bool>) FormatArg(T value)
        : kind_(Kind::Unsigned), unsigned_(value) {}
    FormatArg(bool value) : kind_(Kind::Signed), signed_(value ? 1 : 0) {}
    FormatArg(double value) : kind_(Kind::Real), real_(value) {}
    // A null pointer reads as an empty text.
    FormatArg(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}
    FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const std::string& text) : kind_(Kind::Text), text_(text) {}

    Kind kind() const { return kind_; }
    std::int64_t AsSigned() const;
    std::uint64_t AsUnsigned() const;
    double AsReal() const;
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    std::int64_t signed_ = 0;
    std::uint64_t unsigned_ = 0;
    double real_ = 0;
    std::string_view text_;
};

// Writes `format` with `args` into `out`, never past its end and always zero-terminated (an empty
// span receives nothing). Understands %d %i %u %x %X %o %c %s %f %e %g %% with the flags - 0 + and
// space, a width, a precision and any length modifier; a conversion without an argument, and any
// other conversion (%n, %p ...), is written as it stands. A text argument under a numeric conversion
// is written as text, a number under %s in decimal. Returns the length written, terminator excluded.
std::size_t FormatBounded(std::span<char> out, std::string_view format, std::span<const FormatArg> args);

template <class... Args>
std::size_t FormatInto(std::span<char> out, std::string_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    return FormatBounded(out, format, list);
}

} // namespace tolka
