// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the reader walks a file without holding it. ProfileFile opens the file and tells its
// encoding by its byte order mark; TextReader reads its text in order, decoded; WindowLines cuts
// the text into lines through a window of fixed size. A line that fits the window is read where it
// lies, as a HeldText; a longer one is passed to its end, and each part that a rule asks of it
// later is read again from the file, as a LongLine.

#include "initext.h"
#include "systemfile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace ini {

class WindowLines;

// The bytes of the file held in memory at once by a read: lines that fit are read in place,
// a longer one passes through in pieces of this size.
constexpr std::size_t DefaultWindow = std::size_t{256} * 1024;

// A section's key list that no buffer cuts: each name followed by a NUL, and where each of those
// NULs stands. Like any key list it ends within the largest buffer, of INT_MAX bytes.
struct KeyList
{
    std::unique_ptr<char[]> names;
    std::size_t size = 0;
    std::vector<int> ends;
};

// A section's key list as KeyList holds it, and beside it each listed name's value as a lookup of
// that name answers it, in the same form: entry k of values belongs to entry k of names.
struct KeyValueList
{
    KeyList names;
    KeyList values;
};

// An INI file opened once, to be read as often as asked without being held in memory: each read
// walks the file from its start, so it sees the bytes the file holds at that moment. A byte order
// mark is decoded away, and a UTF-16 text arrives as UTF-8. A missing, unreadable or non-regular
// file (a FIFO, a device, a folder) reads as empty text, and opening it never blocks.
class ProfileFile
{
public:
    enum class Encoding { Bytes, Utf16LE, Utf16BE };

    explicit ProfileFile(const char *path);
    ProfileFile(const ProfileFile &) = delete;
    ProfileFile &operator=(const ProfileFile &) = delete;

    // getPrivateProfileString on this file, holding at most `window` bytes of its text at a
    // time (at least one), and as many undecoded bytes of a UTF-16 file, twice over while a line
    // longer than the window is read, besides what the answer itself needs: about the buffer's
    // size and the key's length.
    int getString(const char *section, const char *key, const char *defaultText, char *buffer,
                  int size, std::size_t window = DefaultWindow) const;

    // The section's key list as the largest buffer would hold it, from one walk of the file: it
    // takes only as much memory as its names need.
    KeyList keyList(const char *section, std::size_t window = DefaultWindow) const;

    // The same key list, with the value that getString with a buffer of valueSize (at least 1)
    // places for each name, from the same one walk: a name listed twice, in any ASCII case, has
    // the first one's value both times. Should the values outgrow the largest buffer, both lists
    // end before the name whose value no longer fits.
    KeyValueList keyValues(const char *section, int valueSize,
                           std::size_t window = DefaultWindow) const;

    // Hands the decoded text to piece in order, at most `window` bytes at a time, until piece
    // returns false or the text ends.
    void scan(const std::function<bool(std::string_view)> &piece,
              std::size_t window = DefaultWindow) const;

private:
    friend class TextReader;

    // The bytes that a whole list takes at first.
    std::size_t firstListRoom() const;

    // The file's size stays what it was when it was opened: what the file gains meanwhile is
    // left for the next read.
    SystemFile m_system;
    long long m_textStart = 0; // where the text starts past its byte order mark
    Encoding m_encoding = Encoding::Bytes;
};

// Writes code point c as UTF-8 and returns the number of bytes, 1 to 4. A surrogate is encoded
// like any other code point, as a file name on Windows may hold one without its partner.
std::size_t encodeUtf8(std::uint32_t c, char *out);

// The file's text in order, decoded. UTF-16 arrives as UTF-8; a surrogate without its partner
// becomes U+FFFD so that the text stays valid UTF-8.
class TextReader
{
public:
    TextReader(const ProfileFile &file, std::size_t window);

    // Reads the next bytes of the text, at most n of them (n > 0); returns 0 only at its end.
    std::size_t read(char *out, std::size_t n);
    // Passes over the next n bytes of the text; those of a UTF-16 file are decoded on the way,
    // through scratch, which holds capacity bytes.
    void skip(std::size_t n, char *scratch, std::size_t capacity);
    // Where the text reads again as tail: tail is what the last reads handed out ends with, and
    // starts where a character starts.
    long long offsetOf(std::string_view tail) const;
    // Reads on from offset, which offsetOf gave.
    void restart(long long offset);
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

// A part of a line, from its byte begin to just before its byte end.
struct Part
{
    std::size_t begin = 0;
    std::size_t end = 0;

    std::size_t size() const { return end - begin; }
};

// The two kinds of text that the rules read alike, HeldText and LongLine, each answer these
// questions of a part of it: where a byte first or last stands, where the part ends as a C string
// (at a NUL), the part trimmed of blanks, whether it equals a name in any ASCII case, and its
// bytes.

// A text that lies whole in memory: a line that fits the window, or the caller's default.
class HeldText
{
public:
    // window: the window that holds the line, which knows whether it holds a NUL at all.
    explicit HeldText(std::string_view text, WindowLines *window = nullptr)
        : m_text(text)
        , m_window(window)
    { }

    std::size_t size() const { return m_text.size(); }
    char front() const { return m_text.front(); }
    char operator[](std::size_t i) const { return m_text[i]; }

