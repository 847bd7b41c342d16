#pragma once
// 1-bit images in CCITT group 4 (two-dimensional coding without end-of-line codes), as PDF's
// CCITTFaxDecode filter with /K -1 reads them: printed bands of text shrink to a few percent of
// their packed bits, and far below what Flate makes of them.
#include <QtGlobal>

#include <string>

namespace platform {

// Encodes height rows of width samples, stride bytes apart, the first sample of a row in the top
// bit of its first byte. A sample equal to black is black ink; the result ends with the
// end-of-block code and is padded to a whole byte. Readers take it with the filter's defaults
// (BlackIs1 false).
std::string EncodeFaxG4(const uchar *bits, qsizetype stride, int width, int height, bool blackIsOne);

} // namespace platform
