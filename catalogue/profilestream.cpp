// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilestream.h"
#include "initext.h"

#include <algorithm>
#include <cstring>

namespace ini {
namespace {

constexpr std::size_t None = std::string_view::npos;

// A line too long for the window, seen once from its first byte (never a blank) to its end in
// pieces. It keeps where the line's parts begin and end (the first NUL, the first "=", the last
// "]" before the NUL, the blanks that trimming drops) and only as many of their characters as the
// question needs, then writes a short line that the question's own code answers alike: a name
// longer than what can matter keeps that much and one more character, a value longer than what
// can reach the buffer keeps that much and the quote that closes it.
class LongLine
{
public:
    explicit LongLine(const LineNeeds &needs)
        : m_needs(needs)
    {
        const std::size_t nameLength = needs.nameLength;
        m_headerName.limit = needs.kind == LineNeeds::Kind::Header ? nameLength : 0;
        m_keyName.limit = needs.kind == LineNeeds::Kind::Header ? 0 : nameLength;
        m_keyName.start = 0;
        // One more for the opening quote, which unquoting drops.
        m_value.limit = needs.kind == LineNeeds::Kind::Value ? needs.valueLength + 1 : 0;
    }

    void add(std::string_view piece);
    void writeStandIn(std::string &out) const;

private:
    // The first characters of a part of the line, from where it starts.
    struct Capture
    {
        std::size_t start = None;
        std::size_t limit = 0;
        std::string text;

        void take(std::string_view piece, std::size_t pieceStart)
        {
            if (start == None || text.size() >= limit)
                return;
            const std::size_t from = start + text.size();
            const std::size_t pieceEnd = pieceStart + piece.size();
            if (from >= pieceEnd)
                return;
            const std::size_t n = std::min(limit - text.size(), pieceEnd - from);
            text.append(piece.substr(from - pieceStart, n));
        }
    };

    // Just past the last byte before position `at` that is no blank, and that byte.
    struct Mark
    {
        std::size_t end = 0;
        char last = 0;
    };

    bool settled() const;
    void addHeader(std::string_view piece);
    void addKey(std::string_view piece);
    void addValue(std::string_view piece);
    Mark nonBlankBefore(std::string_view piece, std::size_t at) const;
    std::size_t find(std::string_view piece, char c, std::size_t from) const;
    std::size_t firstNonBlank(std::string_view piece, std::size_t from) const;
    static void appendName(std::string &out, const Capture &name, std::size_t length);

