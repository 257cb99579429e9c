// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace ini {

// Reads one value, or with key == nullptr the section's key list, from an INI file the way
// Windows' GetPrivateProfileStringA does. Returns the number of characters placed in buffer,
// the final NUL not counted; never writes at or past buffer[size]; reports no error.
// With section == nullptr it lists the file's section names instead.
int getPrivateProfileString(const char *section, const char *key, const char *defaultText,
                            char *buffer, int size, const char *path);

// A file's text as the reader sees it, read once: a byte order mark is decoded away, and a
// UTF-16 text arrives as UTF-8. A missing, unreadable or non-regular file gives an empty text.
struct ProfileText
{
    std::string bytes;
    bool fromByteOrderMark = false; // the file began with a UTF-8 or UTF-16 byte order mark
};

ProfileText loadProfile(const char *path);

// The same decoding for file contents already in memory.
ProfileText profileFromBytes(std::string bytes);

// getPrivateProfileString on a file already loaded.
int getProfileString(const ProfileText &text, const char *section, const char *key,
                     const char *defaultText, char *buffer, int size);

} // namespace ini
