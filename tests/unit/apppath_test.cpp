// The app-path registration: the per-user file first, unless the program it names is gone.
#include "platform/apppath.h"

#include "fake/scopedvariable.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

void registerAt(const std::string& file, const std::string& program)
{
    std::ofstream(file) << program << '\n';
}

TEST(AppPath, AStaleUserRegistrationGivesWayToTheSystemOne)
{
    TempDir dir;
    const std::string userProgram = dir.makeFile("build/stampkeep");
    const std::string systemProgram = dir.makeFile("usr/bin/stampkeep");
    const std::string systemFile = dir.makeFile("etc/app-path");
    dir.makeFile("config/stampkeep/app-path");
    const std::string configFolder = dir / "config";
    const ScopedVariable config("XDG_CONFIG_HOME", configFolder.c_str());
    registerAt(systemFile, systemProgram);

    registerAt(dir / "config/stampkeep/app-path", userProgram);
    EXPECT_EQ(readAppPathRegistration(systemFile), userProgram);
    registerAt(dir / "config/stampkeep/app-path", dir / "removed/stampkeep");
    EXPECT_EQ(readAppPathRegistration(systemFile), systemProgram);
    // Without a system registration the user's stays, so that the user learns where it points.
    EXPECT_EQ(readAppPathRegistration(dir / "etc/none"), dir / "removed/stampkeep");
}

} // namespace
