// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

// Where the system has no 8-bit code page of its own, a catalogue written by an 8-bit Windows
// program is read as Windows-1252, the code page of most of them.
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

unsigned systemCodePage()
{
    return 1252;
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
