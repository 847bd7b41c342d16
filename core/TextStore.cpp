#include "core/TextStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// FNV-1a: short texts, and the same slot for the same text in every run.
size_t Slot(QByteArrayView text, size_t slots)
{
    uint32_t h = 2166136261u;
    for (const char c : text)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return (h ^ (h >> 16)) & (slots - 1);
}

} // namespace

TTextRef TTextStore::Add(QByteArrayView text)
{
    if (text.isEmpty())
        return {};
    if (text.size() > kShareUpTo)
        return Store(text);
    if (!recent_) {
        recent_ = std::make_unique<TTextRef[]>(kRecentSlots);
        capacity_ += kRecentSlots * sizeof(TTextRef);
    }
    TTextRef &recent = recent_[Slot(text, kRecentSlots)];
    if (recent.Handle == 0 || View(recent) != text)
        recent = Store(text);
    return recent;
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
