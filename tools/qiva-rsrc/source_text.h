#pragma once
// The resource source text: tokens, a parser with the field readers every type uses, and the quoting
// that writes texts back. Strings are UTF-8 in the source and Macintosh characters once read; a
// character the Macintosh set cannot store is an error at its line. Errors are thrown as SourceError
// (the tool's own code; the toolkit itself uses no exceptions).

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/core/big_endian.h"
#include "toolkit/core/mac_types.h"

namespace qiva_rsrc {

using Bytes = std::vector<std::uint8_t>;

struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Token {
    enum Kind { Word, Number, String, Type, Open, Close, End } kind = End;
    std::string text; // a word, or a string / type in Macintosh characters
    long long number = 0;
    int line = 0;
};

// Splits a source into tokens: words, numbers (decimal, or 0x hexadecimal, with a sign), strings in
// double quotes (escapes \" \\ \n \r \t \0 and \xNN for a raw Macintosh byte), four-character types
// in single quotes, braces; '#' starts a comment to the end of the line.
std::vector<Token> Tokenize(const std::string& text, const std::string& fileName);

class Parser {
public:
    Parser(std::vector<Token> tokens, std::string fileName);

    const Token& Peek() const { return tokens_[pos_]; }
    Token Next();
    bool AtEnd() const { return Peek().kind == Token::End; }
    // At a closing brace, or at the end, where ExpectClose reports the missing brace.
    bool AtClose() const { return Peek().kind == Token::Close || Peek().kind == Token::End; }
    bool AtWord(const char* word) const;
    bool AcceptWord(const char* word);
    void ExpectOpen();
    void ExpectClose();
    std::string Word(const char* what);
    long long Number(long long min, long long max, const char* what);
    std::string String(const char* what);
    ResType Type();
    bool Boolean(const char* what); // true / false / 1 / 0
    // Four numbers: top, left, bottom, right.
    std::array<std::int16_t, 4> Rect(const char* what);
    // One character given as a one-character string, or its code as a number.
    std::uint8_t Character(const char* what);

    [[noreturn]] void Fail(const std::string& message) const;
    [[noreturn]] void FailAt(int line, const std::string& message) const;
    const std::string& FileName() const { return file_; }

private:
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::string file_;
};

// Big-endian writers.
void Put8(Bytes& out, long long v);
void Put16(Bytes& out, long long v);
void Put32(Bytes& out, long long v);
void PutPascal(Bytes& out, const std::string& text, const Parser& p, const char* what);

// A Macintosh text as a quoted source string: UTF-8, with escapes for quotes, backslashes and
// control characters.
std::string Quote(const std::string& macText);

// Decoding reads through the toolkit's big-endian reader: a short read fails the whole record.
using Reader = qiva::BigEndianReader;

} // namespace qiva_rsrc
