// The real platform: the Linux stand-ins for the operating-system services, tied together.
#include "platform/systemplatform.h"

#include "platform/apppath.h"
#include "platform/dirsearch.h"
#include "platform/entryinfo.h"
#include "platform/filetime.h"
#include "platform/localeformats.h"
#include "platform/mounts.h"
#include "platform/paths.h"
#include "platform/programstart.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class DescriptorStampHandle final : public StampHandle
{
public:
    DescriptorStampHandle(int fd, int& lastError) : fd_(fd), lastError_(lastError) {}
    ~DescriptorStampHandle() override { close(fd_); }
    DescriptorStampHandle(const DescriptorStampHandle&) = delete;
    DescriptorStampHandle& operator=(const DescriptorStampHandle&) = delete;

    // The creation time goes first: it is the one a file system may refuse, and then nothing has changed.
    bool setTimes(std::optional<FileTime> created, std::optional<FileTime> modified) override
    {
        if (created && !writeEntryCreationTime(fd_, *created))
            return failed();
        if (modified) {
            const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(*modified)};
            if (futimens(fd_, times) != 0)
                return failed();
        }
        return true;
    }

    bool getTimes(FileTime* created, FileTime* modified) override
    {
        if (!created) {
            struct stat st;
            if (fstat(fd_, &st) != 0)
                return failed();
            if (modified)
                *modified = fileTimeFromTimespec(st.st_mtim);
            return true;
        }
        const std::optional<EntryInfo> info = readEntryInfo(fd_);
        if (!info)
            return failed();
        *created = info->created;
        if (modified)
            *modified = info->modified;
        return true;
    }

private:
    bool failed()
    {
        lastError_ = errno;
        return false;
    }

    int fd_;
    int& lastError_;
};

} // namespace

bool SystemPlatform::track(bool succeeded)
{
    if (!succeeded)
        lastError_ = errno;
    return succeeded;
}

std::vector<FileEntry> SystemPlatform::findFiles(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    std::vector<FileEntry> entries = searchDirectory(pattern, limit, detail);
    track(!entries.empty());
    return entries;
}

void SystemPlatform::addStoredAttributes(const std::string& path, FileEntry& entry)
{
    EntryInfo info{entry.attrs, entry.created, entry.modified};
    addStoredInfo(path, info);
    entry.attrs = info.attrs;
    entry.created = info.created;
}

bool SystemPlatform::hasMatch(const std::string& pattern)
{
    return track(directoryHasMatch(pattern));
}

std::optional<std::uint32_t> SystemPlatform::getAttributes(const std::string& path)
{
    const std::optional<EntryInfo> info = readEntryInfo(path);
    if (!track(info.has_value()))
        return std::nullopt;
    return info->attrs;
}

bool SystemPlatform::setAttributes(const std::string& path, std::uint32_t attrs)
{
    return track(writeEntryAttributes(path, attrs));
}

std::unique_ptr<StampHandle> SystemPlatform::openForStamps(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO from waiting for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (!track(fd >= 0))
        return nullptr;
    return std::make_unique<DescriptorStampHandle>(fd, lastError_);
}

std::string SystemPlatform::lastErrorText()
{
    return std::strerror(lastError_);
}

bool SystemPlatform::isNtFamily()
{
    return true;
}

std::string SystemPlatform::currentDirectory()
{
    const std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), std::free);
    if (!track(cwd != nullptr))
        return {};
    return cwd.get();
}

std::string SystemPlatform::driveRoot(const std::string& fullPath)
{
    const MountEntry* mount = findMount(processMounts(), fullPath);
    return withTrailingSlash(mount ? mount->mountPoint : "/");
}

DriveType SystemPlatform::getDriveType(const std::string& root)
{
    const MountEntry* mount = findMount(processMounts(), root);
    return mount ? driveTypeOf(mount->fsType) : DriveType::Fixed;
}

std::optional<std::string> SystemPlatform::remoteName(const std::string& root)
{
    const MountEntry* mount = findMount(processMounts(), root);
    if (!mount || driveTypeOf(mount->fsType) != DriveType::Network)
        return std::nullopt;
    return mount->source;
}

FileTime SystemPlatform::now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return fileTimeFromTimespec(now);
}

std::string SystemPlatform::shortDateFormat()
{
    return localeShortDateFormat();
}

std::string SystemPlatform::longTimeFormat()
{
    return localeLongTimeFormat();
}

std::optional<std::string> SystemPlatform::registeredAppPath()
{
    return readAppPathRegistration();
}

bool SystemPlatform::isProgramFile(const std::string& path)
{
    struct stat st;
    if (!track(stat(path.c_str(), &st) == 0))
        return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return track(false);
    }
    return track(access(path.c_str(), X_OK) == 0);
}

bool SystemPlatform::startProgram(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& workingDirectory)
{
    return track(spawnProgram(program, arguments, workingDirectory));
}
