// The floor under stkcli's speed: the system calls that GNU touch and stkcli make for each file, in bare loops over
// the same files with no other work, each the best of five rounds taken in turns.
// Usage: call_floor FOLDER (run from anywhere; every entry of FOLDER but `.` and `..` is stamped).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr timespec kStamp{989154855, 0}; // 2001-05-06 13:14:15 UTC
constexpr int kRounds = 5;

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
void touchCalls(const std::string& relative, const std::string&)
{
    const timespec times[2] = {kStamp, kStamp};
    const int fd = open(relative.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        return;
    futimens(fd, times);
    close(fd);
}

// What stkcli does with the full path of a listed file: list it, open it for reading, set the Modified stamp, read it
// back, close.
void stkcliCalls(const std::string&, const std::string& full)
{
    const timespec times[2] = {{0, UTIME_OMIT}, kStamp};
    struct statx listed;
    statx(AT_FDCWD, full.c_str(), 0, STATX_TYPE | STATX_MODE | STATX_MTIME | STATX_CTIME | STATX_BTIME, &listed);
    const int fd = open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    futimens(fd, times);
    struct stat readBack;
    fstat(fd, &readBack);
    close(fd);
}

using Calls = std::function<void(const std::string&, const std::string&)>;

double milliseconds(const Calls& calls, const std::vector<std::string>& relative, const std::vector<std::string>& full)
{
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < relative.size(); ++i)
        calls(relative[i], full[i]);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: call_floor FOLDER\n");
        return 1;
    }
    char* resolved = realpath(argv[1], nullptr);
    if (!resolved || chdir(resolved) != 0) {
        std::fprintf(stderr, "call_floor: cannot enter %s\n", argv[1]);
        return 1;
    }
    const std::string folder = resolved;
    free(resolved);
    std::vector<std::string> relative;
    std::vector<std::string> full;
    for (const std::string& name : namesIn(".")) {
        relative.push_back("./" + name);
        full.push_back(folder + "/" + name);
    }

    double touchBest = 1e12;
    double stkcliBest = 1e12;
    for (int round = 0; round < kRounds; ++round) {
        touchBest = std::min(touchBest, milliseconds(touchCalls, relative, full));
        stkcliBest = std::min(stkcliBest, milliseconds(stkcliCalls, relative, full));
    }
    std::printf("bare calls, touch's 3:     %.0f ms\n", touchBest);
    std::printf("bare calls, stkcli's 5:    %.0f ms\n", stkcliBest);
    std::printf("ratio of the bare calls:   %.2f\n", touchBest > 0 ? stkcliBest / touchBest : 0.0);
    return 0;
}
