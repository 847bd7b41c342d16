#include "core/InflateStream.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#ifdef WENOGLAD_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

namespace {
constexpr size_t kInSize = 64 * 1024;
constexpr size_t kOutSize = 2 * TInflateStream::kMaxRun;
// One buffer being read, one ready and one being inflated.
constexpr int kChunks = 3;
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

// A buffer of inflated bytes and how the stream stood after them. Room for what the reader has
// left of the buffer before stands in front of the bytes, so that a run across the two is one piece.
struct TInflateStream::Chunk {
    std::unique_ptr<char[]> room{new char[kMaxRun + kOutSize]};
    size_t size = 0;
    bool ended = false;     // the compressed stream ended after these bytes
    bool fileEnded = false; // the file ended inside it
    bool readFailed = false;
    bool damaged = false; // the bytes after these could not be inflated

    char *Bytes() { return room.get() + kMaxRun; }
    bool Last() const { return ended || fileEnded || damaged; }
};

// Reads and inflates the stream on a thread of its own, up to kChunks buffers ahead of the reader.
class TInflateStream::ReadAhead {
public:
    explicit ReadAhead(QIODevice &source) : source_(source), in_(new char[kInSize])
    {
        for (Chunk &chunk : chunks_)
            free_.push_back(&chunk);
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error &) {
            // No thread to be had (a process at its limit): Next() inflates each buffer itself.
        }
    }
    ~ReadAhead()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // The next buffer, waiting for it when it is not inflated yet.
    Chunk *Next()
    {
        if (!thread_.joinable()) {
            Chunk *next = free_.back();
            free_.pop_back();
            Inflate(*next);
            return next;
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty(); });
        Chunk *next = ready_.front();
        ready_.pop_front();
        return next;
    }
    // Hands a buffer the reader is done with back for inflating into.
    void Recycle(Chunk *done)
    {
        {
            const std::lock_guard lock(mutex_);
            free_.push_back(done);
        }
        changed_.notify_all();
    }

private:
    void Run()
    {
        for (;;) {
            Chunk *chunk;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || !free_.empty(); });
                if (stop_)
                    return;
                chunk = free_.back();
                free_.pop_back();
            }
            Inflate(*chunk);
            {
                const std::lock_guard lock(mutex_);
                ready_.push_back(chunk);
            }
            changed_.notify_all();
            if (chunk->Last())
                return;
        }
    }

    // Inflates until the buffer is full or the stream ends.
    void Inflate(Chunk &chunk)
    {
        char *const start = chunk.Bytes();
        char *filled = start;
        char *const full = start + kOutSize;
        while (filled < full) {
            if (inflater_.Hungry() && !sourceDone_) {
                const qint64 got = source_.read(in_.get(), kInSize);
                if (got <= 0) {
                    sourceDone_ = true;
                    readFailed_ = got < 0;
                } else {
                    inflater_.Give(in_.get(), static_cast<size_t>(got));
                }
            }
            const Inflater::Step step = inflater_.Run(filled, static_cast<size_t>(full - filled));
            if (step == Inflater::Step::Ended) {
                chunk.ended = true;
                break;
            }
            if (step == Inflater::Step::NeedsInput) {
                if (!inflater_.Hungry()) {
                    chunk.damaged = true; // stuck with input left: no decoder does this with a sound stream
                    break;
                }
                if (!sourceDone_)
                    continue;
                // The file stops inside the compressed data: for the reader the body just ends.
                chunk.fileEnded = true;
                break;
            }
            if (step == Inflater::Step::Damaged) {
                chunk.damaged = true;
                break;
            }
        }
        chunk.size = static_cast<size_t>(filled - start);
        chunk.readFailed = readFailed_;
    }

    QIODevice &source_; // read only by whoever inflates
    Inflater inflater_;
    std::unique_ptr<char[]> in_;
    bool sourceDone_ = false;
    bool readFailed_ = false;
    Chunk chunks_[kChunks];

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Chunk *> free_;
    std::deque<Chunk *> ready_;
    bool stop_ = false;
    std::thread thread_;
};

TInflateStream::TInflateStream(QIODevice &source) : readAhead_(std::make_unique<ReadAhead>(source)) {}

TInflateStream::~TInflateStream() = default;

qint64 TInflateStream::Position() const
{
    return inflated_ - (end_ - pos_);
}

// Takes the next buffer, with what is left of this one moved in front of it. False when nothing
// more came.
bool TInflateStream::Fill()
{
    if (damaged_)
        throw ECompressionError();
    if (streamDone_)
        return false;
    Chunk *next = readAhead_->Next();
    // Only a run that did not fit is left over, and runs are at most kMaxRun long.
    const size_t left = static_cast<size_t>(end_ - pos_);
    char *const bytes = next->Bytes();
    if (left > 0)
        std::memcpy(bytes - left, pos_, left);
    if (current_)
        readAhead_->Recycle(current_);
    current_ = next;
    pos_ = bytes - left;
    end_ = bytes + next->size;
    inflated_ += static_cast<qint64>(next->size);
    streamDone_ = next->Last();
    fileEnded_ = next->fileEnded;
    readFailed_ = next->readFailed;
    // The good bytes before damage are handed out first, so that the error comes where the
    // reader reaches it, as inside a string or outside.
    damaged_ = next->damaged;
    const bool grew = next->size > 0;
    if (damaged_ && !grew)
        throw ECompressionError();
    return grew;
}
const char *TInflateStream::NeedSlow(size_t count)
{
    if (count > kMaxRun)
        throw EBodyEnded(); // longer than any run of the format
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
