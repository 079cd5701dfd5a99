// The operating-system services that the touch core and both programs stand on, behind one replaceable interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// 100 ns units since 1601-01-01 00:00 UTC, the same value on every platform.
using FileTime = std::uint64_t;

constexpr std::uint32_t kAttrReadOnly = 1;
constexpr std::uint32_t kAttrHidden = 2;
constexpr std::uint32_t kAttrSystem = 4;
constexpr std::uint32_t kAttrDirectory = 16;
constexpr std::uint32_t kAttrArchive = 32;

// One entry found by a directory search, with what the search reports of it.
struct FileEntry
{
    std::string name; // the entry's own name, without its folder
    std::uint32_t attrs = 0;
    FileTime created = 0;
    FileTime modified = 0;
};

// How much of each entry a search reads. The stored attributes cost one more call per entry; without them hidden,
// system and archive read as clear and Created is the file system's own.
enum class EntryDetail
{
    Full,
    ModeAndTimes,
};

enum class DriveType
{
    Fixed,
    Network,
    CdRom,
};

// An entry opened for reading and setting its stamps; closing happens when the handle is destroyed.
class StampHandle
{
public:
    virtual ~StampHandle() = default;
    // An absent value leaves that stamp as it is; the access time is never changed.
    virtual bool setTimes(std::optional<FileTime> created, std::optional<FileTime> modified) = 0;
    // Reads the stamps asked for (a null pointer skips one; the Created stamp costs a second call).
    virtual bool getTimes(FileTime* created, FileTime* modified) = 0;
};

class Platform
{
public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    virtual ~Platform() = default;

    // Directory search: `*` and `?` may stand in the last component; `*.*` matches every name.
    // Entries come in byte order of their names; `.` and `..` are returned when the pattern matches them.
    virtual std::vector<FileEntry> findFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                                             EntryDetail detail = EntryDetail::Full) = 0;
    // Completes an entry that a ModeAndTimes search found at `path` with its stored attributes and creation time.
    virtual void addStoredAttributes(const std::string& path, FileEntry& entry) = 0;
    // The same search when only "is there anything" matters.
    virtual bool hasMatch(const std::string& pattern) = 0;

    virtual std::optional<std::uint32_t> getAttributes(const std::string& path) = 0;
    virtual bool setAttributes(const std::string& path, std::uint32_t attrs) = 0;
    virtual std::unique_ptr<StampHandle> openForStamps(const std::string& path) = 0;

    // The message for the last call above that failed.
    virtual std::string lastErrorText() = 0;
    virtual bool isNtFamily() = 0;

    virtual std::string currentDirectory() = 0;
    // The mount point holding an absolute path, with a trailing `/`.
    virtual std::string driveRoot(const std::string& fullPath) = 0;
    virtual DriveType getDriveType(const std::string& root) = 0;
    // The share behind a network root (`//server/share`, `server:/export`); nothing for local roots.
    virtual std::optional<std::string> remoteName(const std::string& root) = 0;

    // The clock: the current moment as a UTC file time.
    virtual FileTime now() = 0;

    // The user's short date and long time formats, in picture notation (`dd`, `MM`, `yyyy`, `HH`, `mm`, `ss`, `tt`).
    virtual std::string shortDateFormat() = 0;
    virtual std::string longTimeFormat() = 0;

    // Stampkeep's full path as registered by its installation; nothing when unregistered.
    virtual std::optional<std::string> registeredAppPath() = 0;
    // A file that can be run: present, not a folder, executable.
    virtual bool isProgramFile(const std::string& path) = 0;
    // Starts a program without waiting for it.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingDirectory) = 0;
};

// The platform in use; the real one unless a test installed another.
Platform& currentPlatform();
// Installs a platform for the rest of the process (or until replaced); nullptr restores the real one.
void setCurrentPlatform(Platform* platform);
