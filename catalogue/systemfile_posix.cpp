// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemfile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ini {

SystemFile::SystemFile(const char *name)
{
    if (!name || !*name)
        return;
    // Non-blocking, so that a FIFO given as the file cannot stall the open.
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    m_handle = fd;
    m_size = static_cast<long long>(info.st_size);
}

SystemFile::~SystemFile()
{
    if (isOpen())
        ::close(static_cast<int>(m_handle));
}

long long SystemFile::readAt(char *out, std::size_t n, long long offset) const
{
    if (!isOpen())
        return -1;
    std::size_t filled = 0;
    while (filled < n) {
        const ssize_t got = ::pread(static_cast<int>(m_handle), out + filled, n - filled,
                                    offset + static_cast<long long>(filled));
        if (got > 0)
            filled += static_cast<std::size_t>(got);
        else if (got == 0)
            break;
        else if (errno != EINTR)
            return -1;
    }
    return static_cast<long long>(filled);
}

} // namespace ini
