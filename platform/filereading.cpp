// Reading a regular file through its open descriptor at a given position, without moving a shared offset.
#include "platform/filereading.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::uint64_t> regularFileSize(int fd)
{
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

long readAt(int fd, void* buffer, std::size_t count, std::uint64_t offset)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, bytes + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long>(done);
}
