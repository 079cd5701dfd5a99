// Reading a regular file through its open descriptor at a given position, without moving a shared offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The size of the regular file open as `fd`; nothing for any other kind of entry, whose opening or reading may have
// side effects (a FIFO, a device).
std::optional<std::uint64_t> regularFileSize(int fd);

// Up to `count` bytes from `offset` into `buffer`: fewer only at the end of the file; -1 on an error.
long readAt(int fd, void* buffer, std::size_t count, std::uint64_t offset);
