// The recorded date of real pictures, made by ImageMagick and tagged by exiv2 in each test.
#include "media/mediadatereader.h"

#include "fake/scopedzone.h"
#include "fake/tempdir.h"
#include "fake/unixtime.h"
#include "platform/descriptor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr FileTime kUnitsPerMillisecond = 10'000;
constexpr const char* kDate = "2001:05:06 13:14:15";
constexpr FileTime kAtPlusTwo = fromUnix(989147655); // 2001-05-06 11:14:15 UTC

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

class ExifDateReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (std::system("command -v convert >/dev/null && command -v exiv2 >/dev/null") != 0)
            GTEST_SKIP() << "ImageMagick's convert or exiv2 is missing";
    }

    // A tiny picture of the type its name ends with, with each "KEY VALUE" of `tags` set in its EXIF data.
    std::string picture(const std::string& name, const std::vector<std::string>& tags) const
    {
        const std::string path = dir / name;
        run("convert -size 4x4 xc:gray " + quoted(path));
        if (!tags.empty()) {
            std::string command = "exiv2";
            for (const std::string& tag : tags)
                command += " -M" + quoted("set " + tag);
            run(command + " " + quoted(path));
        }
        return path;
    }

    std::optional<FileTime> dateOf(const std::string& path)
    {
        const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        EXPECT_TRUE(fd) << path;
        return reader.recordedDate(fd.get(), path);
    }

    static void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

    const ScopedZone zone{"Europe/Berlin"};
    TempDir dir;
    MediaDateReader reader{[] { return 0; }};
};

// The date taken with its own fraction and offset, in every format at hand.
TEST_F(ExifDateReaderTest, DateTakenInEachFormat)
{
    for (const char* name : {"a.jpg", "a.png", "a.tif", "a.webp"}) {
        const std::string path =
            picture(name, {"Exif.Photo.DateTimeOriginal " + std::string(kDate), "Exif.Photo.SubSecTimeOriginal 5",
                           "Exif.Photo.OffsetTimeOriginal +02:00"});
        EXPECT_EQ(dateOf(path), kAtPlusTwo + 500 * kUnitsPerMillisecond) << name;
    }
    EXPECT_EQ(dateOf(picture("b.jpg", {"Exif.Photo.DateTimeOriginal " + std::string(kDate),
                                       "Exif.Photo.SubSecTimeOriginal 123", "Exif.Photo.OffsetTimeOriginal -05:30"})),
              fromUnix(989174655) + 123 * kUnitsPerMillisecond); // 18:44:15.123 UTC
    EXPECT_EQ(dateOf(picture("c.png", {"Exif.Photo.DateTimeOriginal " + std::string(kDate),
                                       "Exif.Photo.OffsetTimeOriginal +02:00"})),
              kAtPlusTwo);
}

// Without an offset the date is Berlin's time on that date: summer time, the first of the twice-shown 02:30, and the
// skipped 02:30 moved forward; another date's offset is not this one's.
TEST_F(ExifDateReaderTest, DateTakenWithoutOffsetIsLocalTime)
{
    EXPECT_EQ(dateOf(picture("summer.jpg",
                             {"Exif.Photo.DateTimeOriginal 2021:07:15 13:14:15", "Exif.Photo.SubSecTimeOriginal 25"})),
              fromUnix(1626347655) + 250 * kUnitsPerMillisecond);
    EXPECT_EQ(dateOf(picture("twice.jpg", {"Exif.Photo.DateTimeOriginal 2021:10:31 02:30:00"})), fromUnix(1635640200));
    EXPECT_EQ(dateOf(picture("skipped.png", {"Exif.Photo.DateTimeOriginal 2021:03:28 02:30:00"})),
              fromUnix(1616895000));
    EXPECT_EQ(dateOf(picture("other.jpg", {"Exif.Photo.DateTimeOriginal 2021:07:15 13:14:15",
                                           "Exif.Photo.OffsetTimeDigitized -05:00", "Exif.Photo.OffsetTime -05:00"})),
              fromUnix(1626347655));
}

// The date digitized stands in when there is no date taken, or none that names a moment, with its own fraction and
// offset only.
TEST_F(ExifDateReaderTest, DateDigitizedWhenNoDateTaken)
{
    const std::vector<std::string> digitized = {"Exif.Photo.DateTimeDigitized " + std::string(kDate),
                                                "Exif.Photo.SubSecTimeDigitized 5",
                                                "Exif.Photo.OffsetTimeDigitized -05:00"};
    // An offset other than the zone's own (+02:00 here), so that the Digitized date shows it takes its own.
    const FileTime digitizedAt = fromUnix(989172855) + 500 * kUnitsPerMillisecond; // 18:14:15.5 UTC
    EXPECT_EQ(dateOf(picture("digitized.jpg", digitized)), digitizedAt);

    std::vector<std::string> blankTaken = digitized;
    blankTaken.push_back("Exif.Photo.DateTimeOriginal 0000:00:00 00:00:00");
    EXPECT_EQ(dateOf(picture("blanktaken.jpg", blankTaken)), digitizedAt);

    std::vector<std::string> bothDates = digitized;
    bothDates.push_back("Exif.Photo.DateTimeOriginal 2021:07:15 13:14:15");
    EXPECT_EQ(dateOf(picture("both.png", bothDates)), fromUnix(1626347655));
}

