// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the reader walks a file without holding it: TextReader reads its decoded text in order,
// WindowLines finds the text's lines in a window of fixed size. A line that fits is handed out
// where it lies; a longer one passes through the window in pieces and is answered by a short
// stand-in that keeps just what the question asks of it.

#include "inireader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ini {

// What a question asks of the lines it reads, and so what a stand-in must keep.
struct LineNeeds
{
    enum class Kind {
        Header, // whether the line opens a section, and the section's name
        Key,    // whether it opens a section, else the name of the key it holds for the key list
        Value,  // whether it opens a section, else the name and value of the key it holds
    };
    Kind kind = Kind::Header;
    std::size_t nameLength = 0;  // the characters of a name that can change the answer
    std::size_t valueLength = 0; // the characters of a value that can reach the buffer
};

class TextReader
{
public:
    TextReader(const ProfileFile &file, std::size_t window);

    // Reads the next bytes of the text, at most n of them (n > 0); returns 0 only at its end.
    std::size_t read(char *out, std::size_t n);
    // Whether the file failed to read part-way; its text then ended there.
    bool failed() const { return m_failed; }

private:
    std::size_t readFile(char *out, std::size_t n);
    std::size_t readUtf16(char *out, std::size_t n);
    bool unitAhead();
    std::uint32_t unitAt(std::size_t i) const;

    const ProfileFile &m_file;
    long long m_offset;
    bool m_failed = false;
    // UTF-16 only: file bytes not yet decoded, and the UTF-8 of a character not yet handed out.
    std::unique_ptr<char[]> m_raw;
    std::size_t m_rawCapacity = 0;
    std::size_t m_rawPos = 0;
    std::size_t m_rawEnd = 0;
    char m_pending[4] = {};
    std::size_t m_pendingPos = 0;
    std::size_t m_pendingEnd = 0;
};

class WindowLines
{
public:
    WindowLines(TextReader &reader, std::size_t window);

    // The next line that is not blank, trimmed; a line longer than the window is given as its
    // stand-in for the question that `needs` describes. False at the end of the text.
    bool next(std::string_view &line, const LineNeeds &needs);
    // Whether any byte read so far is a NUL: only then can a name hold one.
    bool mayHoldNul() const { return m_sawNul; }

private:
    bool refill();
    std::string_view standIn(const LineNeeds &needs);

    TextReader &m_reader;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_window;
    const char *m_pos;
    char *m_end;
    bool m_atEnd = false;
    bool m_sawNul = false;
    std::string m_standIn;
};

} // namespace ini
