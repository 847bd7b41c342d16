#include "platform/richtext/RtfTokenizer.h"

#include <algorithm>
#include <cstdint>

namespace platform::rtf {

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Token Tokenizer::Next()
{
    Token t;
    while (pos_ < in_.size()) {
        const char c = in_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            t.type = TokenType::GroupOpen;
            return t;
        case '}':
            ++pos_;
            t.type = TokenType::GroupClose;
            return t;
        case '\\':
            return ReadControl();
        case '\r':
        case '\n':
        case '\0':
            ++pos_; // line ends in the file are not text
            continue;
        default: {
            const std::size_t start = pos_;
            while (pos_ < in_.size()) {
                const char d = in_[pos_];
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n' || d == '\0')
                    break;
                ++pos_;
            }
            t.type = TokenType::Text;
            t.data = in_.substr(start, pos_ - start);
            return t;
        }
        }
    }
    return t;
}

Token Tokenizer::ReadControl()
{
    Token t;
    ++pos_; // the backslash
    if (pos_ >= in_.size())
        return t; // a lone backslash at the very end
    const char c = in_[pos_];
    if (!IsLetter(c)) {
        ++pos_;
        if (c == '\'') {
            int value = -1;
            for (int i = 0; i < 2 && pos_ < in_.size(); ++i) {
                const int h = HexValue(in_[pos_]);
                if (h < 0)
                    break;
                value = (value < 0 ? 0 : value * 16) + h;
                ++pos_;
            }
            t.type = TokenType::Hex;
            t.param = value;
            return t;
        }
        t.type = TokenType::ControlSymbol;
        t.symbol = c == '\r' ? '\n' : c; // backslash before a line end is a paragraph mark
        return t;
    }

    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_]))
        ++pos_;
    t.type = TokenType::ControlWord;
    t.word = in_.substr(start, std::min<std::size_t>(pos_ - start, kMaxWordLength));

    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < in_.size() && IsDigit(in_[pos_])) {
        std::int64_t value = 0;
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), kMaxParam);
            ++pos_;
        }
        t.hasParam = true;
        t.param = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < in_.size() && in_[pos_] == ' ')
        ++pos_; // the delimiting space belongs to the control word

    if (t.word == "bin") {
        const std::size_t left = in_.size() - pos_;
        const std::size_t n = t.hasParam && t.param > 0 ? std::min<std::size_t>(t.param, left) : 0;
        t.type = TokenType::Binary;
        t.data = in_.substr(pos_, n);
        pos_ += n;
    }
    return t;
}

} // namespace platform::rtf
