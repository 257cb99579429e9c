// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemfile.h"
#include "widename.h"

#include <windows.h>

#include <algorithm>
#include <bit>

namespace ini {
namespace {

// The name as the wide calls take it. A full path longer than the classic limit of 260
// characters opens only in its verbatim form ("\\?\C:\..." or "\\?\UNC\server\..."), which the
// system takes as it stands: the path is made full, with backslashes, first.
std::optional<std::wstring> systemName(const char *bytes)
{
    std::optional<std::wstring> name = wideFromWtf8(bytes);
    if (!name || name->size() < MAX_PATH || name->starts_with(LR"(\\?\)")
        || name->starts_with(LR"(\\.\)"))
        return name;
    const DWORD needed = GetFullPathNameW(name->c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name->c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return name;
    full.resize(length);
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

HANDLE handleOf(std::intptr_t handle)
{
    return std::bit_cast<HANDLE>(handle);
}

} // namespace

SystemFile::SystemFile(const char *name)
{
    if (!name || !*name)
        return;
    const std::optional<std::wstring> path = systemName(name);
    if (!path)
        return;
    // Shared for writing and deleting too: the user may edit id.txt in another program, or save
    // a new one over it, while this one runs.
    const HANDLE file = CreateFileW(path->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // A pipe, whose reads could wait for ever, a console or another device is no file; nor is a
    // folder.
    FILE_STANDARD_INFO info{};
    if (GetFileType(file) != FILE_TYPE_DISK
        || !GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info)
        || info.Directory) {
        CloseHandle(file);
        return;
    }
    m_handle = std::bit_cast<std::intptr_t>(file);
    m_size = info.EndOfFile.QuadPart;
}

SystemFile::~SystemFile()
{
    if (isOpen())
        CloseHandle(handleOf(m_handle));
}

long long SystemFile::readAt(char *out, std::size_t n, long long offset) const
{
    if (!isOpen())
        return -1;
    std::size_t filled = 0;
    while (filled < n) {
        // Each read names its own offset: nothing depends on the handle's file position.
        const auto at = static_cast<unsigned long long>(offset) + filled;
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32U);
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(n - filled, 1U << 30U));
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), out + filled, chunk, &got, &position)) {
            // A file that has shrunk since it was opened ends early.
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            return -1;
        }
        if (got == 0)
            break;
        filled += got;
    }
    return static_cast<long long>(filled);
}

} // namespace ini
