#pragma once
// The compressed body of a printout as a forward-only stream of bytes: inflated from the file a
// buffer at a time, so a body is never held whole in memory. A second thread reads and inflates
// the next buffers while the reader takes its values from this one, a few buffers ahead at most.
#include "core/ReadError.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>
#include <memory>

class TInflateStream {
public:
    // Reads the zlib stream that starts at the device's current position; bytes after its end
    // are never looked at.
    explicit TInflateStream(QIODevice &source);
    ~TInflateStream();
    TInflateStream(const TInflateStream &) = delete;
    TInflateStream &operator=(const TInflateStream &) = delete;

    // The longest run Need() can hand out: a whole string of the format fits.
    static constexpr size_t kMaxRun = 128 * 1024;

    // The primitives raise EBodyEnded when the body ends first and ECompressionError when the
    // compressed data is damaged.
    quint8 ReadU8()
    {
        if (pos_ == end_)
            NeedSlow(1);
        return static_cast<quint8>(*pos_++);
    }
    quint16 ReadU16() { return Take<quint16>(); }
    qint32 ReadI32() { return Take<qint32>(); }
    float ReadF32()
    {
        const quint32 bits = Take<quint32>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Makes `count` (at most kMaxRun) bytes readable in one piece and returns them; Skip()
    // then consumes them. They stay valid until the next read.
    const char *Need(size_t count)
    {
        if (static_cast<size_t>(end_ - pos_) >= count)
            return pos_;
        return NeedSlow(count);
    }
    void Skip(size_t count) { pos_ += count; }

    // Copies `count` bytes of any length.
    void Read(char *to, size_t count);

    // Inflated bytes handed out so far.
    qint64 Position() const;
    // The file ended inside the compressed data: the printout is cut short.
    bool FileEnded() const { return fileEnded_; }
    // Reading the file itself failed (a disk error), which also ends the body.
    bool ReadFailed() const { return readFailed_; }

private:
    template <typename T> T Take()
    {
        const T value = qFromLittleEndian<T>(Need(sizeof(T)));
        pos_ += sizeof(T);
        return value;
    }
    const char *NeedSlow(size_t count);
    bool Fill();

    class Inflater;
    struct Chunk;
    class ReadAhead;
    std::unique_ptr<ReadAhead> readAhead_;
    Chunk *current_ = nullptr; // the buffer pos_ and end_ point into
    char *pos_ = nullptr;
    char *end_ = nullptr;
    bool streamDone_ = false;
    bool damaged_ = false; // an inflate error waits behind the bytes before it
    bool fileEnded_ = false;
    bool readFailed_ = false;
    qint64 inflated_ = 0;
};
