// The recorded date of any photo or video: the file's kind decides which reader reads it.
#include "media/mediadatereader.h"

#include "media/exifdatereader.h"
#include "media/heifdatereader.h"
#include "media/jxldatereader.h"
#include "media/moviedatereader.h"
#include "platform/filereading.h"

#include <algorithm>
#include <string_view>

namespace {

enum class MediaKind
{
    Exiv2Only,
    Heif,
    JpegXl,
    Movie
};

// The ISO-media brands of HEIF images (HEIC, AVIF and their sequences); any other brand but CR3's and JPEG XL's is a
// movie.
constexpr std::string_view kHeifBrands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis",
                                            "hevm", "hevs", "mif1", "msf1", "avif", "avis"};
// QuickTime files need not start with a file-type box.
constexpr std::string_view kQuickTimeFirstBoxes[] = {"moov", "mdat", "wide", "free", "skip", "pnot"};
constexpr std::string_view kJxlContainer("\0\0\0\x0cJXL \r\n\x87\n", 12);
constexpr std::string_view kJxlCodestream("\xff\x0a", 2);

MediaKind kindOf(std::string_view header)
{
    if (header.starts_with(kJxlContainer) || header.starts_with(kJxlCodestream))
        return MediaKind::JpegXl;
    const std::string_view firstBox = header.size() >= 8 ? header.substr(4, 4) : std::string_view();
    if (firstBox == "ftyp" && header.size() >= 12) {
        const std::string_view brand = header.substr(8, 4);
        if (std::ranges::find(kHeifBrands, brand) != std::end(kHeifBrands))
            return MediaKind::Heif;
        if (brand == "jxl ")
            return MediaKind::JpegXl;
        return brand == "crx " ? MediaKind::Exiv2Only : MediaKind::Movie;
    }
    if (std::ranges::find(kQuickTimeFirstBoxes, firstBox) != std::end(kQuickTimeFirstBoxes))
        return MediaKind::Movie;
    return MediaKind::Exiv2Only;
}

std::optional<FileTime> dateOfKind(MediaKind kind, BoundedFile& file, const std::string& path)
{
    if (kind == MediaKind::Movie)
        return movieRecordedDate(file);
    if (const std::optional<FileTime> date = exiv2RecordedDate(file, path))
        return date;
    if (kind == MediaKind::Heif)
        return heifRecordedDate(file);
    if (kind == MediaKind::JpegXl)
        return jxlRecordedDate(file);
    return std::nullopt;
}

} // namespace

std::optional<FileTime> MediaDateReader::recordedDate(int fd, const std::string& path)
{
    // Opening a FIFO or a device has side effects; they are never read.
    const std::optional<std::uint64_t> size = regularFileSize(fd);
    if (!size)
        return std::nullopt;
    BoundedFile file(fd, *size, stopSignal_);
    try {
        char header[16];
        const std::size_t length = file.readAt(0, header, sizeof header);
        return dateOfKind(kindOf(std::string_view(header, length)), file, path);
    } catch (const ReadAbandoned&) {
        return std::nullopt;
    }
}
