// The file a reader works on: read through its open descriptor, at most a sane amount, and given up on a stop request.
#include "media/boundedfile.h"

#include "platform/filereading.h"

#include <algorithm>

std::size_t BoundedFile::readAt(std::uint64_t offset, void* buffer, std::size_t count)
{
    const std::size_t wanted =
        offset >= size_ ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    abandoned_ = abandoned_ || stopSignal_() != 0 || bytesRead_ + wanted > kReadLimit;
    const long got = abandoned_ ? -1 : ::readAt(fd_, buffer, wanted, offset);
    if (got < 0) {
        abandoned_ = true;
        throw ReadAbandoned();
    }
    bytesRead_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
}
