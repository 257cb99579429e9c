// SPDX-License-Identifier: GPL-3.0-or-later
#include "initext.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ini {
namespace {

// Tab, LF, vertical tab, form feed and CR are the bytes 9 to 13. Moved up by 0x77 they are the
// five smallest signed bytes, so one comparison finds them; space and Ctrl-Z are compared apart.
constexpr char FromTab = 0x77;
constexpr char PastCr = static_cast<char>(0x85);

#if defined(__SSE2__)
inline __m128i separators16(const char *at)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
    const __m128i controls
            = _mm_cmplt_epi8(_mm_add_epi8(bytes, _mm_set1_epi8(FromTab)), _mm_set1_epi8(PastCr));
    const __m128i others = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')),
                                        _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\x1a')));
    return _mm_or_si128(controls, others);
}
#endif

#if defined(__x86_64__)
// Most processors that run the program have AVX2, which looks at twice the bytes at once; the
// program is built for those that do not as well.
[[gnu::target("avx2")]] inline __m256i separators32(const char *at)
{
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
    const __m256i controls = _mm256_cmpgt_epi8(_mm256_set1_epi8(PastCr),
                                               _mm256_add_epi8(bytes, _mm256_set1_epi8(FromTab)));
    const __m256i others = _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(' ')),
                                           _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\x1a')));
    return _mm256_or_si256(controls, others);
}

// Passes whole blocks of 64 separators; the block that ends the run is left for the search
// that finds where.
[[gnu::target("avx2")]] const char *skipBlocksAvx2(const char *p, const char *end)
{
    for (; end - p >= 64; p += 64) {
        const __m256i both = _mm256_and_si256(separators32(p), separators32(p + 32));
        if (_mm256_movemask_epi8(both) != -1)
            break;
    }
    return p;
}

const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

} // namespace

const char *skipSeparatorRun(const char *p, const char *end)
{
#if defined(__x86_64__)
    if (hasAvx2)
        p = skipBlocksAvx2(p, end);
#endif
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16) {
        const auto kept = ~static_cast<unsigned>(_mm_movemask_epi8(separators16(p))) & 0xFFFFU;
        if (kept)
            return p + std::countr_zero(kept);
    }
#endif
    while (p < end && isSeparator(*p))
        ++p;
    return p;
}

} // namespace ini
