#pragma once
// Compact storage for the many texts of one printout model. A printout holds millions of short
// texts; keeping each in its own string object would cost more than the texts themselves, so
// they are packed into large chunks owned by the model and fields keep a four-byte reference.
// Each text is stored behind its length, and a short text that was stored a moment ago is not
// stored again: listings repeat their units, rates and names on every row.
#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <vector>

// Where a text lives in its TTextStore: the chunk (from 1) above kPosBits, the place in it
// below. 0 is the empty text, which needs no storage. Texts are never changed in place, so two
// references may share one copy.
struct TTextRef {
    uint32_t Handle = 0;
    friend bool operator==(TTextRef, TTextRef) = default;
};

class TTextStore {
public:
    // Copies the text in, or returns the reference of an equal text added shortly before. A
    // text longer than kMaxText, or a store of more than 4095 chunks (about four gigabytes),
    // raises std::length_error.
    TTextRef Add(QByteArrayView text);
    QByteArrayView View(TTextRef ref) const
    {
        if (ref.Handle == 0)
            return {};
        const auto *p = reinterpret_cast<const unsigned char *>(chunks_[(ref.Handle >> kPosBits) - 1].get() +
                                                                (ref.Handle & kPosMask));
        // The length in 7-bit groups, low group first; kMaxText needs three.
        uint32_t length = p[0] & 0x7fu;
        int n = 1;
        for (int shift = 7; p[n - 1] & 0x80u; shift += 7, ++n)
            length |= uint32_t(p[n] & 0x7fu) << shift;
        return QByteArrayView(reinterpret_cast<const char *>(p + n), static_cast<qsizetype>(length));
    }
    void Clear();
    // Bytes held, counting the unused tail of the last chunk.
    size_t Capacity() const { return capacity_; }

    static constexpr uint32_t kPosBits = 20;
    static constexpr uint32_t kMaxText = 1u << kPosBits;

private:
    static constexpr uint32_t kPosMask = kMaxText - 1;
    // Texts up to this long are looked up among the recent ones before they are stored.
    static constexpr qsizetype kShareUpTo = 64;
    static constexpr size_t kRecentSlots = 4096;

    TTextRef Store(QByteArrayView text);

    std::vector<std::unique_ptr<char[]>> chunks_;
    struct Recent {
        TTextRef Ref;
        uint32_t Tag = 0; // the low half of the text's hash
    };
    std::unique_ptr<Recent[]> recent_; // by the high bits of the text's hash; made when first needed
    uint32_t chunkSize_ = 0;
    uint32_t used_ = 0;
    size_t capacity_ = 0;
};
