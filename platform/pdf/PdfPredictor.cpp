#include "platform/pdf/PdfPredictor_p.h"

#include <cstdlib>

namespace platform {

namespace {

enum Filter { None, Sub, Up, Average, Paeth };

uchar PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return uchar(a);
    return uchar(pb <= pc ? b : c);
}

uchar Filtered(Filter filter, const uchar *row, const uchar *above, size_t i, int bpp)
{
    const int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0;
    const int b = above ? above[i] : 0;
    const int c = above && i >= size_t(bpp) ? above[i - size_t(bpp)] : 0;
    switch (filter) {
    case None:
        return row[i];
    case Sub:
        return uchar(row[i] - a);
    case Up:
        return uchar(row[i] - b);
    case Average:
        return uchar(row[i] - (a + b) / 2);
    case Paeth:
        return uchar(row[i] - PaethPredictor(a, b, c));
    }
    return row[i];
}

} // namespace

void AppendPngRow(const uchar *row, const uchar *above, size_t bytes, int bpp, std::string &out)
{
    // The usual heuristic: the filter whose outputs, read as signed bytes, sum smallest in size.
    Filter best = None;
    quint64 bestSum = ~quint64(0);
    for (Filter filter : {None, Sub, Up, Average, Paeth}) {
        quint64 sum = 0;
        for (size_t i = 0; i < bytes && sum < bestSum; ++i)
            sum += quint64(std::abs(int(qint8(Filtered(filter, row, above, i, bpp)))));
        if (sum < bestSum) {
            bestSum = sum;
            best = filter;
        }
        if (bestSum == 0)
            break;
    }
    out.push_back(char(best));
    for (size_t i = 0; i < bytes; ++i)
        out.push_back(char(Filtered(best, row, above, i, bpp)));
}

} // namespace platform
