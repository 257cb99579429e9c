// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace ini {

// The reader's only door to the file system: one file opened for reading by its name, read at
// any offset without a file position to share. Which system calls open and read it is the
// build's choice of implementation file; nothing else in the reader knows the system.
class SystemFile
{
public:
    // Only a regular file opens, and opening never blocks: a FIFO, a device or a folder given as
    // the file stays closed, as does a missing or unreadable one. An empty name is no file.
    explicit SystemFile(const char *name);
    ~SystemFile();
    SystemFile(const SystemFile &) = delete;
    SystemFile &operator=(const SystemFile &) = delete;

    bool isOpen() const { return m_handle != Closed; }
    // The file's size when it was opened.
    long long size() const { return m_size; }
    // Reads up to n bytes at offset, fewer only at the end of the file: the bytes read, or -1 when
    // the system reports an error.
    long long readAt(char *out, std::size_t n, long long offset) const;

private:
    static constexpr std::intptr_t Closed = -1;

    std::intptr_t m_handle = Closed;
    long long m_size = 0;
};

} // namespace ini
