// Exiv2's view of the file: reads through the entry's open descriptor, buffered, bounded and stoppable.
#pragma once

#include "media/boundedfile.h"

#include <exiv2/basicio.hpp>

#include <vector>

// Read-only: every write fails. Each read goes through a BoundedFile, so a stop request or a file that asks for more
// than its limit ends the parse with ReadAbandoned.
class DescriptorIo final : public Exiv2::BasicIo
{
public:
    DescriptorIo(BoundedFile& file, std::string path);

    int open() override;
    int close() override;
    long write(const Exiv2::byte* data, long count) override;
    long write(Exiv2::BasicIo& source) override;
    int putb(Exiv2::byte data) override;
    Exiv2::DataBuf read(long count) override;
    long read(Exiv2::byte* buffer, long count) override;
    int getb() override;
    void transfer(Exiv2::BasicIo& source) override;
    int seek(long offset, Position from) override;
    Exiv2::byte* mmap(bool writeable) override;
    int munmap() override;
    long tell() const override;
    std::size_t size() const override;
    bool isopen() const override;
    int error() const override;
    bool eof() const override;
    std::string path() const override;
#ifdef EXV_UNICODE_PATH
    std::wstring wpath() const override;
#endif

private:
    // Makes the window hold the bytes from `position_` on; false at the end of the file.
    bool fillWindow();

    BoundedFile& file_;
    std::string path_;
    std::uint64_t position_ = 0;
    bool atEnd_ = false;
    // Recently read bytes, so that byte-wise parsing costs no system call per byte.
    std::vector<Exiv2::byte> window_;
    std::uint64_t windowStart_ = 0;
    std::vector<Exiv2::byte> wholeFile_;
};
