#pragma once
// Compact storage for the many texts of one printout model. A printout holds millions of short
// texts; keeping each in its own string object would cost more than the texts themselves, so
// they are packed into large chunks owned by the model and fields keep a small reference.
#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <vector>

// Where a text lives in its TTextStore. The empty text needs no storage.
struct TTextRef {
    uint32_t Offset = 0;
    uint32_t Length = 0;
};

class TTextStore {
public:
    // Copies the text in. A text longer than a chunk, or a store past four gigabytes, raises
    // std::length_error.
    TTextRef Add(QByteArrayView text);
    QByteArrayView View(TTextRef ref) const
    {
        if (ref.Length == 0)
            return {};
        return QByteArrayView(chunks_[ref.Offset >> kPosBits].get() + (ref.Offset & kPosMask),
                              static_cast<qsizetype>(ref.Length));
    }
    void Clear();
    // Bytes held, counting the unused tail of the last chunk.
    size_t Capacity() const { return capacity_; }

    static constexpr uint32_t kPosBits = 20;
    static constexpr uint32_t kMaxText = 1u << kPosBits;

private:
    static constexpr uint32_t kPosMask = kMaxText - 1;
    std::vector<std::unique_ptr<char[]>> chunks_;
    uint32_t chunkSize_ = 0;
    uint32_t used_ = 0;
    size_t capacity_ = 0;
};
