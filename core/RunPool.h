#pragma once
// Storage for the records, lines and fields of one printout model. A block takes its lines,
// a line its fields and a record its item list as one run out of large chunks instead of an
// allocation each: with millions of lines the allocator's own overhead would weigh as much as
// a field per line. Everything is freed at once when the model is cleared, so the stored type
// must need no destructor. A run is known by a pointer or, where four bytes matter, by a handle.
#include "core/FreshMemory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

template <typename T> class TRunPool {
public:
    struct Run {
        T *At = nullptr;
        uint32_t Handle = 0; // 0: the empty run
    };

    // Room for `count` elements in one piece, not yet constructed. Raises std::length_error
    // when the pool has no handles left.
    Run Allocate(size_t count)
    {
        static_assert(std::is_trivially_destructible_v<T>, "pooled elements are never destroyed one by one");
        if (count == 0)
            return {};
        if (count > kLargest / 4) {
            // A long run gets a chunk of its own; the current chunk stays in use.
            const uint32_t chunk = NewChunk(count);
            return {Base(chunk), Handle(chunk, 0)};
        }
        if (left_ < count) {
            // Small at first, so that a small printout stays small, then doubling; always big
            // enough for the run at hand.
            next_ = std::min(next_ * 2, kLargest);
            const size_t size = std::max(next_, count);
            current_ = NewChunk(size);
            used_ = 0;
            left_ = size;
        }
        const Run run{Base(current_) + used_, Handle(current_, used_)};
        used_ += count;
        left_ -= count;
        return run;
    }

    T *Resolve(uint32_t handle) const
    {
        if (handle == 0)
            return nullptr;
        return Base((handle >> kOffsetBits) - 1) + (handle & kOffsetMask);
    }

    void Clear()
    {
        chunks_.clear();
        current_ = 0;
        used_ = 0;
        left_ = 0;
        next_ = kFirst / 2;
        capacity_ = 0;
    }

    size_t Capacity() const { return capacity_; }

private:
    static constexpr size_t kFirst = 64;
    static constexpr size_t kLargest = 16384;
    static constexpr uint32_t kOffsetBits = 14; // offsets in a chunk stay below kLargest
    static constexpr uint32_t kOffsetMask = (1u << kOffsetBits) - 1;

    T *Base(uint32_t chunk) const { return reinterpret_cast<T *>(chunks_[chunk].get()); }
    static uint32_t Handle(uint32_t chunk, size_t offset)
    {
        return ((chunk + 1) << kOffsetBits) | static_cast<uint32_t>(offset);
    }

    uint32_t NewChunk(size_t count)
    {
        if (chunks_.size() + 1 >= (size_t{1} << (32 - kOffsetBits)))
            throw std::length_error("run pool full");
        // operator new[] of bytes is aligned for every fundamental type, which covers T.
        static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
        chunks_.emplace_back(new std::byte[count * sizeof(T)]);
        PrefaultForWriting(chunks_.back().get(), count * sizeof(T));
        capacity_ += count * sizeof(T);
        return static_cast<uint32_t>(chunks_.size() - 1);
    }

    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    uint32_t current_ = 0;
    size_t used_ = 0;
    size_t left_ = 0;
    size_t next_ = kFirst / 2;
    size_t capacity_ = 0;
};
