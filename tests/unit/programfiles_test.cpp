// Where Stampkeep's settings file, help page and media plugin are: beside a program that is not installed, in the
// user's configuration folder and the installed data and library folders for one that is.
#include "platform/programfiles.h"

#include "fake/scopedvariable.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(ProgramFiles, BesideAProgramThatIsNotInstalled)
{
    TempDir dir;
    const std::string program = dir.makeFile("build/stampkeep");
    const ScopedVariable config("XDG_CONFIG_HOME", "/home/user/.config");
    EXPECT_FALSE(runsInstalled(program));
    EXPECT_EQ(settingsFilePath(program), dir / "build/stampkeep.ini");
    EXPECT_EQ(helpPagePath(program), dir / "build/stampkeep.html");
}

// The configuration folder follows XDG_CONFIG_HOME when it is absolute, else HOME; the help page is the data
// folder's unless one lies beside the program.
TEST(ProgramFiles, InTheUsersFoldersForAnInstalledProgram)
{
    TempDir dir;
    const std::string program = dir.makeFile("usr/bin/stampkeep");
    dir.makeFile("usr/share/stampkeep/stampkeep.html");
    ASSERT_TRUE(runsInstalled(program));
    const ScopedVariable home("HOME", "/home/user");
    {
        const ScopedVariable config("XDG_CONFIG_HOME", "/elsewhere/config");
        EXPECT_EQ(settingsFilePath(program), "/elsewhere/config/stampkeep/stampkeep.ini");
    }
    for (const char* config : {"relative/config", static_cast<const char*>(nullptr)}) {
        const ScopedVariable variable("XDG_CONFIG_HOME", config);
        EXPECT_EQ(settingsFilePath(program), "/home/user/.config/stampkeep/stampkeep.ini");
    }
    EXPECT_EQ(helpPagePath(program), dir / "usr/share/stampkeep/stampkeep.html");
    dir.makeFile("usr/bin/stampkeep.html");
    EXPECT_EQ(helpPagePath(program), dir / "usr/bin/stampkeep.html");
}

// The media plugin: beside a program in a build folder; for an installed one, in the library folder this build
// installs to, else in the plain lib/ folder; where it should be when it is nowhere.
TEST(ProgramFiles, MediaPlugin)
{
    TempDir dir;
    EXPECT_EQ(mediaPluginPath(dir.makeFile("build/stkcli")), dir / "build/stampkeep_media.so");
    const std::string program = dir.makeFile("usr/bin/stkcli");
    dir.makeFolder("usr/share/stampkeep");
    const std::string installed = dir / ("usr/" STAMPKEEP_PLUGIN_DIR "/stampkeep_media.so");
    EXPECT_EQ(mediaPluginPath(program), installed);
    const std::string plain = dir.makeFile("usr/lib/stampkeep/stampkeep_media.so");
    EXPECT_EQ(mediaPluginPath(program), plain == installed ? installed : plain);
    dir.makeFile("usr/" STAMPKEEP_PLUGIN_DIR "/stampkeep_media.so");
    EXPECT_EQ(mediaPluginPath(program), installed);
    const std::string beside = dir.makeFile("usr/bin/stampkeep_media.so");
    EXPECT_EQ(mediaPluginPath(program), beside);
}

TEST(ProgramFiles, MissingFoldersAreMadePrivate)
{
    TempDir dir;
    ASSERT_TRUE(makePrivateFolders(dir / "config/stampkeep/"));
    struct stat st;
    ASSERT_EQ(stat((dir / "config/stampkeep").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(makePrivateFolders(dir / "config/stampkeep"));
}

} // namespace
