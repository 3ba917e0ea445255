#pragma once
// Which bytes of a block equal a given byte, as bits: byte i answers in bit i.
// Where the processor has no SSE2, callers keep their byte-by-byte loops.

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstdint>

namespace logweave {

inline unsigned bytesEqual(__m128i block, char c) noexcept
{
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

// The 64 bytes from `p`.
inline std::uint64_t bytesEqualIn64(const char* p, char c) noexcept
{
    std::uint64_t bits = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        bits |= std::uint64_t{bytesEqual(block, c)} << (16 * k);
    }
    return bits;
}

}  // namespace logweave
#endif
