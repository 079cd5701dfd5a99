// The `user.DOSATTRIB` decoder over arbitrary values, and encoding what it decodes. Input: the value's bytes.
#include "fuzzsupport.h"
#include "platform/dosattrib.h"

#include <algorithm>

namespace {

// Our own encoding decodes to what it carries, also with foreign bytes after it.
void checkEncoding(std::uint32_t attrib, FileTime createTime, std::span<const unsigned char> trailer)
{
    const DosAttribBytes encoded = encodeDosAttrib(attrib, createTime);
    std::vector<unsigned char> value(encoded.begin(), encoded.end());
    value.insert(value.end(), trailer.begin(), trailer.begin() + std::min(trailer.size(), kMaxDosAttribSize - 32));
    const std::optional<DosAttrib> decoded = decodeDosAttrib(value);
    require(decoded && decoded->attrib == attrib, "an encoded value keeps its attributes");
    require(decoded->createTime == (createTime ? std::optional(createTime) : std::nullopt),
            "an encoded value keeps its creation time");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const unsigned char> value(data, size);
    const std::optional<DosAttrib> decoded = decodeDosAttrib(value);
    require(!decoded || (size > 0 && size <= kMaxDosAttribSize), "only values of 1 to 256 bytes decode");
    require(!decoded || !decoded->createTime || *decoded->createTime != 0, "a creation time of 0 means none");
    // What was read is written back in our layout without losing anything.
    if (decoded)
        checkEncoding(decoded->attrib, decoded->createTime.value_or(0), value);
    return 0;
}
