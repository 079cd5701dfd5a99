// The operating-system services that the touch core and both programs stand on, behind one replaceable interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <limits>
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
    // A symbolic link met through a wildcard or a walk of subfolders: not followed, so nothing else is read of it.
    bool symbolicLink = false;
    // Where a symbolic link named without wildcards leads, resolved once when listed; empty for any other entry.
    std::string target = {};
};

// What a search of a pattern's folder and every folder below it meets besides the matches.
struct SubfolderWalk
{
    // The matches of one folder, the folder given with its trailing `/`.
    std::function<void(const std::string& folder, std::vector<FileEntry>& matches)> found;
    // Asked before a folder on another mount than its parent is searched; false leaves it out.
    std::function<bool(const std::string& folder)> mayEnter;
    // A folder below the pattern's own that could not be read, with the system's reason.
    std::function<void(const std::string& folder, const std::string& reason)> cannotSearch;
};

// Whether a search matched anything, and when nothing matched, why: an empty failure means the folder was searched
// (or is not there) and held no match, any other the system's reason it could not be searched.
struct SearchOutcome
{
    bool found = false;
    std::string failure = {};
};

// The entries a search found; when it found none, why, as SearchOutcome tells it.
struct FoundEntries
{
    std::vector<FileEntry> entries;
    std::string failure = {};
};

// How much of each entry a search reads. The stored attributes cost one more call per entry; without them hidden,
// system and archive read as clear and Created is the file system's own.
enum class EntryDetail
{
    Full,
    ModeAndTimes,
    // Only what the folder's listing tells where it tells enough: whether the entry is there, whether it is a folder
    // or a link; its stamps, read-only and stored attributes are not read.
    NameAndKind,
};

enum class DriveType
{
    Fixed,
    Network,
    CdRom,
};

// What an entry is now: directory and read-only from its type and mode, hidden, system and archive from its stored
// value; Created is the stored creation time, else the file system's own.
struct EntryInfo
{
    std::uint32_t attrs = 0;
    FileTime created = 0;
    FileTime modified = 0;
};

// An entry exactly as it was listed, for Undo: every mode bit, the last-write time to the nanosecond and the stored
// value byte for byte. `info` is what it showed then.
struct EntrySnapshot
{
    EntryInfo info;
    std::uint32_t mode = 0;    // the permission bits, 07777
    bool symbolicLink = false; // the entry is a link itself, not followed
    timespec modified{};
    bool storedValueKnown = true; // false where it could not be read (it is then left as it is)
    std::optional<std::vector<unsigned char>> storedValue; // nothing where there was none
};

// Attributes to keep and to add: the new attributes are add OR (keep AND current).
struct AttributeMasks
{
    std::uint32_t keep = 0xFFFFFFFF;
    std::uint32_t add = 0;

    void removeBit(std::uint32_t bit) { keep &= ~bit; }
    void addBit(std::uint32_t bit) { add |= bit; }
    bool changes() const { return keep != 0xFFFFFFFF || add != 0; }
    std::uint32_t appliedTo(std::uint32_t attrs) const { return add | (keep & attrs); }
};

// One change of one entry; what is not given stays as it is, and the access time is never changed.
struct EntryChange
{
    std::optional<FileTime> modified;
    std::optional<FileTime> created;
    std::optional<AttributeMasks> attributes; // read-only, hidden, system and archive; the directory bit stays
    // Whether the stamps are read back for the caller to show. Where a new Modified stamp lies outside the range that
    // every common file system keeps, it is read back all the same, to find out whether it was kept.
    bool readBack = true;
    // Stamps that take the date recorded in the file, which `readRecorded` reads through the entry's descriptor once
    // it is open: only a regular file that the caller may read has one. Without a date those stamps stay as they are.
    bool modifiedFromRecorded = false;
    bool createdFromRecorded = false;
    std::function<std::optional<FileTime>(int descriptor)> readRecorded;
};

// What became of a change: an empty text for each step that went or was not asked for, else the reason it failed.
// A failed step leaves the entry as it was before that step.
struct EntryChangeOutcome
{
    std::string openFailure; // nothing was tried
    // Where the entry lies on a drive the programs refuse (openFailure is set too): its kind and mount point.
    DriveType refusedDrive = DriveType::Fixed;
    std::string refusedRoot;
    std::string stampsFailure;
    std::string attributesFailure;
    std::optional<FileTime> recorded; // the date recorded in the file, when a stamp was to take it
    // The entry after the change: what was read back, else what was asked for or known before.
    EntryInfo after;
};

class Platform
{
public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    virtual ~Platform() = default;

    // Directory search: `*` and `?` may stand in the last component; `*.*` matches every name.
    // Entries come in byte order of their names; `.` and `..` are returned when the pattern matches them.
    virtual FoundEntries findFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                                   EntryDetail detail = EntryDetail::Full) = 0;
    // Completes an entry that a ModeAndTimes search found at `path` with its stored attributes and creation time.
    virtual void addStoredAttributes(const std::string& path, FileEntry& entry) = 0;
    // The same search when only "is there anything" matters.
    virtual SearchOutcome hasMatch(const std::string& pattern) = 0;
    // The same search in the pattern's folder and every folder below it, at any depth; links to folders are not
    // followed, and a stop signal ends the walk. It fails only when the pattern's own folder cannot be read.
    virtual SearchOutcome searchSubfolders(const std::string& pattern, EntryDetail detail,
                                           const SubfolderWalk& walk) = 0;

    // Reads what one entry is now (symbolic links followed); nothing when it cannot be read.
    virtual std::optional<EntryInfo> readEntry(const std::string& path) = 0;
    // Applies one change to one entry (symbolic links followed), every step through one open descriptor.
    virtual EntryChangeOutcome changeEntry(const std::string& path, const EntryChange& change) = 0;

    // An entry as it is now, its last component not followed; nothing when it cannot be read.
    virtual std::optional<EntrySnapshot> snapshotEntry(const std::string& path) = 0;
    // Puts an entry back as the snapshot has it, through one descriptor, writing only what differs from it.
    virtual EntryChangeOutcome restoreEntry(const std::string& path, const EntrySnapshot& snapshot) = 0;

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
    // Starts a program without waiting for it; the system's reason when it cannot be started, else empty.
    virtual std::string startProgram(const std::string& program, const std::vector<std::string>& arguments,
                                     const std::string& workingDirectory) = 0;
};

// The platform in use; the real one unless a test installed another.
Platform& currentPlatform();
// Installs a platform for the rest of the process (or until replaced); nullptr restores the real one.
void setCurrentPlatform(Platform* platform);
