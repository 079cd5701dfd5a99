// The real platform: the Linux stand-ins for the operating-system services, tied together.
#include "platform/systemplatform.h"

#include "platform/apppath.h"
#include "platform/dirsearch.h"
#include "platform/entrychange.h"
#include "platform/entryinfo.h"
#include "platform/entryrestore.h"
#include "platform/filetime.h"
#include "platform/localeformats.h"
#include "platform/mounts.h"
#include "platform/paths.h"
#include "platform/programstart.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

bool SystemPlatform::track(bool succeeded)
{
    if (!succeeded)
        lastError_ = errno;
    return succeeded;
}

std::vector<FileEntry> SystemPlatform::findFiles(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    std::vector<FileEntry> entries = searchDirectory(pattern, limit, detail, &listedFolders_);
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

bool SystemPlatform::searchSubfolders(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk)
{
    const bool searched = searchTree(pattern, detail, walk);
    lastError_ = errno;
    return searched;
}

std::optional<EntryInfo> SystemPlatform::readEntry(const std::string& path)
{
    const std::optional<EntryInfo> info = readEntryInfo(path);
    track(info.has_value());
    return info;
}

EntryChangeOutcome SystemPlatform::changeEntry(const std::string& path, const EntryChange& change)
{
    return changeEntryAt(path, change);
}

std::optional<EntrySnapshot> SystemPlatform::snapshotEntry(const std::string& path)
{
    std::optional<EntrySnapshot> snapshot = snapshotEntryAt(path);
    track(snapshot.has_value());
    return snapshot;
}

EntryChangeOutcome SystemPlatform::restoreEntry(const std::string& path, const EntrySnapshot& snapshot)
{
    return restoreEntryAt(path, snapshot);
}

std::string SystemPlatform::lastErrorText()
{
    return std::strerror(lastError_);
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
    const MountEntry* mount = pathMounts_.holding(fullPath);
    return withTrailingSlash(mount ? mount->mountPoint : "/");
}

DriveType SystemPlatform::getDriveType(const std::string& root)
{
    const MountEntry* mount = rootMounts_.holding(root);
    return mount ? mount->driveType : DriveType::Fixed;
}

std::optional<std::string> SystemPlatform::remoteName(const std::string& root)
{
    const MountEntry* mount = rootMounts_.holding(root);
    if (!mount || mount->driveType != DriveType::Network)
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
