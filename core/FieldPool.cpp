#include "core/FieldPool.h"

#include "core/Pole.h"

#include <algorithm>

TPole *TFieldPool::Allocate(size_t count)
{
    if (count == 0)
        return nullptr;
    if (chunks_.empty() || chunkFields_ - used_ < count) {
        // Small at first, so that a small printout stays small; then up to 16,384 fields.
        chunkFields_ = chunks_.empty() ? 64 : std::min<size_t>(chunkFields_ * 2, 16384);
        chunkFields_ = std::max(chunkFields_, kMaxRun);
        // operator new[] of bytes is aligned for any fundamental type, which covers a field.
        chunks_.emplace_back(new std::byte[chunkFields_ * sizeof(TPole)]);
        capacity_ += chunkFields_ * sizeof(TPole);
        used_ = 0;
    }
    auto *run = reinterpret_cast<TPole *>(chunks_.back().get()) + used_;
    used_ += count;
    return run;
}

void TFieldPool::Clear()
{
    chunks_.clear();
    chunkFields_ = 0;
    used_ = 0;
    capacity_ = 0;
}
