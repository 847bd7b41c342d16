#include "core/TextStore.h"

#include "core/FreshMemory.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// The length and the first and last eight bytes: cheap for the millions of short texts, and
// the same for the same text in every run. Texts alike there only share a slot.
uint64_t Hash(QByteArrayView text)
{
    const auto n = static_cast<size_t>(text.size());
    const char *p = text.data();
    uint64_t head = 0, tail = 0;
    if (n >= 8) {
        std::memcpy(&head, p, 8);
        std::memcpy(&tail, p + n - 8, 8);
    } else {
        for (size_t i = 0; i < n; ++i)
            head |= uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    }
    return (head * 0x9E3779B97F4A7C15u) ^ (tail * 0xC2B2AE3D27D4EB4Fu) ^ (n * 0x165667B19E3779F9u);
}

} // namespace

TTextRef TTextStore::Add(QByteArrayView text)
{
    if (text.isEmpty())
        return {};
    if (text.size() > kShareUpTo)
        return Store(text);
    if (!recent_) {
        recent_ = std::make_unique<Recent[]>(kRecentSlots);
        capacity_ += kRecentSlots * sizeof(Recent);
    }
    const uint64_t hash = Hash(text);
    // The tag turns most other texts away without reading them from their chunk.
    const auto tag = static_cast<uint32_t>(hash);
    Recent &recent = recent_[(hash >> 40) & (kRecentSlots - 1)];
    if (recent.Ref.Handle == 0 || recent.Tag != tag || View(recent.Ref) != text)
        recent = {Store(text), tag};
    return recent.Ref;
}

TTextRef TTextStore::Store(QByteArrayView text)
{
    const auto length = static_cast<size_t>(text.size());
    if (length > kMaxText)
        throw std::length_error("text too long");
    unsigned char head[3];
    size_t headSize = 0;
    for (auto rest = static_cast<uint32_t>(length);; rest >>= 7) {
        head[headSize++] = static_cast<unsigned char>((rest & 0x7fu) | (rest > 0x7fu ? 0x80u : 0u));
        if (rest <= 0x7fu)
            break;
    }
    const size_t entry = headSize + length;
    if (chunks_.empty() || chunkSize_ - used_ < entry) {
        // Chunks start small, so that a tiny printout stays tiny, and double up to the limit.
        // A place in a chunk stays below kMaxText: only a text of its own chunk fills more.
        if (chunks_.size() + 1 >= (size_t{1} << (32 - kPosBits)))
            throw std::length_error("text store full");
        const uint32_t next = chunks_.empty() ? 4096u : std::min(chunkSize_ * 2, kMaxText);
        chunkSize_ = std::max(next, static_cast<uint32_t>(entry));
        chunks_.emplace_back(new char[chunkSize_]);
        PrefaultForWriting(chunks_.back().get(), chunkSize_);
        capacity_ += chunkSize_;
        used_ = 0;
    }
    const TTextRef ref{static_cast<uint32_t>((chunks_.size() << kPosBits) | used_)};
    char *at = chunks_.back().get() + used_;
    std::memcpy(at, head, headSize);
    std::memcpy(at + headSize, text.data(), length);
    used_ += static_cast<uint32_t>(entry);
    return ref;
}

void TTextStore::Clear()
{
    chunks_.clear();
    recent_.reset();
    chunkSize_ = 0;
    used_ = 0;
    capacity_ = 0;
}