    LineNeeds m_needs;
    std::size_t m_length = 0; // the bytes before the current piece
    char m_first = 0;
    Mark m_seen; // the last byte that is no blank before the current piece
    std::size_t m_firstNul = None;
    Mark m_beforeNul;
    // A line that starts with "[" opens a section when it holds a "]" anywhere.
    bool m_anyClose = false;
    bool m_closeAfterNul = false;
    Mark m_beforeLastClose; // the last "]" before the first NUL
    Capture m_headerName;
    std::size_t m_firstEquals = None;
    Mark m_beforeEquals;
    Capture m_keyName;
    std::size_t m_valueNul = None; // the first NUL after the "="
    Mark m_valueEnd;
    Capture m_value;
};

bool LongLine::settled() const
{
    // Only a line that starts with "[" can open a section, and the key list skips comments.
    return (m_needs.kind == LineNeeds::Kind::Header && m_first != '[')
            || (m_needs.kind == LineNeeds::Kind::Key && m_first == ';');
}

std::size_t LongLine::find(std::string_view piece, char c, std::size_t from) const
{
    if (from < m_length)
        from = m_length;
    const std::size_t hit = piece.find(c, from - m_length);
    return hit == None ? None : m_length + hit;
}

std::size_t LongLine::firstNonBlank(std::string_view piece, std::size_t from) const
{
    for (std::size_t i = from < m_length ? 0 : from - m_length; i < piece.size(); ++i) {
        if (!isBlank(piece[i]))
            return m_length + i;
    }
    return None;
}

LongLine::Mark LongLine::nonBlankBefore(std::string_view piece, std::size_t at) const
{
    for (std::size_t i = at - m_length; i > 0; --i) {
        if (!isBlank(piece[i - 1]))
            return {m_length + i, piece[i - 1]};
    }
    return m_seen;
}

void LongLine::add(std::string_view piece)
{
    if (piece.empty())
        return;
    if (m_length == 0)
        m_first = piece.front();
    if (settled()) {
        m_length += piece.size();
        return;
    }
    if (m_firstNul == None) {
        m_firstNul = find(piece, '\0', 0);
        if (m_firstNul != None)
            m_beforeNul = nonBlankBefore(piece, m_firstNul);
    }
    if (m_first == '[')
        addHeader(piece);
    if (m_needs.kind != LineNeeds::Kind::Header)
        addKey(piece);
    if (m_needs.kind == LineNeeds::Kind::Value)
        addValue(piece);
    const Mark last = nonBlankBefore(piece, m_length + piece.size());
    m_seen = last;
    m_length += piece.size();
}

void LongLine::addHeader(std::string_view piece)
{
    if (m_headerName.start == None)
        m_headerName.start = firstNonBlank(piece, 1);
    m_headerName.take(piece, m_length);
    // The name runs to the last "]" before the first NUL; one past the NUL only makes the line
    // a header, whose name the NUL then ends.
    const std::size_t end = m_length + piece.size();
    const std::size_t nameEnd = std::clamp(m_firstNul, m_length, end);
    const std::size_t close = piece.substr(0, nameEnd - m_length).rfind(']');
    if (close != None) {
        m_anyClose = true;
        m_beforeLastClose = nonBlankBefore(piece, m_length + close);
    }
    if (!m_closeAfterNul && m_firstNul != None && find(piece, ']', m_firstNul + 1) != None)
        m_anyClose = m_closeAfterNul = true;
}

void LongLine::addKey(std::string_view piece)
{
    m_keyName.take(piece, m_length);
    if (m_firstEquals == None) {
        m_firstEquals = find(piece, '=', 0);
        if (m_firstEquals != None)
            m_beforeEquals = nonBlankBefore(piece, m_firstEquals);
    }
}

void LongLine::addValue(std::string_view piece)
{
    if (m_firstEquals == None)
        return;
    // A NUL ends the value; blanks before it are trimmed, a NUL first leaves it empty.
    if (m_value.start == None)
        m_value.start = firstNonBlank(piece, m_firstEquals + 1);
    m_value.take(piece, m_length);
    if (m_valueNul == None) {
        m_valueNul = m_firstNul > m_firstEquals ? m_firstNul : find(piece, '\0', m_firstEquals + 1);
        if (m_valueNul != None)
            m_valueEnd = m_valueNul == m_firstNul ? m_beforeNul : nonBlankBefore(piece, m_valueNul);
    }
}

void LongLine::appendName(std::string &out, const Capture &name, std::size_t length)
{
    if (length <= name.limit) {
        out.append(name.text, 0, length);
        return;
    }
    // Longer than can matter: what is kept, and one character that no trimming removes.
    out.append(name.text, 0, name.limit);
    out += 'x';
}

void LongLine::writeStandIn(std::string &out) const
{
    out.clear();
    const auto lengthTo = [](std::size_t start, std::size_t end) {
        return start != None && end > start ? end - start : 0;
    };
    const bool header = m_first == '[' && m_anyClose;
    if (m_needs.kind == LineNeeds::Kind::Header) {
        if (!header) {
            out += ';';
            return;
        }
        const Mark nameEnd = m_closeAfterNul ? m_beforeNul : m_beforeLastClose;
        out += '[';
        appendName(out, m_headerName, lengthTo(m_headerName.start, nameEnd.end));
        out += ']';
        return;
    }
    if (header) {
        out += "[]";
        return;
    }
    // No key: a comment to the key list, or a line without "=", which no question reads.
    const bool comment = m_needs.kind == LineNeeds::Kind::Key && m_first == ';';
    if (comment || m_firstEquals == None) {
        out += ';';
        return;
    }
    const Mark nameEnd = m_firstNul < m_firstEquals ? m_beforeNul : m_beforeEquals;
    appendName(out, m_keyName, nameEnd.end);
    out += '=';
    if (m_needs.kind != LineNeeds::Kind::Value)
        return;
    const Mark valueEnd = m_valueNul == None ? m_seen : m_valueEnd;
    const std::size_t length = lengthTo(m_value.start, valueEnd.end);
    if (length <= m_value.limit) {
        out.append(m_value.text, 0, length);
        return;
    }
    // Unquoting looks at both ends of the whole value: the stand-in ends in its closing quote
    // when the value does, else in a character that closes no quote.
    const char open = m_value.text.front();
    const bool quoted = (open == '"' || open == '\'') && valueEnd.last == open;
    out += m_value.text;
    out += quoted ? open : 'x';
}

} // namespace

ProfileFile::ProfileFile(const char *path)
    : m_system(path)
{
    char mark[3] = {};
    const long long marked = m_system.readAt(mark, sizeof mark, 0);
    if (marked <= 0)
        return;
    const std::string_view start(mark, static_cast<std::size_t>(marked));
    if (start.starts_with("\xEF\xBB\xBF")) {
        m_textStart = 3;
    } else if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
        m_textStart = 2;
        m_encoding = start[0] == '\xFE' ? Encoding::Utf16BE : Encoding::Utf16LE;
    }
}

