#pragma once
// Measuring helpers shared by the benchmarks: memory from /proc and processor time. The machine is
// shared, so processor time says more about our code than wall time does.
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>

namespace bench {

// A "VmRSS:"-style value of /proc/self/status in kilobytes, or -1 when it is not there.
inline long StatusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    long kb = 0;
    while (status >> name) {
        if (name == key) {
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

// Seconds of processor time this process has used.
inline double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Bytes of the heap in use now (small blocks and mapped ones).
inline size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace bench
