#pragma once
// PNG's row filters as PDF's Flate filter undoes them (/Predictor 15): each row is written as its
// differences from its neighbours, which Flate packs far tighter than the samples of a drawn band.
#include <QtGlobal>

#include <string>

namespace platform {

// Appends row, bytes long, to out as a filter type byte and the row filtered by the type that
// leaves the smallest differences; above is the unfiltered row before it (null for the first) and
// bpp the bytes of one pixel.
void AppendPngRow(const uchar *row, const uchar *above, size_t bytes, int bpp, std::string &out);

} // namespace platform