// What has no recorded date: the date of the last change alone, no EXIF data, impossible dates, a file that is no
// picture, and a corrupt EXIF block, about which Exiv2 says nothing.
TEST_F(ExifDateReaderTest, NoRecordedDate)
{
    EXPECT_EQ(dateOf(picture("changed.jpg", {"Exif.Image.DateTime " + std::string(kDate)})), std::nullopt);
    EXPECT_EQ(dateOf(picture("plain.jpg", {})), std::nullopt);
    EXPECT_EQ(dateOf(picture("plain.png", {})), std::nullopt);
    EXPECT_EQ(dateOf(picture("zeros.jpg", {"Exif.Photo.DateTimeOriginal 0000:00:00 00:00:00",
                                           "Exif.Photo.DateTimeDigitized 2001:13:06 13:14:15"})),
              std::nullopt);
    EXPECT_EQ(dateOf(dir.makeFile("notes.txt", "2001:05:06 13:14:15\n")), std::nullopt);
    EXPECT_EQ(dateOf(dir.makeFile("empty.jpg")), std::nullopt);

    // A JPEG whose EXIF block ends halfway through its first directory, one whose first directory lies past the
    // block's end, and one whose pointer to the date's directory does (Exiv2 complains about that one).
    const std::string tagged = picture("tagged.jpg", {"Exif.Photo.DateTimeOriginal " + std::string(kDate)});
    std::ifstream in(tagged, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t tiff = bytes.find("Exif\0\0II*", 0, 10) + 6;
    ASSERT_LT(tiff, bytes.size());
    testing::internal::CaptureStderr();
    EXPECT_EQ(dateOf(dir.makeFile("truncated.jpg", bytes.substr(0, tiff + 18))), std::nullopt);
    std::string farDirectory = bytes;
    farDirectory.replace(tiff + 4, 4, "\xF0\xFF\xFF\x7F", 4);
    EXPECT_EQ(dateOf(dir.makeFile("fardirectory.jpg", farDirectory)), std::nullopt);
    std::string farDates = bytes;
    ASSERT_EQ(farDates.substr(tiff + 10, 2), "\x69\x87"); // the first entry points to the date's directory
    farDates.replace(tiff + 18, 4, "\x00\xFF\x00\x00", 4);
    EXPECT_EQ(dateOf(dir.makeFile("fardates.jpg", farDates)), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A CRW file keeps the camera's clock, which is this machine's local time like any date without an offset: 13:14:15 on
// the camera is 11:14:15 UTC in Berlin's summer, whatever Exiv2 makes of it. The smallest such file: its header, then a
// heap whose one directory (image properties) holds the date taken (seconds as if UTC, then a time zone code).
TEST_F(ExifDateReaderTest, CrwDateIsTheCameraClock)
{
    const auto le32 = [](std::uint32_t value) {
        return std::string{static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    };
    const auto le16 = [](std::uint16_t value) {
        return std::string{static_cast<char>(value), static_cast<char>(value >> 8)};
    };
    const std::string header = "II" + le32(26) + "HEAPCCDR" + le32(0x00010002) + std::string(8, '\0');
    const std::string properties =
        le32(989154855) + le32(0) + le32(0) + le16(1) + le16(0x180e) + le32(12) + le32(0) + le32(12);
    const std::string root = properties + le16(1) + le16(0x300a) + le32(28) + le32(0) + le32(28);
    EXPECT_EQ(dateOf(dir.makeFile("camera.crw", header + root)), kAtPlusTwo);
}

// The file read is the one open, whatever its name has become; what is not a regular file is never opened again: the
// bytes waiting in a FIFO are still there afterwards.
TEST_F(ExifDateReaderTest, ReadsOnlyTheOpenRegularFile)
{
    const std::string path =
        picture("a.jpg", {"Exif.Photo.DateTimeOriginal " + std::string(kDate), "Exif.Photo.OffsetTimeOriginal +02:00"});
    const Descriptor photo(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(photo);
    const std::string other = picture("b.jpg", {"Exif.Photo.DateTimeOriginal 2021:07:15 13:14:15"});
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(reader.recordedDate(photo.get(), path), kAtPlusTwo);

    const std::string fifo = dir / "fifo.jpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const Descriptor fifoFd(::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(fifoFd);
    // Enough that a reader that opened it would not wait for more.
    const std::string bytes(32768, 'x');
    ASSERT_EQ(::write(fifoFd.get(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    EXPECT_EQ(reader.recordedDate(fifoFd.get(), fifo), std::nullopt);
    char waiting[32769];
    EXPECT_EQ(::read(fifoFd.get(), waiting, sizeof waiting), static_cast<ssize_t>(bytes.size()));

    const Descriptor folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    EXPECT_EQ(reader.recordedDate(folder.get(), dir.path()), std::nullopt);
    EXPECT_EQ(reader.recordedDate(-1, path), std::nullopt);
}

} // namespace
