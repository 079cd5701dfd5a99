// The floor under stkcli's speed: the system calls that GNU touch and stkcli make for each file of a stamp-only run and
// of an attribute change, in bare loops over the same files with no other work; medians of eleven rounds in turns.
// Usage: call_floor FOLDER (run from anywhere; every entry of FOLDER but `.` and `..` is stamped).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr timespec kStamp{989154855, 0}; // 2001-05-06 13:14:15 UTC
constexpr int kRounds = 11;

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// What `touch -d` does with a name relative to the current folder: open (creating if missing), set, close.
void touchCalls(const std::string& relative)
{
    const timespec times[2] = {kStamp, kStamp};
    const int fd = open(relative.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        return;
    futimens(fd, times);
    close(fd);
}

// What stkcli does with a listed file of the working folder when only its Modified stamp changes and nobody reads it
// back: set the stamp by its name relative to that folder. The names were found in the folder's listing, read once.
void stkcliCalls(const std::string& relative)
{
    const timespec times[2] = {{0, UTIME_OMIT}, kStamp};
    utimensat(AT_FDCWD, relative.c_str(), times, 0);
}

// What stkcli does with such a file when an attribute really changes: open it by path only, read its status, reopen it
// for reading through the descriptor folder, read and write the stored value, set the mode, close. `round` decides
// which way the attributes go, so that every round changes them.
void attributeCalls(const std::string& relative, int round)
{
    static const int descriptorFolder = open("/proc/self/fd", O_PATH | O_DIRECTORY | O_CLOEXEC);
    const unsigned char value[32] = {static_cast<unsigned char>(round % 2)};
    const int path = openat(AT_FDCWD, relative.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    struct statx status;
    statx(path, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &status);
    const int fd = openat(descriptorFolder, std::to_string(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    close(path);
    unsigned char stored[256];
    fgetxattr(fd, "user.DOSATTRIB", stored, sizeof stored);
    fsetxattr(fd, "user.DOSATTRIB", value, sizeof value, 0);
    fchmod(fd, round % 2 ? 0444 : 0644);
    close(fd);
}

using Calls = std::function<void(const std::string&)>;

// The time of `calls` on every name, after reading the folder once when `readFolder` asks.
double milliseconds(const Calls& calls, const std::vector<std::string>& names, bool readFolder = false)
{
    const auto start = std::chrono::steady_clock::now();
    if (readFolder)
        namesIn(".");
    for (const std::string& name : names)
        calls(name);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: call_floor FOLDER\n");
        return 1;
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "call_floor: cannot enter %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> relative;
    for (const std::string& name : namesIn("."))
        relative.push_back("./" + name);

    std::vector<double> touchTimes;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const bool touchFirst = round % 2 == 0;
        const double stkcliFirst = touchFirst ? 0 : milliseconds(stkcliCalls, relative, true);
        const double touchTime = milliseconds(touchCalls, relative);
        const double stkcliTime = touchFirst ? milliseconds(stkcliCalls, relative, true) : stkcliFirst;
        touchTimes.push_back(touchTime);
        ratios.push_back(touchTime > 0 ? stkcliTime / touchTime : 0.0);
    }
    std::vector<double> attributeRatios;
    for (int round = 0; round < kRounds; ++round) {
        const double touchTime = milliseconds(touchCalls, relative);
        const double attributeTime =
            milliseconds([round](const std::string& name) { attributeCalls(name, round); }, relative, true);
        attributeRatios.push_back(touchTime > 0 ? attributeTime / touchTime : 0.0);
    }
    std::printf("bare calls, touch's 3:     %.0f ms\n", median(touchTimes));
    std::printf("ratio of stkcli's 1 to it: %.2f\n", median(ratios));
    std::printf("ratio of /A+ /R+'s 8:      %.2f\n", median(attributeRatios));
    return 0;
}