void ProfileFile::scan(const std::function<bool(std::string_view)> &piece, std::size_t window) const
{
    TextReader reader(*this, window);
    const std::size_t capacity = std::max<std::size_t>(window, 1);
    const std::unique_ptr<char[]> bytes(new char[capacity]);
    std::size_t n = reader.read(bytes.get(), capacity);
    while (n > 0 && piece(std::string_view(bytes.get(), n)))
        n = reader.read(bytes.get(), capacity);
}

TextReader::TextReader(const ProfileFile &file, std::size_t window)
    : m_file(file)
    , m_offset(file.m_textStart)
{
    if (file.m_encoding != ProfileFile::Encoding::Bytes) {
        // Room for one whole unit at least, so that every unit is decoded where it lies.
        m_rawCapacity = std::max<std::size_t>(window, 2);
        m_raw.reset(new char[m_rawCapacity]);
    }
}

std::size_t TextReader::read(char *out, std::size_t n)
{
    return m_raw ? readUtf16(out, n) : readFile(out, n);
}

std::size_t TextReader::readFile(char *out, std::size_t n)
{
    const SystemFile &file = m_file.m_system;
    if (!file.isOpen() || m_failed || m_offset >= file.size())
        return 0;
    n = static_cast<std::size_t>(
            std::min<long long>(static_cast<long long>(n), file.size() - m_offset));
    const long long got = file.readAt(out, n, m_offset);
    if (got < 0) {
        m_failed = true;
        return 0;
    }
    m_offset += got;
    return static_cast<std::size_t>(got);
}

bool TextReader::unitAhead()
{
    if (m_rawEnd - m_rawPos >= 2)
        return true;
    // An odd byte left over waits at the front for the byte that completes it.
    const std::size_t left = m_rawEnd - m_rawPos;
    std::memmove(m_raw.get(), m_raw.get() + m_rawPos, left);
    m_rawPos = 0;
    m_rawEnd = left;
    while (m_rawEnd < 2) {
        const std::size_t got = readFile(m_raw.get() + m_rawEnd, m_rawCapacity - m_rawEnd);
        if (got == 0)
            return false; // a last odd byte is no character
        m_rawEnd += got;
    }
    return true;
}

