// The file a reader works on: read through its open descriptor, at most a sane amount, and given up on a stop request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

// The program's pending stop request (a signal number; 0 when none).
using StopSignal = int (*)();

// Thrown when a read is given up: a stop was requested, the file's data ran past the read limit, or it failed. The
// file then has no recorded date.
class ReadAbandoned : public std::runtime_error
{
public:
    ReadAbandoned() : std::runtime_error("reading the recorded date was given up") {}
};

class BoundedFile
{
public:
    // No recorded date needs more of a file than this; a larger demand comes from a damaged or hostile file.
    static constexpr std::uint64_t kReadLimit = std::uint64_t{256} << 20;

    BoundedFile(int fd, std::uint64_t size, StopSignal stopSignal) : fd_(fd), size_(size), stopSignal_(stopSignal) {}

    std::uint64_t size() const { return size_; }
    // Up to `count` bytes from `offset` (fewer only at the end of the file). Throws ReadAbandoned, and keeps doing so
    // for every later read once it has.
    std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count);

private:
    int fd_;
    std::uint64_t size_;
    StopSignal stopSignal_;
    std::uint64_t bytesRead_ = 0;
    bool abandoned_ = false;
};
