#include "platform/pdf/PdfFax_p.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

struct Code {
    quint16 bits = 0;
    quint8 length = 0;
};

// Codes are written as the recommendation prints them, so that the tables can be read against it.
constexpr Code C(const char *text)
{
    Code code;
    for (; *text; ++text, ++code.length)
        code.bits = quint16(code.bits << 1 | (*text == '1' ? 1 : 0));
    return code;
}

// Terminating codes of runs 0 to 63.
constexpr std::array<Code, 64> kWhiteRun = {
    C("00110101"), C("000111"),   C("0111"),     C("1000"),     C("1011"),     C("1100"),     C("1110"),
    C("1111"),     C("10011"),    C("10100"),    C("00111"),    C("01000"),    C("001000"),   C("000011"),
    C("110100"),   C("110101"),   C("101010"),   C("101011"),   C("0100111"),  C("0001100"),  C("0001000"),
    C("0010111"),  C("0000011"),  C("0000100"),  C("0101000"),  C("0101011"),  C("0010011"),  C("0100100"),
    C("0011000"),  C("00000010"), C("00000011"), C("00011010"), C("00011011"), C("00010010"), C("00010011"),
    C("00010100"), C("00010101"), C("00010110"), C("00010111"), C("00101000"), C("00101001"), C("00101010"),
    C("00101011"), C("00101100"), C("00101101"), C("00000100"), C("00000101"), C("00001010"), C("00001011"),
    C("01010010"), C("01010011"), C("01010100"), C("01010101"), C("00100100"), C("00100101"), C("01011000"),
    C("01011001"), C("01011010"), C("01011011"), C("01001010"), C("01001011"), C("00110010"), C("00110011"),
    C("00110100")};
constexpr std::array<Code, 64> kBlackRun = {
    C("0000110111"),   C("010"),          C("11"),           C("10"),           C("011"),          C("0011"),
    C("0010"),         C("00011"),        C("000101"),       C("000100"),       C("0000100"),      C("0000101"),
    C("0000111"),      C("00000100"),     C("00000111"),     C("000011000"),    C("0000010111"),   C("0000011000"),
    C("0000001000"),   C("00001100111"),  C("00001101000"),  C("00001101100"),  C("00000110111"),  C("00000101000"),
    C("00000010111"),  C("00000011000"),  C("000011001010"), C("000011001011"), C("000011001100"), C("000011001101"),
    C("000001101000"), C("000001101001"), C("000001101010"), C("000001101011"), C("000011010010"), C("000011010011"),
    C("000011010100"), C("000011010101"), C("000011010110"), C("000011010111"), C("000001101100"), C("000001101101"),
    C("000011011010"), C("000011011011"), C("000001010100"), C("000001010101"), C("000001010110"), C("000001010111"),
    C("000001100100"), C("000001100101"), C("000001010010"), C("000001010011"), C("000000100100"), C("000000110111"),
    C("000000111000"), C("000000100111"), C("000000101000"), C("000001011000"), C("000001011001"), C("000000101011"),
    C("000000101100"), C("000001011010"), C("000001100110"), C("000001100111")};
// Make-up codes of runs 64 to 1728, by run / 64 - 1.
constexpr std::array<Code, 27> kWhiteMakeUp = {
    C("11011"),     C("10010"),     C("010111"),    C("0110111"),   C("00110110"),  C("00110111"),  C("01100100"),
    C("01100101"),  C("01101000"),  C("01100111"),  C("011001100"), C("011001101"), C("011010010"), C("011010011"),
    C("011010100"), C("011010101"), C("011010110"), C("011010111"), C("011011000"), C("011011001"), C("011011010"),
    C("011011011"), C("010011000"), C("010011001"), C("010011010"), C("011000"),    C("010011011")};
constexpr std::array<Code, 27> kBlackMakeUp = {
    C("0000001111"),    C("000011001000"),  C("000011001001"),  C("000001011011"),  C("000000110011"),
    C("000000110100"),  C("000000110101"),  C("0000001101100"), C("0000001101101"), C("0000001001010"),
    C("0000001001011"), C("0000001001100"), C("0000001001101"), C("0000001110010"), C("0000001110011"),
    C("0000001110100"), C("0000001110101"), C("0000001110110"), C("0000001110111"), C("0000001010010"),
    C("0000001010011"), C("0000001010100"), C("0000001010101"), C("0000001011010"), C("0000001011011"),
    C("0000001100100"), C("0000001100101")};
