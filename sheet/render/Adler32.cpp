#include "sheet/render/Adler32.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sheet::render {
namespace {

constexpr std::uint32_t kModulus = 65521;
// The most bytes after which the sums, taken modulo kModulus before, still fit in 32 bits (zlib's
// NMAX); a multiple of 16.
constexpr std::size_t kMostBytesBetweenReductions = 5552;

#ifdef __SSE2__
std::uint32_t sumOfLanes(__m128i v)
{
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
}
#endif

}  // namespace

std::uint32_t adler32Update(std::uint32_t adler, const unsigned char* data, std::size_t size)
{
    std::uint32_t a = adler & 0xffff;
    std::uint32_t b = adler >> 16;
#ifdef __SSE2__
    // Over n bytes x[0..n): a grows by their sum, b by n * a plus the sum of (n - i) * x[i]. Taken
    // sixteen bytes at a time: each block adds 16 * (the bytes before it in this run) to b, kept in
    // `before`, and its own bytes weighted 16 .. 1, kept in `weighted`.
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightsLow = _mm_set_epi16(9, 10, 11, 12, 13, 14, 15, 16);
    const __m128i weightsHigh = _mm_set_epi16(1, 2, 3, 4, 5, 6, 7, 8);
    while (size >= 16) {
        const std::size_t run = std::min(size, kMostBytesBetweenReductions) & ~std::size_t{15};
        __m128i sums = zero;
        __m128i before = zero;
        __m128i weighted = zero;
        for (std::size_t i = 0; i < run; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            before = _mm_add_epi32(before, sums);
            sums = _mm_add_epi32(sums, _mm_sad_epu8(bytes, zero));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weightsLow));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weightsHigh));
        }
        const std::uint64_t grownB = std::uint64_t{b} + std::uint64_t{run} * a + 16 * std::uint64_t{sumOfLanes(before)} +
                                     sumOfLanes(weighted);
        a = static_cast<std::uint32_t>((a + std::uint64_t{sumOfLanes(sums)}) % kModulus);
        b = static_cast<std::uint32_t>(grownB % kModulus);
        data += run;
        size -= run;
    }
#endif
    while (size > 0) {
        const std::size_t run = std::min(size, kMostBytesBetweenReductions);
        for (std::size_t i = 0; i < run; ++i) {
            a += data[i];
            b += a;
        }
        a %= kModulus;
        b %= kModulus;
        data += run;
        size -= run;
    }
    return b << 16 | a;
}

}  // namespace sheet::render
