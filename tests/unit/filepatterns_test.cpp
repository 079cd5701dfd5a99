// File specifications of the command line: refused drives, unmatched and unsearchable specifications, the list.
#include "core/filepatterns.h"

#include "core/commandline.h"
#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

TEST(AddFileSpec, DriveChecks)
{
    FakePlatform platform;
    platform.setDrive("/mnt/mapped/", DriveType::Network, "server:/export");
    platform.setDrive("/mnt/plain/", DriveType::Network);
    platform.addEntry("/mnt/mapped/a", 0, 1, 1);
    platform.addEntry("/mnt/plain/a", 0, 1, 1);
    platform.addEntry("/data/sub", kAttrDirectory, 1, 1);

    TTouchSettings settings{};
    std::vector<std::string> lines;
    const auto report = [&](const std::string& line) { lines.push_back(line); };
    EXPECT_FALSE(AddFileSpec(settings, "/mnt/mapped/a", "/", true, report));
    EXPECT_FALSE(AddFileSpec(settings, "/mnt/plain/a", "/", true, report));
    EXPECT_FALSE(AddFileSpec(settings, "/data/none", "/", false, report)); // unmatched: silent in window mode
    EXPECT_TRUE(AddFileSpec(settings, "/data/s*", "/", true, report));     // matching only a folder is enough
    EXPECT_EQ(lines, (std::vector<std::string>{"Network drives not supported (server:/export, mapped to /mnt/mapped/)",
                                               "Network drives not supported (/mnt/plain/)"}));
    EXPECT_EQ(settings.FileSpecs.str(), "/data/s*\r\n");

    // A search that could not be made says why, in the window too.
    lines.clear();
    platform.searchFails = true;
    platform.errorText = "File name too long";
    EXPECT_FALSE(AddFileSpec(settings, "/data/none", "/", false, report));
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot search \"/data/none\": File name too long"});
}

} // namespace
