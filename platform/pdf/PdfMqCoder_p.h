#pragma once
// The adaptive binary arithmetic coder of JBIG2 (the MQ coder) and what JBIG2 codes with it: integers,
// symbol numbers and generic bitmaps with the 16-pixel template.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct MqState {
    uint16_t qe;
    uint8_t nmps, nlps, switchMps;
};

// The probability estimation table, as the recommendation prints it.
inline constexpr std::array<MqState, 47> kMqStates = {{
    {0x5601, 1, 1, 1},   {0x3401, 2, 6, 0},   {0x1801, 3, 9, 0},   {0x0AC1, 4, 12, 0},  {0x0521, 5, 29, 0},
    {0x0221, 38, 33, 0}, {0x5601, 7, 6, 1},   {0x5401, 8, 14, 0},  {0x4801, 9, 14, 0},  {0x3801, 10, 14, 0},
    {0x3001, 11, 17, 0}, {0x2401, 12, 18, 0}, {0x1C01, 13, 20, 0}, {0x1601, 29, 21, 0}, {0x5601, 15, 14, 1},
    {0x5401, 16, 14, 0}, {0x5101, 17, 15, 0}, {0x4801, 18, 16, 0}, {0x3801, 19, 17, 0}, {0x3401, 20, 18, 0},
    {0x3001, 21, 19, 0}, {0x2801, 22, 19, 0}, {0x2401, 23, 20, 0}, {0x2201, 24, 21, 0}, {0x1C01, 25, 22, 0},
    {0x1801, 26, 23, 0}, {0x1601, 27, 24, 0}, {0x1401, 28, 25, 0}, {0x1201, 29, 26, 0}, {0x1101, 30, 27, 0},
    {0x0AC1, 31, 28, 0}, {0x09C1, 32, 29, 0}, {0x08A1, 33, 30, 0}, {0x0521, 34, 31, 0}, {0x0441, 35, 32, 0},
    {0x02A1, 36, 33, 0}, {0x0221, 37, 34, 0}, {0x0141, 38, 35, 0}, {0x0111, 39, 36, 0}, {0x0085, 40, 37, 0},
    {0x0049, 41, 38, 0}, {0x0025, 42, 39, 0}, {0x0015, 43, 40, 0}, {0x0009, 44, 41, 0}, {0x0005, 45, 42, 0},
    {0x0001, 45, 43, 0}, {0x5601, 46, 46, 0},
}};

class MqEncoder {
public:
    // A context's adaptive state: an index into the probability table times two, plus the more
    // probable symbol. Not of a character type, so that storing it does not make the compiler
    // reload the coder's registers.
    struct Context {
        uint16_t state = 0;
    };

    MqEncoder();
    void Encode(Context &cx, int bit);
    // Ends the code: the bytes written so far form a whole arithmetically coded segment body.
    std::string Finish();
    // Bytes out so far, for telling what a part of the code cost.
    size_t Size() const { return out_.size(); }

private:
    void ByteOut();

    uint32_t a_ = 0x8000;
    uint32_t c_ = 0;
    int ct_ = 12;
    // out_ starts with a byte before the code, which only a carry the coder never makes could reach.
    std::string out_;
};

inline void MqEncoder::Encode(Context &cx, int bit)
{
    const MqState &s = kMqStates[cx.state >> 1];
    const uint32_t qe = s.qe;
    const int mps = cx.state & 1;
    a_ -= qe;
    if (bit == mps) {
        if (a_ & 0x8000) {
            c_ += qe;
            return;
        }
        if (a_ < qe)
            a_ = qe;
        else
            c_ += qe;
        cx.state = uint16_t(s.nmps << 1 | mps);
    } else {
        if (a_ < qe)
            c_ += qe;
        else
            a_ = qe;
        cx.state = uint16_t(s.nlps << 1 | (mps ^ s.switchMps));
    }
    do {
        a_ <<= 1;
        c_ <<= 1;
        if (--ct_ == 0)
            ByteOut();
    } while (!(a_ & 0x8000));
}

// One of the integer coders (IADH, IADW, IAEX, IADT, IAFS, IADS...): each keeps its own contexts.
class MqIntegerCoder {
public:
    MqIntegerCoder() : contexts_(512) {}
    void Encode(MqEncoder &mq, int64_t value);
    // The out-of-band value that ends a run of values.
    void EncodeOob(MqEncoder &mq);

private:
    void Bits(MqEncoder &mq, uint32_t &prev, uint64_t bits, int count);

    std::vector<MqEncoder::Context> contexts_;
};

// Symbol numbers of a fixed number of bits (IAID).
class MqSymbolCoder {
public:
    explicit MqSymbolCoder(int codeLength) : length_(codeLength), contexts_(size_t(2) << codeLength) {}
    void Encode(MqEncoder &mq, uint32_t id);

private:
    int length_;
    std::vector<MqEncoder::Context> contexts_;
};

// A bitmap coded as a generic region with template 0 and its nominal adaptive pixels, without
// typical prediction; symbols of a dictionary share one coder's contexts.
class MqGenericCoder {
public:
    MqGenericCoder() : contexts_(size_t(1) << 16) {}
    // Rows of width pixels, stride bytes apart, the first pixel in the top bit of its row's first
    // byte; 1 is black.
    void Encode(MqEncoder &mq, const uint8_t *bits, size_t stride, int width, int height);

private:
    std::vector<MqEncoder::Context> contexts_;
};

} // namespace platform
