// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <cstdint>
#include <cstring>

namespace codepage {
namespace {

// 0x80-0x9F of Windows-1252; the undefined bytes keep their own number.
constexpr char16_t highControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encode1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (highControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The length of the UTF-8 sequence at p, or 0 when it is none: a stray or overlong byte, an
// encoded surrogate, a code point beyond U+10FFFF or a sequence cut off by the end.
std::ptrdiff_t sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char c = *p;
    if (c < 0x80)
        return 1;
    std::ptrdiff_t length = 0;
    unsigned char low = 0x80; // the range allowed for the second byte
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : low;
        high = c == 0xED ? 0x9F : high;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : low;
        high = c == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (std::ptrdiff_t i = 2; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

} // namespace

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

bool isValidUtf8(const char *data, std::size_t size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *end = p + size;
    while (p < end) {
        // Catalogues are mostly ASCII: skip it eight bytes at a time.
        if (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const std::ptrdiff_t length = sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

CodePage detect(const char *data, std::size_t size)
{
    return isValidUtf8(data, size) ? CodePage::Utf8 : CodePage::Windows1252;
}

QString decode(CodePage page, const char *data, qsizetype size)
{
    if (page == CodePage::Utf8)
        return QString::fromUtf8(data, size);
    QString text(size, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? highControls[c - 0x80] : char16_t(c);
    }
    return text;
}

QByteArray encode(CodePage page, const QString &text)
{
    if (page == CodePage::Utf8)
        return text.toUtf8();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = encode1252(text.at(i).unicode());
    return bytes;
}

} // namespace codepage
