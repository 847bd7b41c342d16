#include "platform/pdf/PdfMqCoder_p.h"

namespace platform {

MqEncoder::MqEncoder() : out_(1, '\0') {}

void MqEncoder::ByteOut()
{
    auto &b = reinterpret_cast<unsigned char &>(out_.back());
    if (b == 0xFF) {
        out_.push_back(char(c_ >> 20));
        c_ &= 0xFFFFF;
        ct_ = 7;
        return;
    }
    if (c_ >= 0x8000000) {
        ++b; // the carry
        c_ &= 0x7FFFFFF;
        if (b == 0xFF) {
            out_.push_back(char(c_ >> 20));
            c_ &= 0xFFFFF;
            ct_ = 7;
            return;
        }
    }
    out_.push_back(char(c_ >> 19));
    c_ &= 0x7FFFF;
    ct_ = 8;
}

std::string MqEncoder::Finish()
{
    // The value in the final interval with the most trailing one bits, so that the fewest bytes say it.
    const uint32_t top = c_ + a_;
    c_ |= 0xFFFF;
    if (c_ >= top)
        c_ -= 0x8000;
    c_ <<= ct_;
    ByteOut();
    c_ <<= ct_;
    ByteOut();
    if (static_cast<unsigned char>(out_.back()) != 0xFF)
        out_.push_back(char(0xFF));
    out_.push_back(char(0xAC));
    std::string code = out_.substr(1);
    out_.assign(1, '\0');
    a_ = 0x8000;
    c_ = 0;
    ct_ = 12;
    return code;
}

void MqIntegerCoder::Bits(MqEncoder &mq, uint32_t &prev, uint64_t bits, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        const int bit = int(bits >> i) & 1;
        mq.Encode(contexts_[prev], bit);
        prev = prev < 256 ? (prev << 1 | uint32_t(bit)) : (((prev << 1 | uint32_t(bit)) & 511) | 256);
    }
}

void MqIntegerCoder::Encode(MqEncoder &mq, int64_t value)
{
    // Sign, then a prefix of ones ended by a zero that picks the range, then the offset into it.
    struct Range {
        uint64_t first;
        uint64_t prefix;
        int prefixBits;
        int bits;
    };
    static constexpr Range kRanges[] = {{0, 0b0, 1, 2},     {4, 0b10, 2, 4},       {20, 0b110, 3, 6},
                                        {84, 0b1110, 4, 8}, {340, 0b11110, 5, 12}, {4436, 0b11111, 5, 32}};
    uint32_t prev = 1;
    const uint64_t magnitude = value < 0 ? uint64_t(-value) : uint64_t(value);
    Bits(mq, prev, value < 0 ? 1 : 0, 1);
    size_t r = 0;
    while (r + 1 < std::size(kRanges) && magnitude >= kRanges[r + 1].first)
        ++r;
    Bits(mq, prev, kRanges[r].prefix, kRanges[r].prefixBits);
    Bits(mq, prev, magnitude - kRanges[r].first, kRanges[r].bits);
}

void MqIntegerCoder::EncodeOob(MqEncoder &mq)
{
    // Minus zero.
    uint32_t prev = 1;
    Bits(mq, prev, 1, 1);
    Bits(mq, prev, 0, 1);
    Bits(mq, prev, 0, 2);
}

void MqSymbolCoder::Encode(MqEncoder &mq, uint32_t id)
{
    uint32_t prev = 1;
    for (int i = length_ - 1; i >= 0; --i) {
        const int bit = int(id >> i) & 1;
        mq.Encode(contexts_[prev], bit);
        prev = prev << 1 | uint32_t(bit);
    }
}

void MqGenericCoder::Encode(MqEncoder &mq, const uint8_t *bits, size_t stride, int width, int height)
{
    // Three rows unpacked to a byte a pixel, with white beyond the edges: four pixels left, four right.
    const size_t padded = size_t(width) + 8;
    std::vector<uint8_t> rows(3 * padded, 0);
    uint8_t *above2 = rows.data(), *above1 = above2 + padded, *line = above1 + padded;
    for (int y = 0; y < height; ++y) {
        std::fill(line, line + padded, uint8_t(0));
        const uint8_t *src = bits + size_t(y) * stride;
        for (int x = 0; x < width; ++x)
            line[x + 4] = (src[x >> 3] >> (7 - (x & 7))) & 1;
        // Pixels [x-2, x+2] two rows up, [x-3, x+3] one row up and [x-4, x-1] on the row: the
        // template's twelve fixed pixels and its four adaptive ones at their nominal places.
        uint32_t r2 = 0, r1 = 0, r0 = 0;
        for (int i = -2; i <= 1; ++i)
            r2 = r2 << 1 | above2[4 + i];
        for (int i = -3; i <= 2; ++i)
            r1 = r1 << 1 | above1[4 + i];
        for (int x = 0; x < width; ++x) {
            r2 = (r2 << 1 | above2[x + 6]) & 0x1F;
            r1 = (r1 << 1 | above1[x + 7]) & 0x7F;
            const int pixel = line[x + 4];
            mq.Encode(contexts_[r2 << 11 | r1 << 4 | r0], pixel);
            r0 = (r0 << 1 | uint32_t(pixel)) & 0xF;
        }
        uint8_t *oldest = above2;
        above2 = above1;
        above1 = line;
        line = oldest;
    }
}

} // namespace platform
