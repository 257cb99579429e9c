// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the reader walks a file without holding it: TextReader reads its decoded text in order,
// WindowLines finds the text's lines in a window of fixed size. A line that fits is handed out
// where it lies; a longer one passes through the window in pieces and is answered by a short
// stand-in that keeps just what the question asks of it.

#include "inireader.h"
#include "initext.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
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
    bool next(std::string_view &line, const LineNeeds &needs)
    {
        // Most lines lie whole in the window, right after the end of the one before.
        const char *start = skipSeparators(m_pos, m_end);
        const char *stop = lineEnd(start, m_end);
        if (stop == m_end)
            return nextAcrossWindows(line, needs);
        m_pos = start;
        line = takeLine(stop);
        return true;
    }
    // Whether a NUL lies in the window from where it was last sought up to its end, which holds
    // the line just given: only then can a name hold one. Sought only for the questions that ask.
    bool mayHoldNul()
    {
        if (!m_sawNul && m_nulSought < m_end) {
            m_sawNul = std::memchr(m_nulSought, '\0', static_cast<std::size_t>(m_end - m_nulSought))
                    != nullptr;
            m_nulSought = m_end;
        }
        return m_sawNul;
    }

private:
    bool nextAcrossWindows(std::string_view &line, const LineNeeds &needs);
    bool refill();
    std::string_view standIn(const LineNeeds &needs);

    // The line from m_pos to stop, trimmed; its line end goes with it, CRLF as one.
    std::string_view takeLine(const char *stop)
    {
        const std::string_view line
                = trimRight(std::string_view(m_pos, static_cast<std::size_t>(stop - m_pos)));
        m_pos = stop;
        if (m_pos < m_end && *m_pos++ == '\r' && m_pos < m_end && *m_pos == '\n')
            ++m_pos;
        return line;
    }

    TextReader &m_reader;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_window;
    const char *m_pos;
    char *m_end;
    bool m_atEnd = false;
    bool m_sawNul = false;
    const char *m_nulSought;
    std::string m_standIn;
};

} // namespace ini
