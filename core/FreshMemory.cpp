#include "core/FreshMemory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

void PrefaultForWriting(void *data, size_t bytes)
{
#if defined(__linux__)
    // Linux 5.14 and later; older kernels answer EINVAL and the pages fault in one by one as before.
    constexpr int kPopulateWrite = 23; // MADV_POPULATE_WRITE, missing from older headers
    if (bytes < 64 * 1024)
        return;
    static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t start = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (start + page - 1) & ~(page - 1);
    const uintptr_t end = (start + bytes) & ~(page - 1);
    if (end > first)
        madvise(reinterpret_cast<void *>(first), end - first, kPopulateWrite);
#else
    (void)data;
    (void)bytes;
#endif
}