// Make-up codes of runs 1792 to 2560, the same for both colours.
constexpr std::array<Code, 13> kWideMakeUp = {
    C("00000001000"),  C("00000001100"),  C("00000001101"),  C("000000010010"), C("000000010011"),
    C("000000010100"), C("000000010101"), C("000000010110"), C("000000010111"), C("000000011100"),
    C("000000011101"), C("000000011110"), C("000000011111")};

constexpr Code kPass = C("0001");
constexpr Code kHorizontal = C("001");
// Vertical mode, by a1 - b1 + 3.
constexpr std::array<Code, 7> kVertical = {C("0000010"), C("000010"), C("010"),    C("1"),
                                           C("011"),     C("000011"), C("0000011")};
constexpr Code kEndOfLine = C("000000000001");

class BitWriter {
public:
    explicit BitWriter(std::string &out) : out_(out) {}
    void Put(Code code)
    {
        acc_ = acc_ << code.length | code.bits;
        n_ += code.length;
        while (n_ >= 8) {
            n_ -= 8;
            out_.push_back(char(acc_ >> n_));
        }
    }
    void Flush()
    {
        if (n_ > 0)
            out_.push_back(char(acc_ << (8 - n_)));
        n_ = 0;
    }

private:
    std::string &out_;
    quint64 acc_ = 0;
    int n_ = 0;
};

void PutRun(BitWriter &w, int run, bool black)
{
    for (; run > 2560; run -= 2560)
        w.Put(kWideMakeUp.back());
    if (run >= 1792)
        w.Put(kWideMakeUp[size_t(run / 64 - 28)]);
    else if (run >= 64)
        w.Put((black ? kBlackMakeUp : kWhiteMakeUp)[size_t(run / 64 - 1)]);
    w.Put((black ? kBlackRun : kWhiteRun)[size_t(run % 64)]);
}

// Where the colour changes along a row that starts white: the first change turns to black, the
// next to white, and so on; three entries of width close the list, as the coder looks up to two
// past the last real change.
void Changes(const uchar *row, int width, uchar flip, std::vector<int> &out)
{
    out.clear();
    const int bytes = (width + 7) / 8;
    uchar same = 0x00; // a byte all of the current colour
    for (int i = 0; i < bytes;) {
        // Most of a printed line is paper: eight bytes at a time while they continue the run.
        if (i + 8 <= bytes) {
            quint64 word;
            std::memcpy(&word, row + i, sizeof word);
            if ((word ^ (flip * 0x0101010101010101ull)) == same * 0x0101010101010101ull) {
                i += 8;
                continue;
            }
        }
        const uchar b = uchar(row[i] ^ flip);
        // The bits from `from` on that differ from the current colour: each first one is a change.
        for (int from = 0;;) {
            const uchar differ = uchar((b ^ same) & (0xFF >> from));
            if (!differ)
                break;
            from = std::countl_zero(differ);
            const int x = i * 8 + from;
            if (x >= width)
                break;
            out.push_back(x);
            same = uchar(~same);
        }
        ++i;
    }
    out.insert(out.end(), 3, width);
}

} // namespace

std::string EncodeFaxG4(const uchar *bits, qsizetype stride, int width, int height, bool blackIsOne)
{
    std::string out;
    BitWriter w(out);
    const uchar flip = blackIsOne ? 0x00 : 0xFF;
    // The line above the first is white.
    std::vector<int> ref(3, width), cur;
    for (int y = 0; y < height; ++y) {
        Changes(bits + y * stride, width, flip, cur);
        int a0 = -1;
        int colour = 0; // of the run that a0 begins
        size_t ia = 0, k = 0;
        while (a0 < width) {
            while (cur[ia] <= a0)
                ++ia;
            const int a1 = cur[ia];
            // b1 is the first change above, right of a0, to the colour opposite a0's; changes at
            // even indexes turn to black.
            while (ref[k] <= a0)
                ++k;
            const size_t j = (k & 1) == size_t(colour) ? k : k + 1;
            const int b1 = ref[j], b2 = ref[j + 1];
            if (b2 < a1) {
                w.Put(kPass);
                a0 = b2;
            } else if (std::abs(a1 - b1) <= 3) {
                w.Put(kVertical[size_t(a1 - b1 + 3)]);
                a0 = a1;
                colour ^= 1;
            } else {
                const int a2 = cur[ia + 1];
                w.Put(kHorizontal);
                PutRun(w, a1 - std::max(a0, 0), colour);
                PutRun(w, a2 - a1, !colour);
                a0 = a2;
            }
        }
        ref.swap(cur);
    }
    w.Put(kEndOfLine);
    w.Put(kEndOfLine);
    w.Flush();
    return out;
}

} // namespace platform
