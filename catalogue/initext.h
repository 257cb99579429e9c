// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bytes that shape an INI text, shared by the reader of a whole text and the reader that
// walks a file through a window, so that both cut lines and trim blanks alike.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

// Whether c is one of the bytes up to the space that mask holds, by number.
inline bool isAmong(char c, std::uint64_t mask)
{
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' && ((mask >> u) & 1U) != 0;
}

constexpr std::uint64_t blanks
        = 1ULL << ' ' | 1ULL << '\t' | 1ULL << '\r' | 1ULL << '\v' | 1ULL << '\f' | 1ULL << '\x1a';

inline bool isBlank(char c)
{
    return isAmong(c, blanks);
}

// What lies between two lines: blanks, which trimming drops, and the line ends themselves.
inline bool isSeparator(char c)
{
    return isAmong(c, blanks | 1ULL << '\n');
}

inline std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

inline std::string_view trim(std::string_view s)
{
    // Most names, values and lines carry no blanks at either end.
    if (!s.empty() && !isBlank(s.front()) && !isBlank(s.back()))
        return s;
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return trimRight(s);
}

// Finds the end of the line that starts at p: a CR, an LF or the end of the text.
inline const char *lineEnd(const char *p, const char *end)
{
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const auto ends = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                               _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')))));
        if (ends)
            return p + std::countr_zero(ends);
    }
#endif
    while (p < end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

// Passes a run of separators at SIMD speed; see skipSeparators.
const char *skipSeparatorRun(const char *p, const char *end);

// Finds the first byte at or after p that is neither a blank nor a line end: the trimmed start
// of the next line that is not blank.
inline const char *skipSeparators(const char *p, const char *end)
{
    // Between two lines there is mostly a line end alone: single bytes first, and only a longer
    // run, a file of empty lines say, goes to the wide search.
    for (const char *near = p + std::min<std::ptrdiff_t>(end - p, 4); p < near; ++p) {
        if (!isSeparator(*p))
            return p;
    }
    return skipSeparatorRun(p, end);
}

// Writes code point c as UTF-8 and returns the number of bytes, 1 to 4.
inline std::size_t encodeUtf8(std::uint32_t c, char *out)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

} // namespace ini
