#include "core/InflateStream.h"

#include <algorithm>

#ifdef WENOGLAD_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

namespace {
constexpr size_t kInSize = 64 * 1024;
constexpr size_t kOutSize = 2 * TInflateStream::kMaxRun;
} // namespace

// The zlib stream's decoder: ISA-L's where it is built, which inflates two to three times as fast
// as zlib itself, or zlib's. Both read the zlib header and check the body's checksum.
class TInflateStream::Inflater {
public:
    enum class Step { Going, NeedsInput, Ended, Damaged };

#ifdef WENOGLAD_HAVE_ISAL
    Inflater()
    {
        isal_inflate_init(&state_);
        state_.crc_flag = ISAL_ZLIB;
    }
    void Give(char *in, size_t size)
    {
        state_.next_in = reinterpret_cast<uint8_t *>(in);
        state_.avail_in = static_cast<uint32_t>(size);
    }
    bool Hungry() const
    {
        return state_.avail_in == 0;
    }
    // Inflates into out until it is full, the input runs out or the stream ends; `out` moves
    // past what was written.
    Step Run(char *&out, size_t room)
    {
        state_.next_out = reinterpret_cast<uint8_t *>(out);
        state_.avail_out = static_cast<uint32_t>(room);
        const int rc = isal_inflate(&state_);
        out = reinterpret_cast<char *>(state_.next_out);
        if (rc != ISAL_DECOMP_OK)
            return Step::Damaged; // a bad block, wrapper or checksum, or a preset dictionary
        if (state_.block_state == ISAL_BLOCK_FINISH)
            return Step::Ended;
        return state_.avail_out > 0 ? Step::NeedsInput : Step::Going;
    }

private:
    inflate_state state_{};
#else
    Inflater()
    {
        if (inflateInit(&zs_) != Z_OK)
            throw ECompressionError();
    }
    ~Inflater()
    {
        inflateEnd(&zs_);
    }
    void Give(char *in, size_t size)
    {
        zs_.next_in = reinterpret_cast<Bytef *>(in);
        zs_.avail_in = static_cast<uInt>(size);
    }
    bool Hungry() const
    {
        return zs_.avail_in == 0;
    }
    Step Run(char *&out, size_t room)
    {
        zs_.next_out = reinterpret_cast<Bytef *>(out);
        zs_.avail_out = static_cast<uInt>(room);
        const int rc = inflate(&zs_, Z_NO_FLUSH);
        out = reinterpret_cast<char *>(zs_.next_out);
        if (rc == Z_STREAM_END)
            return Step::Ended;
        if (rc == Z_BUF_ERROR && zs_.avail_in == 0)
            return Step::NeedsInput;
        if (rc != Z_OK)
            return Step::Damaged;
        return zs_.avail_out > 0 && zs_.avail_in == 0 ? Step::NeedsInput : Step::Going;
    }

private:
    z_stream zs_{};
#endif
};

TInflateStream::TInflateStream(QIODevice &source)
    : source_(source), inflater_(std::make_unique<Inflater>()), in_(new char[kInSize]), out_(new char[kOutSize])
{
    pos_ = end_ = out_.get();
}

TInflateStream::~TInflateStream() = default;

qint64 TInflateStream::Position() const
{
    return inflated_ - (end_ - pos_);
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
    char *filled = end_;
    char *const full = out_.get() + kOutSize;
    while (filled < full) {
        if (inflater_->Hungry() && !sourceDone_) {
            const qint64 got = source_.read(in_.get(), kInSize);
            if (got <= 0) {
                sourceDone_ = true;
                readFailed_ = got < 0;
            } else {
                inflater_->Give(in_.get(), static_cast<size_t>(got));
            }
        }
        const Inflater::Step step = inflater_->Run(filled, static_cast<size_t>(full - filled));
        if (step == Inflater::Step::Ended) {
            streamDone_ = true;
            break;
        }
        if (step == Inflater::Step::NeedsInput) {
            if (!inflater_->Hungry()) {
                damaged_ = true; // stuck with input left: no decoder does this with a sound stream
                break;
            }
            if (!sourceDone_)
                continue;
            // The file stops inside the compressed data: for the reader the body just ends.
            streamDone_ = true;
            fileEnded_ = true;
            break;
        }
        if (step == Inflater::Step::Damaged) {
            // The good bytes before the damage are handed out first, so that the error comes
            // where the reader reaches it, as inside a string or outside.
            damaged_ = true;
            break;
        }
    }
    const bool grew = filled != end_;
    inflated_ += filled - end_;
    end_ = filled;
    if (damaged_ && !grew)
        throw ECompressionError();
    return grew;
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
