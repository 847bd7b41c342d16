// Fuzzes the printout reader. The first input byte picks the form of the rest: even, a whole
// file (header and zlib stream); odd, a bare body, which is compressed and put behind a good
// header first, so that mutations reach the body's structure instead of breaking the zlib data.
#include "core/MLineWydruk.h"
#include "core/PrintoutFile.h"

#include <QBuffer>

#include <cstdint>
#include <zlib.h>

namespace {

QByteArray AsFile(const uint8_t *data, size_t size)
{
    if ((data[0] & 1) == 0)
        return QByteArray(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    uLongf packedSize = compressBound(static_cast<uLong>(size));
    QByteArray file("WENOR2001\x06Wydruk");
    const qsizetype header = file.size();
    file.resize(header + static_cast<qsizetype>(packedSize));
    compress2(reinterpret_cast<Bytef *>(file.data() + header), &packedSize, data + 1, static_cast<uLong>(size - 1), 1);
    file.resize(header + static_cast<qsizetype>(packedSize));
    return file;
}

// Touches everything a reader leaves behind, as the layout will.
size_t Walk(const TMLine &record)
{
    size_t sum = static_cast<size_t>(record.Label().size());
    for (const TLinie *block : {&record.Title, &record.ColumnHeader, &record.SpareLines, &record.Summary})
        for (const TLinia &line : *block)
            for (const TPole &field : line) {
                sum += static_cast<size_t>(field.Text().size() + field.StyleName().size());
                sum += static_cast<size_t>(field.Styl()->Columns);
                sum += static_cast<size_t>(field.X()) + static_cast<size_t>(field.DrawnRect().Right);
                if (const TMetafileImage *picture = field.Picture())
                    sum += static_cast<size_t>(picture->Data.size());
            }
    for (const TMLine *item : record.Items())
        sum += Walk(*item);
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QByteArray file = AsFile(data, size);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    TMLineWydruk model;
    try {
        ReadPrintout(buffer, model);
    } catch (const Exception &) {
        // Errors are the expected answer to most inputs; what was read stays and is walked.
    }
    volatile size_t sink = Walk(model.Root()) + static_cast<size_t>(model.TotalLineCount());
    (void)sink;
    return 0;
}
