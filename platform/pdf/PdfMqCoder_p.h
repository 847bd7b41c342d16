#pragma once
// The adaptive binary arithmetic coder of JBIG2 (the MQ coder) and what JBIG2 codes with it: integers,
// symbol numbers and generic bitmaps with the 16-pixel template.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class MqEncoder {
public:
    // A context's adaptive state: an index into the probability table and the more probable symbol.
    struct Context {
        uint8_t index = 0;
        uint8_t mps = 0;
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
