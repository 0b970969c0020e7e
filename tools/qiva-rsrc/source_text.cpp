#include "tools/qiva-rsrc/source_text.h"

#include <cctype>

#include "platform/mac_roman.h"
#include "platform/utf8.h"

namespace qiva_rsrc {
namespace {

std::string Where(const std::string& file, int line) {
    return file + ":" + std::to_string(line) + ": ";
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string or type starting after its opening quote; returns Macintosh bytes.
std::string ReadQuoted(const std::string& text, std::size_t& i, char quote, const std::string& file,
                       int& line) {
    const int startLine = line;
    std::string out;
    while (true) {
        if (i >= text.size() || text[i] == '\n') {
            throw SourceError(Where(file, startLine) + "unterminated " + (quote == '"' ? "string" : "type"));
        }
        const char c = text[i];
        if (c == quote) {
            ++i;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= text.size()) throw SourceError(Where(file, line) + "unterminated string");
            const char e = text[i + 1];
            i += 2;
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case '\'':
                out += '\'';
                break;
            case 'x': {
                const int hi = i < text.size() ? HexValue(text[i]) : -1;
                const int lo = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                if (hi < 0 || lo < 0)
                    throw SourceError(Where(file, line) + "\\x needs two hexadecimal digits");
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                throw SourceError(Where(file, line) + "unknown escape \\" + std::string(1, e));
            }
            continue;
        }
        const std::optional<char32_t> cp = platform::DecodeUtf8(text, i);
        if (!cp) throw SourceError(Where(file, line) + "malformed UTF-8");
        const int mac = platform::UnicodeToMacRoman(*cp);
        if (mac < 0) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "U+%04lX", static_cast<unsigned long>(*cp));
            throw SourceError(Where(file, line) + "the character " + buffer +
                              " has no place in the Macintosh character set");
        }
        out += static_cast<char>(mac);
    }
}

} // namespace

std::vector<Token> Tokenize(const std::string& text, const std::string& file) {
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (c == '{' || c == '}') {
            tokens.push_back({c == '{' ? Token::Open : Token::Close, std::string(1, c), 0, line});
            ++i;
        } else if (c == '"' || c == '\'') {
            ++i;
            Token t{c == '"' ? Token::String : Token::Type, ReadQuoted(text, i, c, file, line), 0, line};
            if (t.kind == Token::Type && t.text.size() != 4) {
                throw SourceError(Where(file, line) + "a resource type has exactly four characters");
            }
            tokens.push_back(std::move(t));
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+') {
            std::size_t j = i + 1;
            while (j < text.size() && std::isalnum(static_cast<unsigned char>(text[j])))
                ++j;
            const std::string word = text.substr(i, j - i);
            const std::size_t digits = (word[0] == '-' || word[0] == '+') ? 1 : 0;
            const bool hex = word.size() > digits + 1 && word[digits] == '0' &&
                             (word[digits + 1] == 'x' || word[digits + 1] == 'X');
            std::size_t used = 0;
            long long value = 0;
            try {
                value = std::stoll(word, &used, hex ? 16 : 10);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != word.size()) throw SourceError(Where(file, line) + "'" + word + "' is not a number");
            tokens.push_back({Token::Number, word, value, line});
            i = j;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t j = i + 1;
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_'))
                ++j;
            tokens.push_back({Token::Word, text.substr(i, j - i), 0, line});
            i = j;
        } else {
            throw SourceError(Where(file, line) + "unexpected character '" + std::string(1, c) + "'");
        }
    }
    tokens.push_back({Token::End, "", 0, line});
    return tokens;
}

Parser::Parser(std::vector<Token> tokens, std::string fileName)
    : tokens_(std::move(tokens)), file_(std::move(fileName)) {}

Token Parser::Next() {
    Token t = tokens_[pos_];
    if (t.kind != Token::End) ++pos_;
    return t;
}

bool Parser::AtWord(const char* word) const {
    return Peek().kind == Token::Word && Peek().text == word;
}

bool Parser::AcceptWord(const char* word) {
    if (!AtWord(word)) return false;
    Next();
    return true;
}

void Parser::ExpectOpen() {
    if (Peek().kind != Token::Open) Fail("expected '{'");
    Next();
}

void Parser::ExpectClose() {
    if (Peek().kind != Token::Close) Fail("expected '}'");
    Next();
}

std::string Parser::Word(const char* what) {
    if (Peek().kind != Token::Word) Fail(std::string("expected ") + what);
    return Next().text;
}

long long Parser::Number(long long min, long long max, const char* what) {
    if (Peek().kind != Token::Number) Fail(std::string(what) + " needs a number");
    const Token t = Next();
    if (t.number < min || t.number > max) {
        FailAt(t.line, std::string(what) + " " + t.text + " is outside " + std::to_string(min) + ".." +
                           std::to_string(max));
    }
    return t.number;
}

std::string Parser::String(const char* what) {
    if (Peek().kind != Token::String) Fail(std::string(what) + " needs a quoted string");
    return Next().text;
}

ResType Parser::Type() {
    if (Peek().kind != Token::Type) Fail("expected a resource type in single quotes, like 'STR#'");
    const std::string t = Next().text;
    ResType type = 0;
    for (char c : t)
        type = (type << 8) | static_cast<unsigned char>(c);
    return type;
}

bool Parser::Boolean(const char* what) {
    if (AcceptWord("true")) return true;
    if (AcceptWord("false")) return false;
    return Number(0, 1, what) != 0;
}

std::array<std::int16_t, 4> Parser::Rect(const char* what) {
    std::array<std::int16_t, 4> r{};
    const int line = Peek().line;
    for (auto& v : r) {
        if (Peek().kind != Token::Number) {
            FailAt(line, std::string(what) + " needs four numbers: top left bottom right");
        }
        v = static_cast<std::int16_t>(Number(-32768, 32767, what));
    }
    return r;
}

std::uint8_t Parser::Character(const char* what) {
    if (Peek().kind == Token::String) {
        const Token t = Next();
        if (t.text.size() != 1) FailAt(t.line, std::string(what) + " needs exactly one character");
        return static_cast<std::uint8_t>(t.text[0]);
    }
    return static_cast<std::uint8_t>(Number(0, 255, what));
}

void Parser::Fail(const std::string& message) const {
    FailAt(Peek().line, message);
}

void Parser::FailAt(int line, const std::string& message) const {
    throw SourceError(Where(file_, line) + message);
}

// The parser has checked each number against its field's range; a signed and an unsigned spelling of a
// field keep the same low bits.
void Put8(Bytes& out, long long v) {
    qiva::BigEndianWriter(out).U8(static_cast<std::uint8_t>(v));
}

void Put16(Bytes& out, long long v) {
    qiva::BigEndianWriter(out).U16(static_cast<std::uint16_t>(v));
}

void Put32(Bytes& out, long long v) {
    qiva::BigEndianWriter(out).U32(static_cast<std::uint32_t>(v));
}

void PutPascal(Bytes& out, const std::string& text, const Parser& p, const char* what) {
    if (!qiva::BigEndianWriter(out).Pascal(text))
        p.Fail(std::string(what) + " is longer than 255 characters");
}

std::string Quote(const std::string& macText) {
    std::string out = "\"";
    for (char ch : macText) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        const char32_t cp = platform::MacRomanToUnicode(c);
        if (c < 0x20 || c == 0x7F || cp < 0x20 || platform::UnicodeToMacRoman(cp) != c) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += platform::MacRomanToUtf8(std::string(1, ch));
        }
    }
    return out + "\"";
}

} // namespace qiva_rsrc
