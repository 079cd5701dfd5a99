// The settings file under faults: a folder that refuses writing, a file size limit reached in the middle of saving a
// preset, and a writer killed at random moments. The file is always one that a complete single write left. And a
// settings file that cannot be read, as the command line's preset switches report it.
#include "core/presets.h"

#include "core/commandline.h"
#include "core/datetimeformats.h"
#include "fake/fakeplatform.h"
#include "fake/tempdir.h"
#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void store(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::size_t entriesIn(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Preset 1 sits between two other sections, so that the first save moves it to the end.
const std::string kInitial =
    "[Settings]\nChangeDate=1\n[Preset1]\nEnabled=1\nName=Initial\n[Location]\nLocation=/home/\n";

// Every value differs from one version to the next, so that a file mixing two versions cannot pass for either.
PresetValues versionValues(int k)
{
    PresetValues values;
    values.name = "Version " + std::to_string(k);
    values.desc = "Written as version " + std::to_string(k);
    values.date = 36000 + k % 5000;
    values.time = (k % 86400) / 86400.0;
    values.useDate = k % 2 == 0;
    values.useTime = k % 3 != 0;
    values.useSeq = k % 2 == 1;
    values.seqNum = k % 6;
    values.seqUnit = k % 2;
    values.clock = k % 4 - 1;
    values.mod = k % 4;
    values.cre = (k + 1) % 4;
    values.attrA = k % 3;
    values.attrS = (k + 1) % 3;
    values.attrH = (k + 2) % 3;
    values.attrR = k % 3;
    return values;
}

// The file as one complete savePreset of version k leaves it, worked out on a copy of the initial file.
std::string savedText(const DateTimeFormats& formats, const TempDir& dir, int k)
{
    const std::string scratch = dir / "scratch.ini";
    store(scratch, kInitial);
    IniFile ini(scratch);
    savePreset(formats, ini, 1, versionValues(k));
    const std::string text = contents(scratch);
    fs::remove(scratch);
    return text;
}

// The version named in the file, or -1 where none is.
int versionIn(const std::string& text)
{
    const std::size_t at = text.find("Name=Version ");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + 13));
}

class SettingsFaultsTest : public ::testing::Test
{
protected:
    SettingsFaultsTest()
    {
        platform.dateFormat = "dd.MM.yyyy";
        platform.timeFormat = "HH:mm:ss";
        formats = BuildDateTimeFormats();
        store(path, kInitial);
    }

    FakePlatform platform; // only for the locale formats
    DateTimeFormats formats;
    TempDir dir;
    std::string path = dir / "stampkeep.ini";
};

} // namespace

// Only ordinary users are bound by a folder's permission bits.
TEST_F(SettingsFaultsTest, ReadOnlyFolderRefusesTheSaveAndKeepsTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    IniFile ini(path);
    try {
        savePreset(formats, ini, 1, versionValues(1));
        ADD_FAILURE() << "the save went through";
    } catch (const IniWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(contents(path), kInitial);
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "a temporary file was left behind";
}

// A limit that the saved file would pass stops the save with the message, and the file stays as it was: a preset is
// saved whole or not at all.
TEST_F(SettingsFaultsTest, FileSizeLimitStopsTheSaveAtACompleteFile)
{
    const std::string saved = savedText(formats, dir, 7);
    const std::size_t sectionStart = saved.find("[Preset1]");
    const rlim_t limit = (sectionStart + saved.size()) / 2;

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Without this the kernel ends the process at the limit instead of failing the write.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        std::string message = "no error";
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
            message = "setrlimit failed";
        } else {
            try {
                IniFile ini(path);
                savePreset(formats, ini, 1, versionValues(7));
            } catch (const IniWriteError& error) {
                message = error.what();
            }
        }
        const bool sent = ::write(pipeEnds[1], message.data(), message.size()) == static_cast<ssize_t>(message.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    char buffer[4096];
    const ssize_t length = ::read(pipeEnds[0], buffer, sizeof buffer);
    ::close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer was killed or failed, status " << status;

    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(length, 0))),
              "Unable to write to " + path);
    EXPECT_EQ(contents(path), kInitial);
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "a temporary file was left behind";
}

// 100 writers, each killed after a random delay while it saves version after version of preset 1. After each kill
// the file is the initial one or one complete save of some version: never cut short, never half a preset, never two
// versions in one.
TEST_F(SettingsFaultsTest, KilledWriterLeavesACompleteState)
{
    constexpr int kRounds = 100;
    constexpr int kVersionsPerRound = 1'000'000;
    std::mt19937 random(20241207);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20'000);
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniFile ini(path);
            for (int k = round * kVersionsPerRound;; ++k)
                savePreset(formats, ini, 1, versionValues(k));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own in round " << round;

        const std::string text = contents(path);
        if (text == kInitial)
            continue;
        const int version = versionIn(text);
        ASSERT_GE(version, 0) << "round " << round << " left:\n" << text;
        ASSERT_EQ(text, savedText(formats, dir, version)) << "round " << round;
    }
}

// A refused settings file is why no preset is configured: the parser says so once, before the first preset it
// cannot find, on the console or in its one box. The alarm ends a run that would block on the FIFO.
TEST_F(SettingsFaultsTest, PresetSwitchNamesTheRefusedSettingsFileOnce)
{
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const std::string refusal = "Cannot read " + path + ": not a regular file";
    ::alarm(10);
    TTouchSettings settings{};
    std::ostringstream console;
    EXPECT_FALSE(ParseCommandLine(settings, {"/1", "/2"}, IniFile::readOnce(path), formats, true, nullptr, console));
    EXPECT_EQ(console.str(), refusal + "\nPreset # 1 is not configured.\nPreset # 2 is not configured.\n");

    std::vector<MessageBoxRequest> boxes;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return MessageResult::Ok;
    });
    EXPECT_FALSE(ParseCommandLine(settings, {"/3", "/4"}, IniFile(path), formats, false));
    setMessageBoxHandler(nullptr);
    ::alarm(0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, refusal + "\r\nPreset # 3 is not configured.\r\nPreset # 4 is not configured.\r\n");
}
