// The media plugin: loaded on the first date asked for and not before; a missing one is a reason, not a crash.
#include "core/mediaplugin.h"

#include "fake/tempdir.h"
#include "platform/descriptor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>

namespace {

int noStop()
{
    return 0;
}

bool mapped(const std::string& name)
{
    std::ifstream maps("/proc/self/maps");
    const std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    return text.find(name) != std::string::npos;
}

// Neither the plugin nor Exiv2 is in the process until a date is read; then both are, and the date is there.
TEST(MediaPluginTest, LoadedOnTheFirstDate)
{
    MediaPluginReader reader(noStop, STAMPKEEP_MEDIA_PLUGIN);
    EXPECT_FALSE(mapped("stampkeep_media.so"));
    EXPECT_FALSE(mapped("libexiv2"));
    TempDir dir;
    const std::string photo = dir.makeFile("a.jpg", "not a photo");
    const Descriptor fd(::open(photo.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(reader.recordedDate(fd.get(), photo), std::nullopt);
    EXPECT_TRUE(mapped("stampkeep_media.so"));
    EXPECT_TRUE(mapped("libexiv2"));
    EXPECT_EQ(reader.unavailableReason(), "");
}

// Without its plugin a reader has no dates, and every file says why, naming the plugin as the loader does.
TEST(MediaPluginTest, MissingPluginIsTheReason)
{
    TempDir dir;
    const std::string missing = dir / "stampkeep_media.so";
    MediaPluginReader reader(noStop, missing);
    setRecordedDateReader(&reader);
    const Descriptor fd(::open(dir.path().c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(readRecordedDate(fd.get(), "a.jpg"), std::nullopt);
    EXPECT_EQ(noRecordedDateReason(),
              "Cannot read recorded dates: " + missing + ": cannot open shared object file: No such file or directory");
    setRecordedDateReader(nullptr);
    EXPECT_EQ(noRecordedDateReason(), "No recorded date in the file");
}

} // namespace
