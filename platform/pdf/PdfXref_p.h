#pragma once
// Where a PDF file's objects lie, written as a cross-reference stream, and the small objects that
// go together into object streams: a thousand pages' dictionaries packed in a few streams take a
// ninth of their bytes written one by one, and the table of where they lie a sixth.
#include <QtGlobal>

#include <string>
#include <vector>

namespace platform {

// An object at an offset of the file, or (stream > 0) the index-th one of that object stream.
struct PdfXrefEntry {
    qint64 offset = 0;
    int stream = 0;
    int index = 0;
};

// Objects without a stream of their own, gathered for one object stream.
class PdfObjectBatch {
public:
    struct Stream {
        std::vector<int> objects; // in the order of their index in the stream
        std::string dictionary;   // the stream's own entries
        std::string data;
    };

    void Add(int obj, const std::string &body);
    size_t Count() const { return objects_.size(); }
    // The object stream of the objects added; the batch is empty afterwards.
    Stream Take();

private:
    std::vector<int> objects_;
    std::string header_; // pairs of object number and offset in bodies_
    std::string bodies_;
};

// The bytes a field of the table needs for offsets up to end.
int XrefOffsetBytes(qint64 end);

// The cross-reference stream's rows, one for each object and each 1 + offsetBytes + 2 bytes wide
// (/W [1 offsetBytes 2]); PNG row filters (/Predictor 15) when predicted. Object 0 heads the free list.
std::string XrefRows(const std::vector<PdfXrefEntry> &entries, int offsetBytes, bool predicted);

} // namespace platform
