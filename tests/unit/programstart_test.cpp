// Starting another program without waiting for it.
#include "platform/programstart.h"

#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// The started program runs on its own; wait a while for the file it writes at its end.
std::string waitForFile(const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(ProgramStartTest, StartsWithArgumentsInTheWorkingDirectory)
{
    const TempDir dir;
    const std::string work = dir.makeFolder("work dir");
    // Written to a temporary name and renamed, so that the file appears complete.
    const std::string script = "printf '%s\\n' \"$@\" > out.tmp; pwd >> out.tmp; mv out.tmp out";
    ASSERT_EQ(spawnProgram("/bin/sh", {"-c", script, "sh", "first", "two words", ""}, work), 0);
    EXPECT_EQ(waitForFile(work + "/out"), "first\ntwo words\n\n" + work + "\n");
}

TEST(ProgramStartTest, ReportsWhatCannotBeStarted)
{
    const TempDir dir;
    EXPECT_EQ(spawnProgram(dir / "missing-program", {}, dir.path()), ENOENT);
    EXPECT_EQ(spawnProgram("/bin/sh", {"-c", "true"}, dir / "missing-folder"), ENOENT);
}

} // namespace
