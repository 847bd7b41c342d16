#include "core/InflateStream.h"

#include "core/Adler32.h"

#include <algorithm>

namespace {
constexpr size_t kInSize = 64 * 1024;
constexpr size_t kOutSize = 2 * TInflateStream::kMaxRun;
} // namespace

TInflateStream::TInflateStream(QIODevice &source) : source_(source), in_(new char[kInSize]), out_(new char[kOutSize])
{
    pos_ = end_ = out_.get();
    // The zlib wrapper is read here and the body inflated raw, so that its checksum is our own.
    if (inflateInit2(&zs_, -MAX_WBITS) != Z_OK)
        throw ECompressionError();
}

TInflateStream::~TInflateStream()
{
    inflateEnd(&zs_);
}

qint64 TInflateStream::Position() const
{
    return static_cast<qint64>(zs_.total_out) - (end_ - pos_);
}

// Moves what is left to the front of the buffer and inflates behind it until the buffer is
// full or the stream ends. False when nothing more came.
bool TInflateStream::Fill()
{
    if (damaged_)
        throw ECompressionError();
    if (streamDone_)
        return false;
    const size_t left = static_cast<size_t>(end_ - pos_);
    std::memmove(out_.get(), pos_, left);
    pos_ = out_.get();
    end_ = pos_ + left;
    zs_.next_out = reinterpret_cast<Bytef *>(end_);
    zs_.avail_out = static_cast<uInt>(kOutSize - left);
    while (zs_.avail_out > 0) {
        if (zs_.avail_in == 0 && !sourceDone_) {
            const qint64 got = source_.read(in_.get(), kInSize);
            if (got <= 0) {
                sourceDone_ = true;
                readFailed_ = got < 0;
            } else {
                zs_.next_in = reinterpret_cast<Bytef *>(in_.get());
                zs_.avail_in = static_cast<uInt>(got);
            }
        }
        if (wrapper_ != kInBody) {
            if (!TakeWrapper())
                break;
            continue;
        }
        const int rc = inflate(&zs_, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            wrapper_ = 0;
            continue;
        }
        if (rc == Z_BUF_ERROR && zs_.avail_in == 0) {
            if (!sourceDone_)
                continue;
            // The file stops inside the compressed data: for the reader the body just ends.
            streamDone_ = true;
            fileEnded_ = true;
            break;
        }
        if (rc != Z_OK) {
            // The good bytes before the damage are handed out first, so that the error comes
            // where the reader reaches it, as inside a string or outside.
            damaged_ = true;
            break;
        }
    }
    char *const filled = reinterpret_cast<char *>(zs_.next_out);
    const bool grew = filled != end_;
    adler_ = Adler32(adler_, reinterpret_cast<const unsigned char *>(end_), static_cast<size_t>(filled - end_));
    end_ = filled;
    if (streamDone_ && !fileEnded_ && !damaged_ && adler_ != expected_)
        damaged_ = true; // zlib's "incorrect data check": the bytes are handed out, then the error
    if (damaged_ && !grew)
        throw ECompressionError();
    return grew;
}

// Takes what it can of the two header bytes before the body or the four checksum bytes after it;
// false when the stream stops here, ended, cut short or damaged.
bool TInflateStream::TakeWrapper()
{
    while (zs_.avail_in > 0 && wrapper_ != kInBody && !streamDone_) {
        const quint8 byte = *zs_.next_in++;
        --zs_.avail_in;
        if (wrapper_ < 0) {
            header_ = static_cast<quint16>(header_ << 8 | byte);
            if (++wrapper_ < 0)
                continue;
            // Deflate with a window of at most 32 KB, no preset dictionary, and the check bits.
            const quint8 cmf = static_cast<quint8>(header_ >> 8);
            if ((cmf & 0x0F) != Z_DEFLATED || (cmf >> 4) > 7 || (header_ & 0x20) || header_ % 31 != 0) {
                damaged_ = true;
                return false;
            }
            wrapper_ = kInBody;
        } else {
            expected_ = expected_ << 8 | byte;
            if (++wrapper_ == 4)
                streamDone_ = true;
        }
    }
    if (streamDone_)
        return false;
    if (zs_.avail_in == 0 && sourceDone_) {
        // The file stops inside the header or the checksum: cut short, like inside the data.
        streamDone_ = true;
        fileEnded_ = true;
        return false;
    }
    return true;
}

const char *TInflateStream::NeedSlow(size_t count)
{
    while (static_cast<size_t>(end_ - pos_) < count) {
        if (!Fill())
            throw EBodyEnded();
    }
    return pos_;
}

void TInflateStream::Read(char *to, size_t count)
{
    while (count > 0) {
        if (pos_ == end_ && !Fill())
            throw EBodyEnded();
        const size_t piece = std::min(count, static_cast<size_t>(end_ - pos_));
        std::memcpy(to, pos_, piece);
        pos_ += piece;
        to += piece;
        count -= piece;
    }
}
