// The recorded date of HEIC, AVIF, JPEG XL, MP4 and MOV files made by the real tools in each test.
#include "media/mediadatereader.h"
#include "media/moviedatereader.h"

#include "fake/scopedzone.h"
#include "fake/tempdir.h"
#include "fake/unixtime.h"
#include "platform/descriptor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <tuple>

namespace {

// 2021-06-12 14:03:22.1234567 at +02:00 is 12:03:22.1234567 UTC.
constexpr FileTime kTaken = fromUnix(1623499402) + 1'234'567;

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

class MediaDateReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (std::system("command -v convert && command -v exiftool && command -v heif-enc && command -v cjxl && "
                        "command -v ffmpeg >/dev/null") != 0)
            GTEST_SKIP() << "convert, exiftool, heif-enc, cjxl or ffmpeg is missing";
    }

    // A JPEG, dated as kTaken when `dated`, converted by `command` (SOURCE and TARGET replaced) into `name`.
    std::string converted(const std::string& name, bool dated, const std::string& command) const
    {
        const std::string source = dir / (name + ".jpg");
        run("convert -size 32x24 gradient:navy-orange " + quoted(source));
        if (dated)
            run("exiftool -q -overwrite_original -DateTimeOriginal='2021:06:12 14:03:22' "
                "-SubSecTimeOriginal=1234567 -OffsetTimeOriginal=+02:00 " +
                quoted(source));
        const std::string target = dir / name;
        std::string line = command;
        line.replace(line.find("SOURCE"), 6, quoted(source));
        line.replace(line.find("TARGET"), 6, quoted(target));
        run(line + " >/dev/null 2>&1");
        return target;
    }

    // A short video whose metadata `options` (ffmpeg's) set.
    std::string movie(const std::string& name, const std::string& options) const
    {
        const std::string path = dir / name;
        run("ffmpeg -loglevel error -f lavfi -i color=c=blue:s=32x24:d=0.1 " + options + " " + quoted(path));
        return path;
    }

    std::optional<FileTime> dateOf(const std::string& path)
    {
        const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        EXPECT_TRUE(fd) << path;
        return reader.recordedDate(fd.get(), path);
    }

    // The same file cut to `length` bytes, half its length by default.
    std::string truncated(const std::string& path, std::uintmax_t length = 0) const
    {
        const std::string copy =
            path + ".cut" + std::to_string(length) + std::filesystem::path(path).extension().string();
        std::filesystem::copy_file(path, copy);
        std::filesystem::resize_file(copy, length ? length : std::filesystem::file_size(path) / 2);
        return copy;
    }

    static void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

    const ScopedZone zone{"Europe/Berlin"};
    TempDir dir;
    MediaDateReader reader{[] { return 0; }};
};

// HEIC and AVIF as libheif's own encoder writes them, and JPEG XL as cjxl does (its Exif box compressed): the date
// taken to the 100 ns with its offset; none without one, and none from a file cut inside its metadata. Cut in half, a
// HEIF file loses the data its item locations point to; a JPEG XL file keeps its Exif box, which precedes the image.
TEST_F(MediaDateReaderTest, PhotosInIsoMediaAndJpegXl)
{
    for (const auto& [name, command, halfKeepsDate] :
         {std::tuple{"a.heic", "heif-enc -q 50 -o TARGET SOURCE", false},
          std::tuple{"a.avif", "heif-enc -A -q 50 -o TARGET SOURCE", false},
          std::tuple{"a.jxl", "cjxl SOURCE TARGET", true}}) {
        const std::string dated = converted(name, true, command);
        EXPECT_EQ(dateOf(dated), kTaken) << name;
        EXPECT_EQ(dateOf(converted(std::string("plain-") + name, false, command)), std::nullopt) << name;
        EXPECT_EQ(dateOf(truncated(dated)), halfKeepsDate ? std::optional(kTaken) : std::nullopt) << name;
        EXPECT_EQ(dateOf(truncated(dated, 40)), std::nullopt) << name;
    }
}

// An MP4's movie header time (UTC, whole seconds) and a MOV's QuickTime creation date, which wins over the header's,
// with its fraction and offset; none without either, and none from half a file.
TEST_F(MediaDateReaderTest, Videos)
{
    const std::string mp4 = movie("a.mp4", "-metadata creation_time=2021-06-12T12:03:22Z");
    EXPECT_EQ(dateOf(mp4), fromUnix(1623499402));
    const std::string mov =
        movie("a.mov", "-movflags use_metadata_tags -metadata creation_time=2001-01-01T00:00:00Z "
                       "-metadata com.apple.quicktime.creationdate=2021-06-12T14:03:22.1234567+0200");
    EXPECT_EQ(dateOf(mov), kTaken);
    EXPECT_EQ(dateOf(movie("plain.mp4", "-fflags +bitexact")), std::nullopt);
    EXPECT_EQ(dateOf(movie("plain.mov", "-fflags +bitexact")), std::nullopt);
    EXPECT_EQ(dateOf(truncated(mp4)), std::nullopt);
    EXPECT_EQ(dateOf(truncated(mov)), std::nullopt);
}

// The QuickTime date's forms: each offset notation, UTC, none (local time); a date alone or cut short is none.
TEST(IsoDateTest, Forms)
{
    const ScopedZone zone{"Europe/Berlin"};
    EXPECT_EQ(isoDateToFileTime("2021-06-12T14:03:22+02:00"), fromUnix(1623499402));
    EXPECT_EQ(isoDateToFileTime("2021-06-12T14:03:22+0200"), fromUnix(1623499402));
    EXPECT_EQ(isoDateToFileTime("2021-06-12T14:03:22+02"), fromUnix(1623499402));
    EXPECT_EQ(isoDateToFileTime("2021-06-12T12:03:22.5Z"), fromUnix(1623499402) + 5'000'000);
    EXPECT_EQ(isoDateToFileTime("2021-06-12T14:03:22"), fromUnix(1623499402));
    for (const char* text : {"2021", "2021-06", "2021-06-12", "2021-06-12T14:03", "2021-06-12T14:03:22.+02:00",
                             "2021-06-12T14:03:22 junk", "2021-13-12T14:03:22Z"})
        EXPECT_EQ(isoDateToFileTime(text), std::nullopt) << text;
}

// A stop request gives up the read at once: no date, even for a file that has one.
TEST_F(MediaDateReaderTest, StopRequestGivesUp)
{
    const std::string dated = converted("a.heic", true, "heif-enc -q 50 -o TARGET SOURCE");
    MediaDateReader stopped{[] { return 15; }};
    const Descriptor fd(::open(dated.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(stopped.recordedDate(fd.get(), dated), std::nullopt);
    EXPECT_EQ(dateOf(dated), kTaken);
}

} // namespace
