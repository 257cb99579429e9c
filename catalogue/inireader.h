// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "systemfile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ini {

// Reads one value, or with key == nullptr the section's key list, from an INI file the way
// Windows' GetPrivateProfileStringA does. Returns the number of characters placed in buffer,
// the final NUL not counted; never writes at or past buffer[size]; reports no error.
// With section == nullptr it lists the file's section names instead.
int getPrivateProfileString(const char *section, const char *key, const char *defaultText,
                            char *buffer, int size, const char *path);

// The bytes of the file held in memory at once by a read: lines that fit are read in place,
// a longer one passes through in pieces of this size.
constexpr std::size_t DefaultWindow = std::size_t{256} * 1024;

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
    // time (at least one), and as many undecoded bytes of a UTF-16 file, besides what the answer
    // itself needs: about the buffer's size and the key's length.
    int getString(const char *section, const char *key, const char *defaultText, char *buffer,
                  int size, std::size_t window = DefaultWindow) const;

    // Hands the decoded text to piece in order, at most `window` bytes at a time, until piece
    // returns false or the text ends.
    void scan(const std::function<bool(std::string_view)> &piece,
              std::size_t window = DefaultWindow) const;

private:
    friend class TextReader;

    // The file's size stays what it was when it was opened: what the file gains meanwhile is
    // left for the next read.
    SystemFile m_system;
    long long m_textStart = 0; // where the text starts past its byte order mark
    Encoding m_encoding = Encoding::Bytes;
};

// A file's text as the reader sees it, held whole in memory: the reader that the file-walking
// one answers exactly like, byte for byte.
struct ProfileText
{
    std::string bytes;
    bool fromByteOrderMark = false; // the file began with a UTF-8 or UTF-16 byte order mark
};

// The file contents decoded as a ProfileFile decodes them.
ProfileText profileFromBytes(std::string bytes);

// getPrivateProfileString on a file already loaded.
int getProfileString(const ProfileText &text, const char *section, const char *key,
                     const char *defaultText, char *buffer, int size);

} // namespace ini
