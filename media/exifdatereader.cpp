// The recorded date of a photo or raw file, read from its Exif data with Exiv2.
#include "media/exifdatereader.h"

#include "media/descriptorio.h"
#include "media/exifdate.h"
#include "media/exiftags.h"
#include "platform/filetime.h"

#include <cstdio>
#include <exiv2/bmffimage.hpp>
#include <exiv2/crwimage.hpp>
#include <exiv2/error.hpp>
#include <exiv2/image.hpp>

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

} // namespace

std::optional<FileTime> exiv2RecordedDate(BoundedFile& file, const std::string& path)
{
    prepareExiv2();
    try {
// Exiv2 0.27 takes its I/O object only as the std::auto_ptr it declares.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Exiv2::BasicIo::AutoPtr io(new DescriptorIo(file, path));
#pragma GCC diagnostic pop
        const auto image = Exiv2::ImageFactory::open(io);
        // Exiv2 may know a file's kind and still make nothing of it. Its video readers are left alone: they write past
        // their buffers on malformed files, and hold no Exif date.
        if (!image.get() || image->mimeType().starts_with("video/"))
            return std::nullopt;
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        if (image->imageType() == Exiv2::ImageType::crw)
            showCameraClock(exif);
        return recordedDateOf(exif);
    } catch (const ReadAbandoned&) {
        throw;
    } catch (const std::exception&) {
        // Exiv2's own errors, and the standard ones its parsers throw on malformed data: a corrupt file has no date.
        return std::nullopt;
    }
}
