// Attributes and stamps of one entry, read from its mode, its times and `user.DOSATTRIB`, and written back there.
#include "platform/entryinfo.h"

#include "platform/dosattrib.h"
#include "platform/filetime.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <span>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

constexpr std::uint32_t kModeAttrs = kAttrReadOnly | kAttrDirectory;
constexpr std::uint32_t kStoredAttrs = kAttrHidden | kAttrSystem | kAttrArchive;
constexpr std::uint32_t kManagedAttrs = kModeAttrs | kStoredAttrs;
constexpr mode_t kAllWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// One entry named by a path or by an open descriptor, so that both kinds share the logic above the system calls.
class EntryRef
{
public:
    explicit EntryRef(const std::string& path) : path_(path.c_str()) {}
    explicit EntryRef(int fd) : fd_(fd) {}

    bool readStatus(struct statx& stx) const
    {
        constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_MTIME | STATX_CTIME | STATX_BTIME;
        return path_ ? statx(AT_FDCWD, path_, 0, kMask, &stx) == 0 : statx(fd_, "", AT_EMPTY_PATH, kMask, &stx) == 0;
    }
    ssize_t getDosAttrib(std::span<unsigned char> buffer) const
    {
        return path_ ? getxattr(path_, kDosAttribName, buffer.data(), buffer.size())
                     : fgetxattr(fd_, kDosAttribName, buffer.data(), buffer.size());
    }
    bool setDosAttrib(std::span<const unsigned char> value) const
    {
        return (path_ ? setxattr(path_, kDosAttribName, value.data(), value.size(), 0)
                      : fsetxattr(fd_, kDosAttribName, value.data(), value.size(), 0)) == 0;
    }
    bool changeMode(mode_t mode) const { return (path_ ? chmod(path_, mode) : fchmod(fd_, mode)) == 0; }

private:
    const char* path_ = nullptr;
    int fd_ = -1;
};

struct EntryState
{
    struct statx stx;
    std::array<unsigned char, kMaxDosAttribSize> storedBytes;
    std::size_t storedSize = 0; // 0 when there is no stored value, or it could not be read
    std::optional<DosAttrib> stored;
    bool storedUnreadable = false; // the entry's permissions keep a value that may be stored from us

    std::span<const unsigned char> storedValue() const { return {storedBytes.data(), storedSize}; }
};

// Whatever keeps the value from being read (none stored, longer than ours, no support, no permission) means no value.
void readStoredValue(const EntryRef& entry, EntryState& state)
{
    const ssize_t size = entry.getDosAttrib(state.storedBytes);
    if (size > 0) {
        state.storedSize = static_cast<std::size_t>(size);
        state.stored = decodeDosAttrib(state.storedValue());
    }
    state.storedUnreadable = size < 0 && errno == EACCES;
}

std::optional<EntryState> readState(const EntryRef& entry, EntryDetail detail = EntryDetail::Full)
{
    EntryState state;
    if (!entry.readStatus(state.stx))
        return std::nullopt;
    if (detail == EntryDetail::Full)
        readStoredValue(entry, state);
    return state;
}

FileTime fromStatx(const statx_timestamp& t)
{
    return fileTimeFromTimespec(timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)});
}

FileTime fileSystemCreationTime(const struct statx& stx)
{
    if ((stx.stx_mask & STATX_BTIME) && (stx.stx_btime.tv_sec != 0 || stx.stx_btime.tv_nsec != 0))
        return fromStatx(stx.stx_btime);
    return std::min(fromStatx(stx.stx_ctime), fromStatx(stx.stx_mtime));
}

// Puts the stored attributes and creation time over what the mode and times tell.
void addStored(const std::optional<DosAttrib>& stored, EntryInfo& info)
{
    if (!stored)
        return;
    info.attrs |= stored->attrib & ~kModeAttrs;
    if (stored->createTime)
        info.created = *stored->createTime;
}

EntryInfo infoFromState(const EntryState& state)
{
    EntryInfo info;
    if (S_ISDIR(state.stx.stx_mode))
        info.attrs |= kAttrDirectory;
    if (!(state.stx.stx_mode & S_IWUSR))
        info.attrs |= kAttrReadOnly;
    info.created = fileSystemCreationTime(state.stx);
    info.modified = fromStatx(state.stx.stx_mtime);
    addStored(state.stored, info);
    return info;
}

