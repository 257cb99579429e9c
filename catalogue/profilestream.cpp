// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilestream.h"

#include <algorithm>

namespace ini {

std::size_t encodeUtf8(std::uint32_t c, char *out)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

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

void TextReader::skip(std::size_t n, char *scratch, std::size_t capacity)
{
    if (!m_raw) {
        m_offset += static_cast<long long>(n);
        return;
    }
    for (std::size_t got = 0; n > 0; n -= got) {
        got = readUtf16(scratch, std::min(n, capacity));
        if (got == 0)
            return;
    }
}

long long TextReader::offsetOf(std::string_view tail) const
{
    if (!m_raw)
        return m_offset - static_cast<long long>(tail.size());
    // Each character came of one UTF-16 unit, or of two when its UTF-8 takes four bytes. A
    // character handed out only in part was read whole: its unit counts with its first byte.
    long long units = 0;
    for (const char c : tail) {
        const auto byte = static_cast<unsigned char>(c);
        units += static_cast<long long>((byte & 0xC0U) != 0x80U)
                + static_cast<long long>(byte >= 0xF0U);
    }
    return m_offset - static_cast<long long>(m_rawEnd - m_rawPos) - 2 * units;
}

void TextReader::restart(long long offset)
{
    m_offset = offset;
    m_rawPos = m_rawEnd = 0;
    m_pendingPos = m_pendingEnd = 0;
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

LongLine::LongLine(const ProfileFile &file, std::size_t window)
    : m_file(file)
    , m_window(std::max<std::size_t>(window, 1))
{ }

void LongLine::start(long long offset, char first)
{
    m_start = offset;
    m_first = first;
    m_size = 0;
}

template<class Piece>
void LongLine::read(Part part, Piece &&piece) const
{
    if (part.begin >= part.end || m_failed)
        return;
    if (!m_reader) {
        m_reader.emplace(m_file, m_window);
        m_piece.reset(new char[m_window]);
    }
    m_reader->restart(m_start);
    m_reader->skip(part.begin, m_piece.get(), m_window);
    for (std::size_t at = part.begin; at < part.end;) {
        const std::size_t n = m_reader->read(m_piece.get(), std::min(m_window, part.end - at));
        if (n == 0) {
            // The line is no longer where it was, or no longer there at all.
            m_failed = true;
            return;
        }
        if (!piece(std::string_view(m_piece.get(), n), at))
            return;
        at += n;
    }
}

char LongLine::operator[](std::size_t i) const
{
    if (i == 0)
        return m_first;
    char c = 0;
    read({i, i + 1}, [&c](std::string_view bytes, std::size_t) {
        c = bytes.front();
        return false;
    });
    return c;
}

std::size_t LongLine::find(char c, Part part) const
{
    std::size_t found = part.end;
    read(part, [&](std::string_view bytes, std::size_t at) {
        const std::size_t hit = bytes.find(c);
        if (hit == std::string_view::npos)
            return true;
        found = at + hit;
        return false;
    });
    return found;
}

std::size_t LongLine::findLast(char c, std::size_t end) const
{
    std::size_t found = std::string_view::npos;
    read({0, end}, [&](std::string_view bytes, std::size_t at) {
        const std::size_t hit = bytes.rfind(c);
        if (hit != std::string_view::npos)
            found = at + hit;
        return true;
    });
    return found;
}

Part LongLine::trimmed(Part part) const
{
    std::size_t begin = part.end;
    read(part, [&](std::string_view bytes, std::size_t at) {
        const std::string_view rest = trimLeft(bytes);
        if (rest.empty())
            return true;
        begin = at + (bytes.size() - rest.size());
        return false;
    });
    return trimmedRight({begin, part.end});
}

Part LongLine::trimmedRight(Part part) const
{
    std::size_t end = part.begin;
    read(part, [&](std::string_view bytes, std::size_t at) {
        const std::string_view kept = trimRight(bytes);
        if (!kept.empty())
            end = at + kept.size();
        return true;
    });
    return {part.begin, end};
}

bool LongLine::equalsIgnoringCase(Part part, std::string_view name) const
{
    if (part.size() != name.size())
        return false;
    bool equal = true;
    read(part, [&](std::string_view bytes, std::size_t at) {
        equal = equalsIgnoringAsciiCase(bytes, name.substr(at - part.begin, bytes.size()));
        return equal;
    });
    return equal;
}

void LongLine::copy(Part part, char *out) const
{
    read(part, [&](std::string_view bytes, std::size_t at) {
        std::memcpy(out + (at - part.begin), bytes.data(), bytes.size());
        return true;
    });
}

WindowLines::WindowLines(const ProfileFile &file, std::size_t window)
    : m_reader(file, window)
    , m_capacity(std::max<std::size_t>(window, 1))
    , m_window(new char[m_capacity])
    , m_pos(m_window.get())
    , m_end(m_window.get())
    , m_nulSought(m_window.get())
    , m_long(file, window)
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

bool WindowLines::nextAcrossWindows(Line &line)
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
            line = passLongLine();
            return true;
        }
        refill();
        stop = lineEnd(m_pos + searched, m_end);
    }
    line = Line(trimRight(std::string_view(m_pos, static_cast<std::size_t>(stop - m_pos))), this);
    m_pos = stop;
    return true;
}

// The window is full and holds the start of the line, but not its end. The line is noted where
// it starts, then passed to its end; trimming ends it after its last byte that is no blank.
Line WindowLines::passLongLine()
{
    m_long.start(
            m_reader.offsetOf(std::string_view(m_pos, static_cast<std::size_t>(m_end - m_pos))),
            *m_pos);
    std::size_t passed = 0;
    for (;;) {
        const char *stop = lineEnd(m_pos, m_end);
        const std::string_view kept
                = trimRight(std::string_view(m_pos, static_cast<std::size_t>(stop - m_pos)));
        if (!kept.empty())
            m_long.setSize(passed + kept.size());
        passed += static_cast<std::size_t>(stop - m_pos);
        m_pos = stop;
        if (stop < m_end || !refill())
            break;
    }
    return Line(m_long);
}

} // namespace ini
