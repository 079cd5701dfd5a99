// The settings file on disk: careful reading, atomic replacement and the clearing away of killed writers' leftovers.
#include "platform/settingsstore.h"

#include "platform/descriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string systemMessage()
{
    return std::strerror(errno);
}

// Decimal megabytes with one decimal, worked out in integers so that the locale cannot turn the point into a comma.
std::string megabytes(std::uintmax_t bytes)
{
    const std::uintmax_t tenths = (bytes + 50'000) / 100'000;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

std::string tooBig(std::uintmax_t bytes)
{
    return megabytes(bytes) + ", more than a settings file may hold (" + std::to_string(kMaxSettingsFileSize >> 20) +
           " MiB)";
}

// A FIFO would block the open or the read, and a device can give bytes without end.
std::optional<std::string> refusalOf(const struct stat& info)
{
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxSettingsFileSize)
        return tooBig(static_cast<std::uintmax_t>(info.st_size));
    return std::nullopt;
}

// Reads to the end of the file, but never more than `limit` bytes.
bool readUpTo(int fd, std::size_t limit, std::string& out)
{
    char buffer[65536];
    while (out.size() < limit) {
        const ssize_t count = ::read(fd, buffer, std::min(sizeof buffer, limit - out.size()));
        if (count == 0)
            return true;
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            out.append(buffer, static_cast<std::size_t>(count));
    }
    return true;
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

struct Loaded
{
    bool absent = false;
    std::string text;
    mode_t mode = 0;
    std::string refusal;
};

Loaded absent()
{
    Loaded nothing;
    nothing.absent = true;
    return nothing;
}

Loaded refused(std::string why)
{
    return {false, {}, 0, std::move(why)};
}

// `access` O_RDWR before a replacement refuses a file the user may not write.
Loaded load(const std::string& path, int access)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? absent() : refused(systemMessage());
    if (const std::optional<std::string> refusal = refusalOf(info))
        return refused(*refusal);
    const Descriptor file(::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file)
        return errno == ENOENT ? absent() : refused(systemMessage());
    if (::fstat(file.get(), &info) != 0)
        return refused(systemMessage());
    // Another file may have taken the name between the look and the open.
    if (const std::optional<std::string> refusal = refusalOf(info))
        return refused(*refusal);
    Loaded result;
    if (!readUpTo(file.get(), kMaxSettingsFileSize + 1, result.text))
        return refused(systemMessage());
    // Grown since the look: the size now, or at least what was read.
    if (result.text.size() > kMaxSettingsFileSize) {
        const std::uintmax_t size = ::fstat(file.get(), &info) == 0 ? static_cast<std::uintmax_t>(info.st_size) : 0;
        return refused(tooBig(std::max<std::uintmax_t>(size, result.text.size())));
    }
    result.mode = info.st_mode & 07777;
    return result;
}

// What open() with mode 0666 would give; the umask is read rather than set and restored, which would race with
// other threads creating files.
mode_t newFileMode()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Umask:"))
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0600;
}

// A save's temporary is named by this prefix and the six letters or digits that mkostemp puts for "XXXXXX".
std::string temporaryPrefix(const fs::path& target)
{
    return "." + target.filename().string() + ".";
}

bool replaceFile(const std::string& target, const std::string& text, mode_t mode)
{
    const fs::path path(target);
    std::string temporary = (path.parent_path() / (temporaryPrefix(path) + "XXXXXX")).string();
    bool written = false;
    {
        const Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
        if (!file)
            return false;
        written = writeAll(file.get(), text) && ::fchmod(file.get(), mode) == 0 && ::fsync(file.get()) == 0;
    }
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

bool isTemporaryName(std::string_view name, std::string_view prefix)
{
    constexpr std::size_t kRandomLength = 6;
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return name.size() == prefix.size() + kRandomLength && name.starts_with(prefix) &&
           std::ranges::all_of(name.substr(prefix.size()), letterOrDigit);
}

// Temporaries of earlier saves of this file whose writer was killed before its rename. A live writer holds its
// temporary for milliseconds, so one untouched for an hour is a leftover; only the user's own regular files go.
void removeLeftoverTemporaries(const fs::path& target)
{
    constexpr std::time_t kLeftoverAge = 60 * 60;
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing)
        return;
    const std::string prefix = temporaryPrefix(target);
    const std::time_t cutoff = std::time(nullptr) - kLeftoverAge;
    const int folderFd = ::dirfd(listing.get());
    while (const dirent* entry = ::readdir(listing.get())) {
        struct stat info
        {
        };
        if (isTemporaryName(entry->d_name, prefix) &&
            ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && info.st_mtime < cutoff)
            ::unlinkat(folderFd, entry->d_name, 0);
    }
}

// Leftovers come only from killed saves, so one look per file and process is enough; a settings save writes key by
// key, and each write would otherwise read the whole folder again.
void removeLeftoverTemporariesOnce(const std::string& target)
{
    static std::mutex mutex;
    static std::set<std::string> looked;
    const std::lock_guard lock(mutex);
    if (looked.insert(target).second)
        removeLeftoverTemporaries(target);
}

// Through a symbolic link the file it points to is replaced, not the link.
std::string writeTarget(const std::string& path)
{
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

} // namespace

StoredSettings readStoredSettings(const std::string& path)
{
    Loaded file = load(path, O_RDONLY);
    if (file.absent)
        return {};
    if (!file.refusal.empty())
        return {std::nullopt, std::move(file.refusal)};
    return {std::move(file.text), {}};
}

bool rewriteStoredSettings(const std::string& path, const SettingsEdit& edit)
{
    const std::string target = writeTarget(path);
    Loaded current = load(target, O_RDWR);
    if (current.absent)
        current.mode = newFileMode();
    else if (!current.refusal.empty())
        return false;
    const std::optional<std::string> changed = edit(current.text);
    if (!changed)
        return true;
    // Past the limit the file would no longer be read at all.
    if (changed->size() > kMaxSettingsFileSize || !replaceFile(target, *changed, current.mode))
        return false;
    removeLeftoverTemporariesOnce(target);
    return true;
}

std::string absoluteSettingsPath(const std::string& path)
{
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return error ? path : full.string();
}
