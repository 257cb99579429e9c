// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <cstdint>
#include <cstring>

namespace codepage {

bool isAscii(const char *data, std::size_t size)
{
    std::size_t i = 0;
    std::uint64_t high = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        high |= word;
    }
    for (; i < size; ++i)
        high |= static_cast<unsigned char>(data[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

bool Utf8Validator::step(unsigned char c)
{
    if (m_needed == 0) {
        if (c < 0x80)
            return true;
        if (c >= 0xC2 && c <= 0xDF) {
            m_needed = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            m_needed = 2;
            m_low = c == 0xE0 ? 0xA0 : 0x80;  // shorter forms are overlong
            m_high = c == 0xED ? 0x9F : 0xBF; // U+D800 and up are surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            m_needed = 3;
            m_low = c == 0xF0 ? 0x90 : 0x80;
            m_high = c == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
        } else {
            m_valid = false;
        }
        return m_valid;
    }
    if (c < m_low || c > m_high) {
        m_valid = false;
        return false;
    }
    m_low = 0x80;
    m_high = 0xBF;
    --m_needed;
    return true;
}

void Utf8Validator::add(const char *data, std::size_t size)
{
    const char *end = data + size;
    while (m_valid && data < end) {
        // Catalogues are mostly ASCII: skip it eight bytes at a time.
        if (m_needed == 0 && end - data >= 8 && isAscii(data, 8)) {
            data += 8;
            continue;
        }
        step(static_cast<unsigned char>(*data++));
    }
}

std::size_t utf8SequenceLength(const char *data, std::size_t size)
{
    Utf8Validator character;
    for (std::size_t i = 0; i < size; ++i) {
        if (!character.step(static_cast<unsigned char>(data[i])))
            return 0;
        if (character.complete())
            return i + 1;
    }
    return 0;
}

} // namespace codepage
