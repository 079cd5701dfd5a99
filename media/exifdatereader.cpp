// The recorded date of a photo or raw file, read from its Exif data with Exiv2.
#include "media/exifdatereader.h"

#include "media/descriptorio.h"
#include "media/exifdate.h"
#include "media/exiftags.h"
#include "platform/filetime.h"

#include <exiv2/bmffimage.hpp>
#include <exiv2/crwimage.hpp>
#include <exiv2/error.hpp>
#include <exiv2/image.hpp>
#include <exiv2/xmp_exiv2.hpp>
#include <exiv2/xmpsidecar.hpp>

namespace {

void prepareExiv2()
{
    static const bool prepared = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // Exiv2 reads ISO-media files (HEIC, AVIF, CR3, JPEG XL) only when asked to.
        Exiv2::enableBMFF(true);
        return true;
    }();
    (void)prepared;
}

// A CRW file keeps the camera's clock, which Exiv2 shows as if it were UTC turned into this machine's local time. The
// camera's clock is read as local time, like every date without an offset.
void showCameraClock(Exiv2::ExifData& exif)
{
    const auto found = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
    if (found == exif.end())
        return;
    CalendarTime camera;
    const std::optional<FileTime> asShown = exifDateToFileTime(found->toString(), "", "");
    FileTime onCameraClock = 0;
    if (!asShown || !fileTimeToUtc(*asShown, camera) || !localToFileTime(camera, onCameraClock))
        return;
    // Written back as Exif text, so that one reading of tags serves every format.
    char text[32];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", camera.year, camera.month, camera.day,
                  camera.hour, camera.minute, camera.second);
    found->setValue(text);
}

// XMP may hold a year or a year and month alone; Exiv2 turns that into a whole date, which is no recorded date.
void dropPartialXmpDates(const Exiv2::XmpData& xmp, Exiv2::ExifData& exif)
{
    constexpr std::size_t kFullDateLength = 10; // "YYYY-MM-DD"
    for (const auto& [xmpKey, exifKey] : {std::pair{"Xmp.exif.DateTimeOriginal", "Exif.Photo.DateTimeOriginal"},
                                          std::pair{"Xmp.exif.DateTimeDigitized", "Exif.Photo.DateTimeDigitized"}}) {
        const auto source = xmp.findKey(Exiv2::XmpKey(xmpKey));
        const auto converted = exif.findKey(Exiv2::ExifKey(exifKey));
        if (source != xmp.end() && converted != exif.end() && source->toString().size() < kFullDateLength)
            exif.erase(converted);
    }
}

} // namespace

std::optional<FileTime> exiv2RecordedDate(BoundedFile& file, const std::string& path)
{
    prepareExiv2();
    try {
        Exiv2::BasicIo::AutoPtr io(new DescriptorIo(file, path));
        const auto image = Exiv2::ImageFactory::open(io);
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        if (image->imageType() == Exiv2::ImageType::crw)
            showCameraClock(exif);
        if (image->imageType() == Exiv2::ImageType::xmp)
            dropPartialXmpDates(image->xmpData(), exif);
        return recordedDateOf(exif);
    } catch (const ReadAbandoned&) {
        throw;
    } catch (const std::exception&) {
        // Exiv2's own errors, and the standard ones its parsers throw on malformed data: a corrupt file has no date.
        return std::nullopt;
    }
}
