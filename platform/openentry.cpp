// One entry opened once, never through a link it did not ask for, and the calls a change makes through it.
#include "platform/openentry.h"

#include "platform/dosattrib.h"
#include "platform/mounts.h"
#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <string_view>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

bool isRegularOrFolder(mode_t mode)
{
    return S_ISREG(mode) || S_ISDIR(mode);
}

bool inGroup(gid_t group)
{
    if (getegid() == group)
        return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    return count > 0 && std::find(groups.begin(), groups.begin() + count, group) != groups.begin() + count;
}

constexpr std::string_view kDescriptorFolder = "/proc/self/fd/";

int openDescriptorFolder()
{
    return ::open(kDescriptorFolder.data(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// This process's descriptor folder, held open: a reopen by number from it spares the walk from the root through
// /proc/self that costs as much as the rest of an attribute change. A forked child has descriptors of its own, so it
// opens its own folder; -1 where there is none.
int descriptorFolder()
{
    static int folder = [] {
        pthread_atfork(nullptr, nullptr, [] {
            ::close(folder);
            folder = openDescriptorFolder();
        });
        return openDescriptorFolder();
    }();
    return folder;
}

// Writes the path of descriptor `fd` in the descriptor folder into `path`.
void writeDescriptorPath(int fd, std::span<char> path)
{
    std::ranges::copy(kDescriptorFolder, path.begin());
    // snprintf would cost more than the rest of the user work for an entry.
    const auto end = std::to_chars(path.data() + kDescriptorFolder.size(), path.data() + path.size() - 1, fd).ptr;
    *end = '\0';
}

// The entry at `procPath` (a path that writeDescriptorPath wrote), opened anew for reading.
int reopenForReading(const char* procPath)
{
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int folder = descriptorFolder();
    return folder < 0 ? ::open(procPath, kFlags) : ::openat(folder, procPath + kDescriptorFolder.size(), kFlags);
}

} // namespace

bool OpenEntry::open(const std::string& path, EntryChangeOutcome& outcome)
{
    outcome.openFailure = openPath(path, outcome);
    return outcome.openFailure.empty();
}

// The reason it cannot be opened; empty when it is.
std::string OpenEntry::openPath(const std::string& path, EntryChangeOutcome& outcome)
{
    // The path descriptor refers to the link itself where the last component is one; nothing is opened through it.
    fd_ = Descriptor(::openat(AT_FDCWD, path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!fd_)
        return std::strerror(errno);
    writeDescriptorPath(fd_.get(), procPath_);
    struct statx& status = opened_;
    if (statx(fd_.get(), "", AT_EMPTY_PATH, kStatusMask | STATX_MNT_ID, &status) != 0)
        return std::strerror(errno);
    if (S_ISLNK(status.stx_mode))
        return kLinkNotFollowed;
    if (status.stx_mask & STATX_MNT_ID) {
        const std::optional<MountEntry> mount = mountWithId(status.stx_mnt_id);
        if (mount && mount->driveType != DriveType::Fixed) {
            outcome.refusedDrive = mount->driveType;
            outcome.refusedRoot = withTrailingSlash(mount->mountPoint);
            return std::strerror(EACCES);
        }
    }
    if (!isRegularOrFolder(status.stx_mode))
        return {};
    // Reopening the same inode through the descriptor: a name swapped meanwhile cannot bring another file in.
    Descriptor readable(reopenForReading(procPath_));
    if (readable) {
        fd_ = std::move(readable);
        procPath_[0] = '\0';
    } else if (errno != EACCES) {
        return std::strerror(errno);
    }
    return {};
}

bool OpenEntry::readStatus(struct statx& status) const
{
    return statx(fd_.get(), "", AT_EMPTY_PATH, kStatusMask, &status) == 0;
}

bool OpenEntry::setLastWrite(const timespec& stamp) const
{
    const timespec times[2] = {{0, UTIME_OMIT}, stamp};
    return (pathOnly() ? utimensat(AT_FDCWD, procPath_, times, 0) : futimens(fd_.get(), times)) == 0;
}

StoredValue OpenEntry::readValue() const
{
    return readValueWith([this](void* buffer, std::size_t size) {
        return pathOnly() ? getxattr(procPath_, kDosAttribName, buffer, size)
                          : fgetxattr(fd_.get(), kDosAttribName, buffer, size);
    });
}

StoredValue readValueWith(const std::function<ssize_t(void* buffer, std::size_t size)>& get)
{
    std::vector<unsigned char> bytes(kMaxDosAttribSize);
    for (;;) {
        const ssize_t size = get(bytes.data(), bytes.size());
        if (size >= 0) {
            bytes.resize(static_cast<std::size_t>(size));
            return {true, std::move(bytes)};
        }
        // None stored, or none possible: special files answer EPERM.
        if (errno == ENODATA || errno == ENOTSUP || errno == EPERM)
            return {true, std::nullopt};
        if (errno != ERANGE)
            return {false, std::nullopt};
        // Longer than the buffer: ask its size, which may change again before the next read.
        const ssize_t needed = get(nullptr, 0);
        if (needed < 0)
            return {false, std::nullopt};
        bytes.resize(static_cast<std::size_t>(needed) + 1);
    }
}

bool OpenEntry::setValue(std::span<const unsigned char> value) const
{
    return (pathOnly() ? setxattr(procPath_, kDosAttribName, value.data(), value.size(), 0)
                       : fsetxattr(fd_.get(), kDosAttribName, value.data(), value.size(), 0)) == 0;
}

bool OpenEntry::removeValue() const
{
    return (pathOnly() ? removexattr(procPath_, kDosAttribName) : fremovexattr(fd_.get(), kDosAttribName)) == 0;
}

bool OpenEntry::changeMode(mode_t mode) const
{
    return (pathOnly() ? chmod(procPath_, mode) : fchmod(fd_.get(), mode)) == 0;
}

bool OpenEntry::setMode(struct statx& status, mode_t mode) const
{
    if (!keepsSetGroupId(status, mode)) {
        errno = EPERM;
        return false;
    }
    if (!changeMode(mode))
        return false;
    status.stx_mode = static_cast<std::uint16_t>((status.stx_mode & ~07777) | mode);
    return true;
}

bool keepsSetGroupId(const struct statx& status, mode_t mode)
{
    return !(mode & S_ISGID) || geteuid() == 0 || inGroup(status.stx_gid);
}

bool anyRefusedDrive()
{
    static const bool any = std::ranges::any_of(
        processMounts(), [](const MountEntry& mount) { return mount.driveType != DriveType::Fixed; });
    return any;
}
