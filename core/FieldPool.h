#pragma once
// Storage for the fields of one printout model. Lines take runs of fields from large chunks
// instead of an allocation each: with millions of lines the allocator's own overhead would
// otherwise weigh as much as a field per line. Fields are freed all at once with the model.
#include <cstddef>
#include <memory>
#include <vector>

class TPole;

class TFieldPool {
public:
    // Room for `count` fields (at most kMaxRun) in one piece, not yet constructed.
    TPole *Allocate(size_t count);
    void Clear();
    size_t Capacity() const { return capacity_; }

    static constexpr size_t kMaxRun = 255;

private:
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    size_t chunkFields_ = 0;
    size_t used_ = 0;
    size_t capacity_ = 0;
};
