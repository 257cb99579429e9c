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

} // namespace

bool isValidUtf8(const char *data, std::size_t size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *end = p + size;
    while (p < end) {
        // Catalogues are mostly ASCII: skip it eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int follow;
        // The range allowed for the second byte.
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            return false;
        }
        if (end - p <= follow || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= follow; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += follow + 1;
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
