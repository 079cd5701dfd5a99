// The floor under stkcli's speed: the system calls that GNU touch and stkcli make for each file of a stamp-only run, in
// bare loops over the same files with no other work; the median of eleven rounds taken in turns.
// Usage: call_floor FOLDER (run from anywhere; every entry of FOLDER but `.` and `..` is stamped).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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
// back: list it, set the stamp, both by its name relative to that folder.
void stkcliCalls(const std::string& relative)
{
    const timespec times[2] = {{0, UTIME_OMIT}, kStamp};
    struct statx listed;
    statx(AT_FDCWD, relative.c_str(), 0, STATX_TYPE | STATX_MODE | STATX_UID | STATX_MTIME | STATX_CTIME | STATX_BTIME,
          &listed);
    utimensat(AT_FDCWD, relative.c_str(), times, 0);
}

using Calls = std::function<void(const std::string&)>;

double milliseconds(const Calls& calls, const std::vector<std::string>& names)
{
    const auto start = std::chrono::steady_clock::now();
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
        const double stkcliFirst = touchFirst ? 0 : milliseconds(stkcliCalls, relative);
        const double touchTime = milliseconds(touchCalls, relative);
        const double stkcliTime = touchFirst ? milliseconds(stkcliCalls, relative) : stkcliFirst;
        touchTimes.push_back(touchTime);
        ratios.push_back(touchTime > 0 ? stkcliTime / touchTime : 0.0);
    }
    std::printf("bare calls, touch's 3:     %.0f ms\n", median(touchTimes));
    std::printf("ratio of stkcli's 2 to it: %.2f\n", median(ratios));
    return 0;
}
