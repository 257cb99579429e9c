// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace ini {

// Reads one value, or with key == nullptr the section's key list, from an INI file the way
// Windows' GetPrivateProfileStringA does. Returns the number of characters placed in buffer,
// the final NUL not counted; never writes at or past buffer[size]; reports no error.
// With section == nullptr it lists the file's section names instead.
int getPrivateProfileString(const char *section, const char *key, const char *defaultText,
                            char *buffer, int size, const char *path);

} // namespace ini
