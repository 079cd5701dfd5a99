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

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

FoundEntries SystemPlatform::findFiles(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    return searchDirectory(pattern, limit, detail, &listedFolders_);
}

void SystemPlatform::addStoredAttributes(const std::string& path, FileEntry& entry)
{
    EntryInfo info{entry.attrs, entry.created, entry.modified};
    addStoredInfo(path, info);
    entry.attrs = info.attrs;
    entry.created = info.created;
}

SearchOutcome SystemPlatform::hasMatch(const std::string& pattern)
{
    return directoryHasMatch(pattern);
}

SearchOutcome SystemPlatform::searchSubfolders(const std::string& pattern, EntryDetail detail,
                                               const SubfolderWalk& walk)
{
    return searchTree(pattern, detail, walk);
}

std::optional<EntryInfo> SystemPlatform::readEntry(const std::string& path)
{
    return readEntryInfo(path);
}

EntryChangeOutcome SystemPlatform::changeEntry(const std::string& path, const EntryChange& change)
{
    return changeEntryAt(path, change);
}

std::optional<EntrySnapshot> SystemPlatform::snapshotEntry(const std::string& path)
{
    return snapshotEntryAt(path);
}

EntryChangeOutcome SystemPlatform::restoreEntry(const std::string& path, const EntrySnapshot& snapshot)
{
    return restoreEntryAt(path, snapshot);
}

std::string SystemPlatform::currentDirectory()
{
    const std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), std::free);
    return cwd ? cwd.get() : std::string();
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
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string SystemPlatform::startProgram(const std::string& program, const std::vector<std::string>& arguments,
                                         const std::string& workingDirectory)
{
    const int error = spawnProgram(program, arguments, workingDirectory);
    return error == 0 ? std::string() : std::strerror(error);
}