    // Where c first stands in part, or part.end when it does not.
    std::size_t find(char c, Part part) const
    {
        return offset(findByte(m_text.data() + part.begin, m_text.data() + part.end, c));
    }
    // Where part ends as a C string: at its first NUL, if any.
    inline std::size_t cutAtNul(Part part) const;
    // Where c last stands before end, or npos.
    std::size_t findLast(char c, std::size_t end) const { return within({0, end}).rfind(c); }
    // The part without the blanks at its ends, or at its end alone.
    Part trimmed(Part part) const { return bounds(trim(within(part))); }
    Part trimmedRight(Part part) const { return bounds(trimRight(within(part))); }
    bool equalsIgnoringCase(Part part, std::string_view name) const
    {
        return equalsIgnoringAsciiCase(within(part), name);
    }
    // Writes the part's bytes to out.
    void copy(Part part, char *out) const
    {
        copyBytes(out, m_text.data() + part.begin, part.size());
    }

private:
    std::size_t offset(const char *p) const { return static_cast<std::size_t>(p - m_text.data()); }
    std::string_view within(Part part) const { return {m_text.data() + part.begin, part.size()}; }
    Part bounds(std::string_view part) const
    {
        return {offset(part.data()), offset(part.data()) + part.size()};
    }

    std::string_view m_text;
    WindowLines *m_window;
};

// A line too long for the window: where it starts in the file and how long it is, trimmed. Each
// part that a rule asks of it is read again from there, through a window of its own.
class LongLine
{
public:
    LongLine(const ProfileFile &file, std::size_t window);

    // The line that starts at offset (TextReader::offsetOf) with the byte first; its size follows
    // once the walk has passed its end.
    void start(long long offset, char first);
    void setSize(std::size_t size) { m_size = size; }
    // Whether the file failed to give the line again, or changed meanwhile.
    bool failed() const { return m_failed; }

    std::size_t size() const { return m_size; }
    char front() const { return m_first; }
    char operator[](std::size_t i) const;
    std::size_t find(char c, Part part) const;
    std::size_t cutAtNul(Part part) const { return find('\0', part); }
    std::size_t findLast(char c, std::size_t end) const;
    Part trimmed(Part part) const;
    Part trimmedRight(Part part) const;
    bool equalsIgnoringCase(Part part, std::string_view name) const;
    void copy(Part part, char *out) const;

private:
    // Hands the bytes of part to piece(bytes, offset in the line) in order, until piece returns
    // false.
    template<class Piece>
    void read(Part part, Piece &&piece) const;

    const ProfileFile &m_file;
    std::size_t m_window;
    long long m_start = 0;
    char m_first = 0;
    std::size_t m_size = 0;
    // Reading again moves a reader of its own, made when the first long line is met: most files
    // have none.
    mutable bool m_failed = false;
    mutable std::optional<TextReader> m_reader;
    mutable std::unique_ptr<char[]> m_piece;
};

// One line of the text as the walk hands it out: never empty, without the blanks at either end,
// cut at its line end. It is held where it lies in the window, or else read again as a LongLine.
class Line
{
public:
    Line() = default;
    Line(std::string_view held, WindowLines *window)
        : m_held(held)
        , m_window(window)
    { }
    explicit Line(const LongLine &line)
        : m_long(&line)
    { }

    // Applies rule to the line as the text that it is, a HeldText or a LongLine: the rules are
    // written once for both, and each line picks its kind once.
    template<class Rule>
    decltype(auto) visit(Rule &&rule) const
    {
        if (m_long)
            return rule(*m_long);
        return rule(HeldText(m_held, m_window));
    }

private:
    std::string_view m_held;
    WindowLines *m_window = nullptr;
    const LongLine *m_long = nullptr;
};

// The lines of a file's text, walked once from its start through a window of fixed size.
class WindowLines
{
public:
    WindowLines(const ProfileFile &file, std::size_t window);

    // The next line that is not blank; false at the end of the text. CR, LF and CRLF all end a
    // line, and what lies between two lines (line ends, blanks) belongs to neither.
    bool next(Line &line)
    {
        // Most lines lie whole in the window, right after the end of the one before.
        const char *start = skipSeparators(m_pos, m_end);
        const char *stop = lineEnd(start, m_end);
        if (stop == m_end)
            return nextAcrossWindows(line);
        line = Line(trimRight(std::string_view(start, static_cast<std::size_t>(stop - start))),
                    this);
        m_pos = stop;
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
    // Whether the file failed to read part-way; the walk then saw only part of its text.
    bool failed() const { return m_reader.failed() || m_long.failed(); }

private:
    bool nextAcrossWindows(Line &line);
    Line passLongLine();
    bool refill();

    TextReader m_reader;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_window;
    const char *m_pos;
    char *m_end;
    bool m_atEnd = false;
    bool m_sawNul = false;
    const char *m_nulSought;
    LongLine m_long;
};

std::size_t HeldText::cutAtNul(Part part) const
{
    // A window without a NUL, as most are, needs no search per name.
    if (m_window && !m_window->mayHoldNul())
        return part.end;
    return find('\0', part);
}

} // namespace ini
