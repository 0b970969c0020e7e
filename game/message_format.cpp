#include "game/message_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tolka {

std::int64_t FormatArg::AsSigned() const {
    switch (kind_) {
    case Kind::Signed:
        return signed_;
    case Kind::Unsigned:
        return static_cast<std::int64_t>(unsigned_);
    case Kind::Real:
        return std::isfinite(real_) && std::fabs(real_) < 9.2e18 ? static_cast<std::int64_t>(real_) : 0;
    case Kind::Text:
        break;
    }
    return 0;
}

std::uint64_t FormatArg::AsUnsigned() const {
    return kind_ == Kind::Unsigned ? unsigned_ : static_cast<std::uint64_t>(AsSigned());
}

double FormatArg::AsReal() const {
    switch (kind_) {
    case Kind::Real:
        return real_;
    case Kind::Signed:
        return static_cast<double>(signed_);
    case Kind::Unsigned:
        return static_cast<double>(unsigned_);
    case Kind::Text:
        break;
    }
    return 0;
}

namespace {

// Appends to the buffer while room is left, keeping one byte for the terminator.
class Sink {
public:
    explicit Sink(std::span<char> out) : out_(out) {}
    void Put(char c) {
        if (length_ + 1 < out_.size()) out_[length_++] = c;
    }
    void Put(std::string_view text) {
        const std::size_t n = std::min(text.size(), Room());
        std::copy_n(text.data(), n, out_.data() + length_);
        length_ += n;
    }
    void Repeat(char c, std::size_t count) {
        const std::size_t n = std::min(count, Room());
        std::fill_n(out_.data() + length_, n, c);
        length_ += n;
    }
    bool Full() const { return Room() == 0; }
    std::size_t Finish() {
        if (!out_.empty()) out_[length_] = '\0';
        return length_;
    }

private:
    std::size_t Room() const { return out_.empty() ? 0 : out_.size() - 1 - length_; }
    std::span<char> out_;
    std::size_t length_ = 0;
};

struct Spec {
    bool left = false, zero = false, plus = false, space = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

// Widths and precisions past this add nothing a 512-byte message could show.
constexpr int kLargestWidth = 1024;

int ReadNumber(std::string_view format, std::size_t& i) {
    int n = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        n = std::min(n * 10 + (format[i] - '0'), kLargestWidth);
        ++i;
    }
    return n;
}

// Parses the conversion starting after '%' at `i`; on success `i` is past it.
bool ParseSpec(std::string_view format, std::size_t& i, Spec& spec) {
    for (; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '-')
            spec.left = true;
        else if (c == '0')
            spec.zero = true;
        else if (c == '+')
            spec.plus = true;
        else if (c == ' ')
            spec.space = true;
        else if (c != '#')
            break;
    }
    spec.width = ReadNumber(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        spec.precision = ReadNumber(format, i);
    }
    while (i < format.size() && std::string_view("hlLqjzt").find(format[i]) != std::string_view::npos)
        ++i;
    if (i >= format.size()) return false;
    spec.conversion = format[i++];
    return true;
}

// Digits of `value` in `base`, most significant first, into the end of `digits`.
std::string_view Digits(std::uint64_t value, unsigned base, bool upper, std::span<char> digits) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::size_t at = digits.size();
    do {
        digits[--at] = set[value % base];
        value /= base;
    } while (value != 0);
    return {digits.data() + at, digits.size() - at};
}

void PutPadded(Sink& sink, const Spec& spec, std::string_view sign, std::string_view body, bool zeroPad) {
    const std::size_t used = sign.size() + body.size();
    const std::size_t pad = spec.width > 0 && static_cast<std::size_t>(spec.width) > used
                                ? static_cast<std::size_t>(spec.width) - used
                                : 0;
    if (!spec.left && !zeroPad) sink.Repeat(' ', pad);
    sink.Put(sign);
    if (!spec.left && zeroPad) sink.Repeat('0', pad);
    sink.Put(body);
    if (spec.left) sink.Repeat(' ', pad);
}

