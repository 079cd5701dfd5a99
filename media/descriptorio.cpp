// Exiv2's view of the file: reads through the entry's open descriptor, buffered, bounded and stoppable.
#include "media/descriptorio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exiv2/error.hpp>

namespace {

constexpr std::size_t kWindowSize = 64 * 1024;

} // namespace

DescriptorIo::DescriptorIo(BoundedFile& file, std::string path) : file_(file), path_(std::move(path)) {}

int DescriptorIo::open()
{
    position_ = 0;
    atEnd_ = false;
    return 0;
}

int DescriptorIo::close()
{
    return munmap();
}

long DescriptorIo::write(const Exiv2::byte* /*data*/, long /*count*/)
{
    return 0;
}

long DescriptorIo::write(Exiv2::BasicIo& /*source*/)
{
    return 0;
}

int DescriptorIo::putb(Exiv2::byte /*data*/)
{
    return EOF;
}

Exiv2::DataBuf DescriptorIo::read(long count)
{
    // A length field larger than the file must not become an allocation of that size.
    if (count < 0 || static_cast<std::uint64_t>(count) > file_.size())
        throw Exiv2::Error(Exiv2::kerInvalidMalloc);
    Exiv2::DataBuf buffer(count);
    buffer.size_ = read(buffer.pData_, count);
    return buffer;
}

long DescriptorIo::read(Exiv2::byte* buffer, long count)
{
    if (count <= 0)
        return 0;
    const auto wanted = static_cast<std::size_t>(count);
    std::size_t done = 0;
    if (wanted >= kWindowSize) {
        done = file_.readAt(position_, buffer, wanted);
        position_ += done;
    }
    while (done < wanted && fillWindow()) {
        const auto at = static_cast<std::size_t>(position_ - windowStart_);
        const std::size_t part = std::min(wanted - done, window_.size() - at);
        std::memcpy(buffer + done, window_.data() + at, part);
        done += part;
        position_ += part;
    }
    atEnd_ = done < wanted;
    return static_cast<long>(done);
}

int DescriptorIo::getb()
{
    if (!fillWindow()) {
        atEnd_ = true;
        return EOF;
    }
    return window_[static_cast<std::size_t>(position_++ - windowStart_)];
}

bool DescriptorIo::fillWindow()
{
    if (position_ >= windowStart_ && position_ < windowStart_ + window_.size())
        return true;
    if (position_ >= file_.size())
        return false;
    window_.resize(kWindowSize);
    window_.resize(file_.readAt(position_, window_.data(), kWindowSize));
    windowStart_ = position_;
    return !window_.empty();
}

void DescriptorIo::transfer(Exiv2::BasicIo& /*source*/)
{
    throw Exiv2::Error(Exiv2::kerImageWriteFailed);
}

int DescriptorIo::seek(long offset, Position from)
{
    const std::uint64_t base = from == beg ? 0 : from == cur ? position_ : file_.size();
    if (offset < 0 && static_cast<std::uint64_t>(-offset) > base)
        return 1;
    position_ = base + static_cast<std::uint64_t>(offset);
    atEnd_ = false;
    return 0;
}

Exiv2::byte* DescriptorIo::mmap(bool writeable)
{
    if (writeable)
        throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite, path_, "read only");
    // Read rather than mapped: a file cut short meanwhile must not end the program with SIGBUS.
    if (wholeFile_.size() != file_.size()) {
        if (file_.size() > BoundedFile::kReadLimit)
            throw ReadAbandoned();
        wholeFile_.resize(file_.size());
        wholeFile_.resize(file_.readAt(0, wholeFile_.data(), wholeFile_.size()));
    }
    return wholeFile_.data();
}

int DescriptorIo::munmap()
{
    std::vector<Exiv2::byte>().swap(wholeFile_);
    return 0;
}

long DescriptorIo::tell() const
{
    return static_cast<long>(position_);
}

std::size_t DescriptorIo::size() const
{
    return file_.size();
}

bool DescriptorIo::isopen() const
{
    return true;
}

int DescriptorIo::error() const
{
    return 0;
}

bool DescriptorIo::eof() const
{
    return atEnd_;
}

std::string DescriptorIo::path() const
{
    return path_;
}

#ifdef EXV_UNICODE_PATH
std::wstring DescriptorIo::wpath() const
{
    return std::wstring(path_.begin(), path_.end());
}
#endif
