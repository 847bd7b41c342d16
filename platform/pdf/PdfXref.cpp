#include "platform/pdf/PdfXref_p.h"

#include "platform/pdf/PdfPredictor_p.h"

namespace platform {

void PdfObjectBatch::Add(int obj, const std::string &body)
{
    header_ += std::to_string(obj) + ' ' + std::to_string(bodies_.size()) + ' ';
    objects_.push_back(obj);
    bodies_ += body;
    bodies_ += '\n';
}

PdfObjectBatch::Stream PdfObjectBatch::Take()
{
    Stream stream;
    stream.dictionary =
        "/Type /ObjStm /N " + std::to_string(objects_.size()) + " /First " + std::to_string(header_.size() + 1);
    stream.data = header_ + '\n' + bodies_;
    stream.objects.swap(objects_);
    header_.clear();
    bodies_.clear();
    return stream;
}

int XrefOffsetBytes(qint64 end)
{
    int bytes = 1;
    while (bytes < 8 && (end >> (8 * bytes)) > 0)
        ++bytes;
    return bytes;
}

std::string XrefRows(const std::vector<PdfXrefEntry> &entries, int offsetBytes, bool predicted)
{
    const size_t width = size_t(1 + offsetBytes + 2);
    std::string rows, row(width, '\0'), above;
    rows.reserve(entries.size() * (width + 1));
    for (size_t i = 0; i < entries.size(); ++i) {
        const PdfXrefEntry &e = entries[i];
        const int type = i == 0 ? 0 : e.stream > 0 ? 2 : 1;
        const quint64 field2 = type == 2 ? quint64(e.stream) : type == 1 ? quint64(e.offset) : 0;
        const int field3 = i == 0 ? 0xFFFF : type == 2 ? e.index : 0;
        row[0] = char(type);
        for (int b = 0; b < offsetBytes; ++b)
            row[size_t(1 + b)] = char((field2 >> (8 * (offsetBytes - 1 - b))) & 0xFF);
        row[width - 2] = char(field3 >> 8);
        row[width - 1] = char(field3 & 0xFF);
        if (!predicted) {
            rows += row;
            continue;
        }
        const auto *bytes = reinterpret_cast<const uchar *>(row.data());
        AppendPngRow(bytes, above.empty() ? nullptr : reinterpret_cast<const uchar *>(above.data()), width, 1, rows);
        above = row;
    }
    return rows;
}

} // namespace platform