std::uint32_t TextReader::unitAt(std::size_t i) const
{
    const auto a = static_cast<unsigned char>(m_raw[i]);
    const auto b = static_cast<unsigned char>(m_raw[i + 1]);
    return m_file.m_encoding == ProfileFile::Encoding::Utf16BE ? (a << 8U | b) : (b << 8U | a);
}

// UTF-16 arrives as UTF-8; a surrogate without its partner becomes U+FFFD.
std::size_t TextReader::readUtf16(char *out, std::size_t n)
{
    std::size_t produced = 0;
    while (produced < n) {
        if (m_pendingPos < m_pendingEnd) {
            const std::size_t k = std::min(n - produced, m_pendingEnd - m_pendingPos);
            std::memcpy(out + produced, m_pending + m_pendingPos, k);
            produced += k;
            m_pendingPos += k;
            continue;
        }
        if (!unitAhead())
            break;
        std::uint32_t c = unitAt(m_rawPos);
        m_rawPos += 2;
        if (c >= 0xD800 && c < 0xE000) {
            if (c < 0xDC00 && unitAhead() && unitAt(m_rawPos) >= 0xDC00
                && unitAt(m_rawPos) < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10U) + (unitAt(m_rawPos) - 0xDC00);
                m_rawPos += 2;
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x80) {
            out[produced++] = static_cast<char>(c);
        } else {
            m_pendingPos = 0;
            m_pendingEnd = encodeUtf8(c, m_pending);
        }
    }
    return produced;
}

WindowLines::WindowLines(TextReader &reader, std::size_t window)
    : m_reader(reader)
    , m_capacity(std::max<std::size_t>(window, 1))
    , m_window(new char[m_capacity])
    , m_pos(m_window.get())
    , m_end(m_window.get())
    , m_nulSought(m_window.get())
{ }

bool WindowLines::refill()
{
    if (m_atEnd)
        return false;
    // The part of a line already in the window moves to its front, the rest follows it.
    const auto kept = static_cast<std::size_t>(m_end - m_pos);
    if (m_pos != m_window.get()) {
        const auto shift = m_pos - m_window.get();
        std::memmove(m_window.get(), m_pos, kept);
        // What was sought before the kept part is gone with it.
        m_nulSought = m_nulSought - m_window.get() > shift ? m_nulSought - shift : m_window.get();
        m_pos = m_window.get();
        m_end = m_window.get() + kept;
    }
    const std::size_t got = m_reader.read(m_end, m_capacity - kept);
    if (got == 0) {
        m_atEnd = true;
        return false;
    }
    m_end += got;
    return true;
}

bool WindowLines::nextAcrossWindows(std::string_view &line, const LineNeeds &needs)
{
    m_pos = skipSeparators(m_pos, m_end);
    while (m_pos == m_end) {
        if (!refill())
            return false;
        m_pos = skipSeparators(m_pos, m_end);
    }
    const char *stop = lineEnd(m_pos, m_end);
    while (stop == m_end && !m_atEnd) {
        const auto searched = static_cast<std::size_t>(stop - m_pos);
        if (searched == m_capacity) {
            line = standIn(needs);
            return true;
        }
        refill();
        stop = lineEnd(m_pos + searched, m_end);
    }
    line = takeLine(stop);
    return true;
}

std::string_view WindowLines::standIn(const LineNeeds &needs)
{
    LongLine line(needs);
    const char *stop = m_end; // the window is full and holds no line end
    for (;;) {
        line.add(std::string_view(m_pos, static_cast<std::size_t>(stop - m_pos)));
        m_pos = stop;
        if (stop < m_end || !refill())
            break;
        stop = lineEnd(m_pos, m_end);
    }
    line.writeStandIn(m_standIn);
    return m_standIn;
}

} // namespace ini
