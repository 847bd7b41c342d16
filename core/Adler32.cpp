#include "core/Adler32.h"

#include <algorithm>
#include <zlib.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define WENOGLAD_ADLER_AVX2 1
#endif

namespace {

constexpr uint32_t kBase = 65521;
// The longest run whose sums cannot pass 32 bits before they are reduced, as zlib counts it.
constexpr size_t kRun = 5552;

#ifdef WENOGLAD_ADLER_AVX2
// The sum of the eight 32-bit lanes.
__attribute__((target("avx2"))) uint64_t Total(__m256i v)
{
    const __m128i half = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    const __m128i quarter = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
    return uint32_t(_mm_cvtsi128_si32(_mm_add_epi32(quarter, _mm_shuffle_epi32(quarter, 0xB1))));
}

// Runs of 32 bytes: the plain sum of the bytes gives the first half; the second gains the first
// half once per byte, which for a run of n bytes is each byte weighted by how many bytes follow
// it, counted from the run's end.
__attribute__((target("avx2"))) uint32_t Adler32Avx2(uint32_t adler, const unsigned char *data, size_t size)
{
    uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
    const __m256i weights = _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14,
                                             13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i zero = _mm256_setzero_si256();
    while (size >= 32) {
        const size_t steps = std::min(size, kRun - kRun % 32) / 32;
        __m256i sums = zero, before = zero, weighted = zero;
        for (size_t i = 0; i < steps; ++i) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + 32 * i));
            before = _mm256_add_epi32(before, sums);
            sums = _mm256_add_epi32(sums, _mm256_sad_epu8(bytes, zero));
            weighted = _mm256_add_epi32(weighted, _mm256_madd_epi16(_mm256_maddubs_epi16(bytes, weights), ones));
        }
        const size_t n = 32 * steps;
        s2 = uint32_t((s2 + uint64_t(s1) * n + 32 * Total(before) + Total(weighted)) % kBase);
        s1 = uint32_t((s1 + Total(sums)) % kBase);
        data += n;
        size -= n;
    }
    return uint32_t(adler32_z(s2 << 16 | s1, data, size));
}
#endif

} // namespace

uint32_t Adler32(uint32_t adler, const unsigned char *data, size_t size)
{
#ifdef WENOGLAD_ADLER_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return Adler32Avx2(adler, data, size);
#endif
    return uint32_t(adler32_z(adler, data, size));
}
