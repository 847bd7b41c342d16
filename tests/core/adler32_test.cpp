// The body's checksum against zlib's own, over the lengths where the wide steps and the
// reductions change, with every byte at its largest, and continued over pieces.
#include "core/Adler32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

TEST(Adler32, MatchesZlib)
{
    std::vector<unsigned char> noise(70000), full(70000, 0xFF);
    unsigned x = 7;
    for (auto &b : noise)
        b = static_cast<unsigned char>((x = x * 1103515245u + 12345u) >> 23);
    for (const auto *data : {&noise, &full}) {
        for (size_t size : {0, 1, 31, 32, 33, 64, 5551, 5552, 5553, 5567, 5568, 11104, 70000}) {
            for (size_t offset : {0, 1, 7}) {
                if (offset + size > data->size())
                    continue;
                const unsigned char *p = data->data() + offset;
                EXPECT_EQ(Adler32(1, p, size), adler32_z(1, p, size)) << size << " at " << offset;
                EXPECT_EQ(Adler32(0xFFF0FFF0u, p, size), adler32_z(0xFFF0FFF0u, p, size)) << size;
            }
        }
        uint32_t pieces = 1;
        for (size_t at = 0, step = 1; at < data->size(); at += step, step = step * 3 + 1)
            pieces = Adler32(pieces, data->data() + at, std::min(step, data->size() - at));
        EXPECT_EQ(pieces, adler32_z(1, data->data(), data->size()));
    }
}
