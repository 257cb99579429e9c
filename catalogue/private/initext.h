// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bytes that shape an INI text: the blanks that trimming drops, the line ends that cut lines,
// and the ASCII case in which names match.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

// The bytes that lie between the words of a line and between lines: blanks, which trimming
// drops, and the line feed, which only ends a line (the carriage return is a blank too). A table
// answers for a byte in one look, as every line asks several times.
enum ByteClass : unsigned char { Blank = 1, LineFeed = 2 };

inline constexpr auto byteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (const unsigned char c : {' ', '\t', '\r', '\v', '\f', '\x1a'})
        classes[c] = Blank;
    classes['\n'] = LineFeed;
    return classes;
}();

inline bool isBlank(char c)
{
    return (byteClasses[static_cast<unsigned char>(c)] & Blank) != 0;
}

// What lies between two lines: blanks and line feeds.
inline bool isSeparator(char c)
{
    return byteClasses[static_cast<unsigned char>(c)] != 0;
}

inline std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

inline std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

inline std::string_view trim(std::string_view s)
{
    // Most names, values and lines carry no blanks at either end.
    if (!s.empty() && !isBlank(s.front()) && !isBlank(s.back()))
        return s;
    return trimRight(trimLeft(s));
}

// Finds the first byte at or after p that is c, or else end.
inline const char *findByte(const char *p, const char *end, char c)
{
#if defined(__SSE2__)
    // Sixteen bytes at a time; the last sixteen overlap those before them, so that a name or a
    // line of that size or more is searched without a call and without a byte at a time.
    if (end - p >= 16) {
        const char *last = end - 16;
        for (;; p += 16) {
            p = std::min(p, last);
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const auto hits = static_cast<unsigned>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
            if (hits)
                return p + std::countr_zero(hits);
            if (p == last)
                return end;
        }
    }
#endif
    // A loop a byte at a time would end at a different byte for each name, which no branch
    // predictor foresees.
    const void *hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return hit ? static_cast<const char *>(hit) : end;
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
    // Between two lines there is mostly a line end alone, LF or CRLF: those bytes first, and
    // only a longer run, a file of empty lines say, goes to the wide search.
    if (end - p >= 3) {
        if (!isSeparator(p[0]))
            return p;
        if (!isSeparator(p[1]))
            return p + 1;
        if (!isSeparator(p[2]))
            return p + 2;
        p += 3;
    }
    return skipSeparatorRun(p, end);
}

// Copies n bytes, chunk <= n <= 2 * chunk, as two moves of chunk bytes that overlap.
template<std::size_t chunk>
inline void copyOverlapping(char *out, const char *in, std::size_t n)
{
    char head[chunk];
    char tail[chunk];
    std::memcpy(head, in, chunk);
    std::memcpy(tail, in + n - chunk, chunk);
    std::memcpy(out, head, chunk);
    std::memcpy(out + n - chunk, tail, chunk);
}

// Copies n bytes. Names and values are mostly short: a copy of 8 to 32 bytes is made of moves of
// fixed size, which need no call.
inline void copyBytes(char *out, const char *in, std::size_t n)
{
    if (n >= 16 && n <= 32)
        copyOverlapping<16>(out, in, n);
    else if (n >= 8 && n < 16)
        copyOverlapping<8>(out, in, n);
    else
        std::memcpy(out, in, n);
}

inline char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Section and key names match in any ASCII case; other bytes match only themselves.
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names of one catalogue often share their start ("Item 12", "Item 13"): the last byte
    // tells most of them apart at once.
    if (!a.empty() && asciiLower(a.back()) != asciiLower(b.back()))
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace ini
