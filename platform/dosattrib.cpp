// Decoding and encoding of the `user.DOSATTRIB` value.
#include "platform/dosattrib.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kValidAttrib = 0x01;
constexpr std::uint32_t kValidCreateTime = 0x10;
constexpr std::uint32_t kValidItime = 0x40;

// Where each version keeps its fields, counted from the start of its structure.
struct Layout
{
    std::size_t size;
    std::size_t attribAt;
    std::optional<std::size_t> createTimeAt;
    bool hasValidFlags;
    std::optional<std::size_t> itimeAt = {};
};

std::optional<Layout> layoutOf(std::uint16_t version)
{
    switch (version) {
    case 1:
        return Layout{40, 0, 24, false};
    case 2:
        return Layout{8, 4, std::nullopt, false};
    case 3:
        return Layout{44, 4, 28, true};
    case 4:
        return Layout{24, 4, 16, true, 8};
    case 5:
        return Layout{16, 4, 8, true};
    default:
        return std::nullopt;
    }
}

std::uint64_t readLittleEndian(std::span<const unsigned char> bytes, std::size_t offset, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = value << 8 | bytes[offset + i];
    return value;
}

void writeLittleEndian(DosAttribBytes& bytes, std::size_t offset, std::size_t width, std::uint64_t value)
{
    for (std::size_t i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::size_t alignUp(std::size_t offset, std::size_t alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

int hexDigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The legacy form: only the attributes, as hex text with an optional `0x`.
std::optional<DosAttrib> decodeText(std::span<const unsigned char> text)
{
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = text.subspan(2);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t attrib = 0;
    for (const unsigned char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        attrib = attrib << 4 | static_cast<std::uint32_t>(digit);
    }
    return DosAttrib{attrib, {}, {}};
}

DosAttrib decodeStructure(std::span<const unsigned char> structure, const Layout& layout)
{
    DosAttrib result{static_cast<std::uint32_t>(readLittleEndian(structure, layout.attribAt, 4)), {}, {}};
    const std::uint32_t flags =
        layout.hasValidFlags ? static_cast<std::uint32_t>(readLittleEndian(structure, 0, 4)) : kValidCreateTime;
    if (layout.createTimeAt && (flags & kValidCreateTime)) {
        if (const FileTime createTime = readLittleEndian(structure, *layout.createTimeAt, 8); createTime != 0)
            result.createTime = createTime;
    }
    if (layout.itimeAt && (flags & kValidItime))
        result.itime = readLittleEndian(structure, *layout.itimeAt, 8);
    return result;
}

} // namespace

std::optional<DosAttrib> decodeDosAttrib(std::span<const unsigned char> value)
{
    if (value.empty() || value.size() > kMaxDosAttribSize)
        return std::nullopt;
    const std::size_t textLength = static_cast<std::size_t>(std::find(value.begin(), value.end(), 0) - value.begin());
    if (textLength + 1 >= value.size())
        return decodeText(value.first(textLength));

    std::size_t offset = alignUp(textLength + 1, 2);
    if (value.size() < offset + 4)
        return std::nullopt;
    const auto version = static_cast<std::uint16_t>(readLittleEndian(value, offset, 2));
    if (readLittleEndian(value, offset + 2, 2) != version)
        return std::nullopt;
    const std::optional<Layout> layout = layoutOf(version);
    offset = alignUp(offset + 4, 4);
    if (!layout || value.size() < offset + layout->size)
        return std::nullopt;
    return decodeStructure(value.subspan(offset, layout->size), *layout);
}

DosAttribBytes encodeDosAttrib(std::uint32_t attrib, FileTime createTime, std::optional<std::uint64_t> itime)
{
    constexpr std::uint16_t kVersion = 4;
    constexpr std::size_t kStructureAt = 8;
    DosAttribBytes bytes{};
    writeLittleEndian(bytes, 2, 2, kVersion);
    writeLittleEndian(bytes, 4, 2, kVersion);
    writeLittleEndian(bytes, kStructureAt, 4, kValidAttrib | kValidCreateTime | (itime ? kValidItime : 0));
    writeLittleEndian(bytes, kStructureAt + 4, 4, attrib);
    writeLittleEndian(bytes, kStructureAt + 8, 8, itime.value_or(0));
    writeLittleEndian(bytes, kStructureAt + 16, 8, createTime);
    return bytes;
}
