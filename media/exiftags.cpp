// The recorded date among parsed Exif tags, and in a bare Exif block as HEIF and JPEG XL files store it.
#include "media/exiftags.h"

#include "media/exifdate.h"

#include <exception>

namespace {

// One date with the tags that complete it.
struct DateTags
{
    const char* date;
    const char* subSeconds;
    const char* offset;
};

constexpr DateTags kDateTaken{"Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal",
                              "Exif.Photo.OffsetTimeOriginal"};
constexpr DateTags kDateDigitized{"Exif.Photo.DateTimeDigitized", "Exif.Photo.SubSecTimeDigitized",
                                  "Exif.Photo.OffsetTimeDigitized"};

std::string tagText(const Exiv2::ExifData& exif, const char* key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? std::string() : found->toString();
}

std::optional<FileTime> dateFrom(const Exiv2::ExifData& exif, const DateTags& tags)
{
    return exifDateToFileTime(tagText(exif, tags.date), tagText(exif, tags.subSeconds), tagText(exif, tags.offset));
}

} // namespace

std::optional<FileTime> recordedDateOf(const Exiv2::ExifData& exif)
{
    if (const std::optional<FileTime> taken = dateFrom(exif, kDateTaken))
        return taken;
    return dateFrom(exif, kDateDigitized);
}

std::optional<FileTime> recordedDateOfExifBlock(const std::uint8_t* block, std::size_t size)
{
    constexpr std::size_t kOffsetSize = 4;
    if (size < kOffsetSize)
        return std::nullopt;
    const std::uint64_t toHeader = std::uint64_t{block[0]} << 24 | std::uint64_t{block[1]} << 16 |
                                   std::uint64_t{block[2]} << 8 | std::uint64_t{block[3]};
    if (toHeader > size - kOffsetSize)
        return std::nullopt;
    const std::uint8_t* tiff = block + kOffsetSize + toHeader;
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, tiff, static_cast<std::uint32_t>(size - kOffsetSize - toHeader));
        return recordedDateOf(exif);
    } catch (const std::exception&) {
        // Exiv2's own errors and the standard ones its parser throws on malformed data: no date.
        return std::nullopt;
    }
}
