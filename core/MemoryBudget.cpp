#include "core/MemoryBudget.h"

#include <algorithm>

#include <unistd.h>

qint64 DefaultMemoryBudget()
{
    static const qint64 budget = [] {
        const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || pageSize <= 0)
            return kMaxPrintoutBytes;
        return std::min(kMaxPrintoutBytes, qint64(pages) * pageSize / 2);
    }();
    return budget;
}
