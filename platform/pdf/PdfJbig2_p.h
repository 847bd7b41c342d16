#pragma once
// 1-bit images of one sheet in lossless JBIG2 as PDF's JBIG2Decode filter reads them: the shapes
// that printed text repeats (every connected patch of ink, told apart by exact equality) go once into
// a symbol dictionary shared by the sheet's bands, and each band only says where they stand.
#include <QtGlobal>

#include <functional>
#include <string>
#include <vector>

namespace platform {

// height rows of width samples, stride bytes apart, the first sample of a row in the top bit of its
// first byte; a sample equal to blackIsOne is ink.
struct Jbig2Band {
    const uchar *bits = nullptr;
    qsizetype stride = 0;
    int width = 0;
    int height = 0;
    bool blackIsOne = true;
};

struct Jbig2Sheet {
    // The symbol dictionary's segments, the JBIG2Globals of every band coded; empty when none is.
    std::string globals;
    // By band: its page segments (page information and one text region naming the dictionary), or
    // empty for a band left to another coding.
    std::vector<std::string> bands;
};

// Codes the bands where JBIG2, its share of the dictionary counted, comes out smaller than
// otherSize(band) bytes, the size of the band in CCITT group 4; that is asked only for bands where
// JBIG2 might not win.
Jbig2Sheet EncodeJbig2Sheet(const std::vector<Jbig2Band> &bands, const std::function<size_t(size_t)> &otherSize);

} // namespace platform
