#pragma once
// Splits an RTF byte stream into groups, control words, control symbols, text and binary data.
#include <cstddef>
#include <string_view>

namespace platform::rtf {

enum class TokenType { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, Hex, Text, Binary };

struct Token {
    TokenType type = TokenType::End;
    std::string_view word; // ControlWord: its letters (at most kMaxWordLength)
    bool hasParam = false; // ControlWord: a numeric parameter followed the letters
    int param = 0;         // ControlWord parameter (clamped); Hex: the byte, or -1 when no digit followed
    char symbol = 0;       // ControlSymbol: the character after the backslash
    std::string_view data; // Text: a run of bytes; Binary: the bytes of \binN
};

// Tokens are views into the input, which must outlive them. Never fails: every byte sequence
// gives some token stream ending in End.
class Tokenizer {
public:
    static constexpr int kMaxWordLength = 32;
    static constexpr int kMaxParam = 1'000'000'000;

    explicit Tokenizer(std::string_view input) : in_(input) {}
    Token Next();

private:
    Token ReadControl();

    std::string_view in_;
    std::size_t pos_ = 0;
};

} // namespace platform::rtf
