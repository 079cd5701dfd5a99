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
    bool SetTimes(std::optional<FileTime> created, std::optional<FileTime> modified) override
    {
        if (created && !WriteEntryCreationTime(fd_, *created))
            return Failed();
        if (modified) {
            const timespec times[2] = {{0, UTIME_OMIT}, TimespecFromFileTime(*modified)};
            if (futimens(fd_, times) != 0)
                return Failed();
        }
        return true;
    }

    bool GetTimes(FileTime* created, FileTime* modified) override
    {
        if (!created) {
            struct stat st;
            if (fstat(fd_, &st) != 0)
                return Failed();
            if (modified)
                *modified = FileTimeFromTimespec(st.st_mtim);
            return true;
        }
        const std::optional<EntryInfo> info = ReadEntryInfo(fd_);
        if (!info)
            return Failed();
        *created = info->created;
        if (modified)
            *modified = info->modified;
        return true;
    }

private:
    bool Failed()
    {
        lastError_ = errno;
        return false;
    }

    int fd_;
    int& lastError_;
};

} // namespace

bool SystemPlatform::Track(bool succeeded)
{
    if (!succeeded)
        lastError_ = errno;
    return succeeded;
}

std::vector<FileEntry> SystemPlatform::FindFiles(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    std::vector<FileEntry> entries = SearchDirectory(pattern, limit, detail);
    Track(!entries.empty());
    return entries;
}

void SystemPlatform::AddStoredAttributes(const std::string& path, FileEntry& entry)
{
    EntryInfo info{entry.attrs, entry.created, entry.modified};
    AddStoredInfo(path, info);
    entry.attrs = info.attrs;
    entry.created = info.created;
}

bool SystemPlatform::HasMatch(const std::string& pattern)
{
    return Track(DirectoryHasMatch(pattern));
}

std::optional<std::uint32_t> SystemPlatform::GetAttributes(const std::string& path)
{
    const std::optional<EntryInfo> info = ReadEntryInfo(path);
    if (!Track(info.has_value()))
        return std::nullopt;
    return info->attrs;
}

bool SystemPlatform::SetAttributes(const std::string& path, std::uint32_t attrs)
{
    return Track(WriteEntryAttributes(path, attrs));
}

std::unique_ptr<StampHandle> SystemPlatform::OpenForStamps(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO from waiting for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (!Track(fd >= 0))
        return nullptr;
    return std::make_unique<DescriptorStampHandle>(fd, lastError_);
}

std::string SystemPlatform::LastErrorText()
{
    return std::strerror(lastError_);
}

bool SystemPlatform::IsNtFamily()
{
    return true;
}

std::string SystemPlatform::CurrentDirectory()
{
    const std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), std::free);
    if (!Track(cwd != nullptr))
        return {};
    return cwd.get();
}

std::string SystemPlatform::DriveRoot(const std::string& fullPath)
{
    const MountEntry* mount = FindMount(ProcessMounts(), fullPath);
    return WithTrailingSlash(mount ? mount->mountPoint : "/");
}

DriveType SystemPlatform::GetDriveType(const std::string& root)
{
    const MountEntry* mount = FindMount(ProcessMounts(), root);
    return mount ? DriveTypeOf(mount->fsType) : DriveType::Fixed;
}

std::optional<std::string> SystemPlatform::RemoteName(const std::string& root)
{
    const MountEntry* mount = FindMount(ProcessMounts(), root);
    if (!mount || DriveTypeOf(mount->fsType) != DriveType::Network)
        return std::nullopt;
    return mount->source;
}

FileTime SystemPlatform::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FileTimeFromTimespec(now);
}

std::string SystemPlatform::ShortDateFormat()
{
    return LocaleShortDateFormat();
}

std::string SystemPlatform::LongTimeFormat()
{
    return LocaleLongTimeFormat();
}

std::optional<std::string> SystemPlatform::RegisteredAppPath()
{
    return ReadAppPathRegistration();
}

bool SystemPlatform::IsProgramFile(const std::string& path)
{
    struct stat st;
    if (!Track(stat(path.c_str(), &st) == 0))
        return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return Track(false);
    }
    return Track(access(path.c_str(), X_OK) == 0);
}

bool SystemPlatform::StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& workingDirectory)
{
    return Track(SpawnProgram(program, arguments, workingDirectory));
}
