// The recorded date of a photo or raw file, read from its EXIF data with Exiv2.
#include "media/exifdatereader.h"

#include "media/exifdate.h"

#include <exception>
#include <exiv2/error.hpp>
#include <exiv2/exif.hpp>
#include <exiv2/image.hpp>
#include <sys/stat.h>

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

bool isRegularFile(int fd)
{
    struct stat status;
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

ExifDateReader::ExifDateReader()
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
}

std::optional<FileTime> ExifDateReader::recordedDate(int fd, const std::string& /*path*/)
{
    // Opening a FIFO or a device has side effects; they are never opened again.
    if (!isRegularFile(fd))
        return std::nullopt;
    try {
        // The same open file, whatever its name has become meanwhile.
        const auto image = Exiv2::ImageFactory::open("/proc/self/fd/" + std::to_string(fd), false);
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        if (const std::optional<FileTime> taken = dateFrom(exif, kDateTaken))
            return taken;
        return dateFrom(exif, kDateDigitized);
    } catch (const std::exception&) {
        // Exiv2's own errors, and the standard ones its parsers throw on malformed data: a corrupt file has no date.
        return std::nullopt;
    }
}