void PutInteger(Sink& sink, const Spec& spec, const FormatArg& arg) {
    std::array<char, 24> buffer{};
    std::string_view sign;
    std::uint64_t magnitude = 0;
    unsigned base = 10;
    const char c = spec.conversion;
    if (c == 'd' || c == 'i') {
        const std::int64_t v = arg.AsSigned();
        magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        sign = v < 0 ? "-" : spec.plus ? "+" : spec.space ? " " : "";
    } else {
        magnitude = arg.AsUnsigned();
        base = c == 'o' ? 8 : (c == 'x' || c == 'X') ? 16 : 10;
    }
    std::string_view digits = Digits(magnitude, base, c == 'X', buffer);
    if (spec.precision == 0 && magnitude == 0) digits = {};
    // A precision asks for leading zeros; the zero flag then no longer pads.
    std::size_t zeros = 0;
    if (spec.precision > 0 && static_cast<std::size_t>(spec.precision) > digits.size())
        zeros = static_cast<std::size_t>(spec.precision) - digits.size();
    if (zeros == 0) {
        PutPadded(sink, spec, sign, digits, spec.zero && spec.precision < 0);
        return;
    }
    const std::size_t used = sign.size() + zeros + digits.size();
    const std::size_t pad = static_cast<std::size_t>(std::max(spec.width, 0)) > used
                                ? static_cast<std::size_t>(spec.width) - used
                                : 0;
    if (!spec.left) sink.Repeat(' ', pad);
    sink.Put(sign);
    sink.Repeat('0', zeros);
    sink.Put(digits);
    if (spec.left) sink.Repeat(' ', pad);
}

void PutReal(Sink& sink, const Spec& spec, double value) {
    // The standard library writes the digits; its format is rebuilt here from checked parts, and
    // what does not fit the scratch buffer is cut, as the message itself would be.
    char pattern[16];
    char* p = pattern;
    *p++ = '%';
    if (spec.left) *p++ = '-';
    if (spec.zero) *p++ = '0';
    if (spec.plus) *p++ = '+';
    if (spec.space) *p++ = ' ';
    *p++ = '*';
    *p++ = '.';
    *p++ = '*';
    *p++ = spec.conversion;
    *p = '\0';
    char scratch[600];
    const int precision = spec.precision < 0 ? 6 : std::min(spec.precision, 64);
    const int n =
        std::snprintf(scratch, sizeof scratch, pattern, std::min(spec.width, 512), precision, value);
    if (n > 0) sink.Put(std::string_view(scratch, std::min(static_cast<std::size_t>(n), sizeof scratch - 1)));
}

void PutText(Sink& sink, const Spec& spec, std::string_view text) {
    if (spec.precision >= 0) text = text.substr(0, static_cast<std::size_t>(spec.precision));
    PutPadded(sink, spec, "", text, false);
}

} // namespace

std::size_t FormatBounded(std::span<char> out, std::string_view format, std::span<const FormatArg> args) {
    Sink sink(out);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size() && !sink.Full();) {
        const char c = format[i];
        if (c != '%') {
            sink.Put(c);
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            sink.Put('%');
            i += 2;
            continue;
        }
        const std::size_t start = i++;
        Spec spec;
        const bool parsed = ParseSpec(format, i, spec);
        const bool known =
            parsed && std::string_view("diuxXocsfeEgG").find(spec.conversion) != std::string_view::npos;
        if (!known || next >= args.size()) {
            sink.Put(format.substr(start, i - start));
            continue;
        }
        const FormatArg& arg = args[next++];
        switch (spec.conversion) {
        case 's':
            if (arg.kind() == FormatArg::Kind::Text) {
                PutText(sink, spec, arg.text());
            } else {
                Spec decimal = spec;
                decimal.conversion = arg.kind() == FormatArg::Kind::Unsigned ? 'u' : 'd';
                decimal.precision = -1;
                if (arg.kind() == FormatArg::Kind::Real)
                    PutReal(sink, Spec{.conversion = 'g'}, arg.AsReal());
                else
                    PutInteger(sink, decimal, arg);
            }
            break;
        case 'c':
            if (arg.kind() == FormatArg::Kind::Text) {
                PutText(sink, spec, arg.text());
            } else {
                const char ch = static_cast<char>(arg.AsUnsigned() & 0xFF);
                PutPadded(sink, spec, "", std::string_view(&ch, 1), false);
            }
            break;
        case 'f':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            if (arg.kind() == FormatArg::Kind::Text)
                PutText(sink, spec, arg.text());
            else
                PutReal(sink, spec, arg.AsReal());
            break;
        default:
            if (arg.kind() == FormatArg::Kind::Text)
                PutText(sink, Spec{.left = spec.left, .width = spec.width}, arg.text());
            else
                PutInteger(sink, spec, arg);
            break;
        }
    }
    return sink.Finish();
}

} // namespace tolka
