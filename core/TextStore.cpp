#include "core/TextStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TTextRef TTextStore::Add(QByteArrayView text)
{
    if (text.isEmpty())
        return {};
    const auto length = static_cast<size_t>(text.size());
    if (length > kMaxText)
        throw std::length_error("text too long");
    if (chunks_.empty() || chunkSize_ - used_ < length) {
        // Chunks start small, so that a tiny printout stays tiny, and double up to the limit.
        if (chunks_.size() >= (size_t{1} << (32 - kPosBits)))
            throw std::length_error("text store full");
        const uint32_t next = chunks_.empty() ? 4096u : std::min(chunkSize_ * 2, kMaxText);
        chunkSize_ = std::max(next, static_cast<uint32_t>(length));
        chunks_.emplace_back(new char[chunkSize_]);
        capacity_ += chunkSize_;
        used_ = 0;
    }
    const TTextRef ref{static_cast<uint32_t>(((chunks_.size() - 1) << kPosBits) | used_),
                       static_cast<uint32_t>(length)};
    std::memcpy(chunks_.back().get() + used_, text.data(), length);
    used_ += static_cast<uint32_t>(length);
    return ref;
}

void TTextStore::Clear()
{
    chunks_.clear();
    chunkSize_ = 0;
    used_ = 0;
    capacity_ = 0;
}