std::optional<EntryInfo> readInfo(const EntryRef& entry, EntryDetail detail = EntryDetail::Full)
{
    const std::optional<EntryState> state = readState(entry, detail);
    if (!state)
        return std::nullopt;
    return infoFromState(*state);
}

// Read-only already in force leaves the mode alone, so that group and other keep their write bits.
mode_t modeFor(mode_t mode, bool readOnly)
{
    if (!readOnly)
        return mode | S_IWUSR;
    return mode & S_IWUSR ? mode & ~kAllWriteBits : mode;
}

bool refusesDosAttrib(int error, const struct statx& stx)
{
    // User attributes exist only on files and folders; other entries answer EPERM.
    return error == ENOTSUP || (error == EPERM && !S_ISREG(stx.stx_mode) && !S_ISDIR(stx.stx_mode));
}

// Writes the value with the owner's write permission lifted for the moment if need be (the kernel asks for it), then
// gives the entry its new mode. A refused value undoes the lift; it fails the call only when `valueRequired`.
bool storeModeAndValue(const EntryRef& entry, const EntryState& state, mode_t newMode,
                       std::span<const unsigned char> value, bool valueRequired)
{
    const mode_t oldMode = state.stx.stx_mode & 07777;
    mode_t mode = oldMode;
    const bool valueChanges = !std::ranges::equal(value, state.storedValue());
    if (valueChanges) {
        if (!(mode & S_IWUSR)) {
            if (!entry.changeMode(mode | S_IWUSR))
                return false;
            mode |= S_IWUSR;
        }
        if (!entry.setDosAttrib(value)) {
            const int error = errno;
            if (valueRequired || !refusesDosAttrib(error, state.stx)) {
                if (mode != oldMode)
                    entry.changeMode(oldMode);
                errno = error;
                return false;
            }
        }
    }
    return mode == newMode || entry.changeMode(newMode);
}

bool storeAttributes(const EntryRef& entry, const EntryState& state, std::uint32_t attrs, FileTime created,
                     bool valueRequired)
{
    // A value written without the stored one read first would lose the creation time and the bits kept in it.
    if (state.storedUnreadable) {
        errno = EACCES;
        return false;
    }
    const bool isFolder = S_ISDIR(state.stx.stx_mode);
    const std::uint32_t unmanaged = state.stored ? state.stored->attrib & ~kManagedAttrs : 0;
    const std::uint32_t managed = (attrs & (kAttrReadOnly | kStoredAttrs)) | (isFolder ? kAttrDirectory : 0);
    const DosAttribBytes value = encodeDosAttrib(unmanaged | managed, created);
    const mode_t newMode = modeFor(state.stx.stx_mode & 07777, attrs & kAttrReadOnly);
    return storeModeAndValue(entry, state, newMode, value, valueRequired);
}

} // namespace

std::optional<EntryInfo> readEntryInfo(const std::string& path, EntryDetail detail)
{
    return readInfo(EntryRef(path), detail);
}

std::optional<EntryInfo> readEntryInfo(int fd)
{
    return readInfo(EntryRef(fd));
}

void addStoredInfo(const std::string& path, EntryInfo& info)
{
    EntryState state;
    readStoredValue(EntryRef(path), state);
    addStored(state.stored, info);
}

bool writeEntryAttributes(const std::string& path, std::uint32_t attrs)
{
    const EntryRef entry(path);
    const std::optional<EntryState> state = readState(entry);
    if (!state)
        return false;
    const EntryInfo current = infoFromState(*state);
    const bool storedBitsChange = ((attrs ^ current.attrs) & kStoredAttrs) != 0;
    return storeAttributes(entry, *state, attrs, current.created, storedBitsChange);
}

bool writeEntryCreationTime(int fd, FileTime created)
{
    const EntryRef entry(fd);
    const std::optional<EntryState> state = readState(entry);
    if (!state)
        return false;
    return storeAttributes(entry, *state, infoFromState(*state).attrs, created, true);
}
