// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// The code page in which the program reads one catalogue file. A file whose bytes are valid UTF-8
// is UTF-8; any other was written by an 8-bit Windows program and is read in the system's 8-bit
// code page: on Windows the ANSI code page, the one such programs write in (Windows-1251 on a
// Russian Windows); elsewhere Windows-1252, whose five undefined bytes map to the C1 controls of
// the same number so that every byte survives a round trip through a QString.
namespace codepage {

enum class CodePage { Utf8, System };

// The Windows number of the system's 8-bit code page: 1252 for Windows-1252, 1251 for
// Windows-1251 and so on.
unsigned systemCodePage();

bool isAscii(const char *data, std::size_t size);

// Whether a text that arrives in pieces, cut anywhere, is valid UTF-8 as a whole: no stray or
// overlong byte, no encoded surrogate, nothing beyond U+10FFFF, no sequence cut off at the end.
class Utf8Validator
{
public:
    void add(const char *data, std::size_t size);
    bool valid() const { return m_valid && m_needed == 0; }
    // Whether no more bytes can make it valid.
    bool broken() const { return !m_valid; }

    // One byte; false once the text can no longer be valid.
    bool step(unsigned char c);
    // Whether the bytes so far end where a character ends.
    bool complete() const { return m_needed == 0; }

private:
    int m_needed = 0;           // the continuation bytes that the character under way still needs
    unsigned char m_low = 0x80; // the range allowed for the next of them
    unsigned char m_high = 0xBF;
    bool m_valid = true;
};

// The length of the valid UTF-8 character that starts at data, or 0 when none does.
std::size_t utf8SequenceLength(const char *data, std::size_t size);

QString decode(CodePage page, const char *data, qsizetype size);
// Characters that the code page cannot hold become "?", which no decoded name contains.
QByteArray encode(CodePage page, const QString &text);

} // namespace codepage
