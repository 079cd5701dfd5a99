// Changing one entry through one descriptor: its last-write time, its mode and its stored attribute value.
#include "platform/entrychange.h"

#include "platform/descriptor.h"
#include "platform/entryinfo.h"
#include "platform/filetime.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <span>
#include <sys/xattr.h>

namespace {

constexpr std::uint32_t kChangeableAttrs = kAttrReadOnly | kStoredAttrs;
constexpr mode_t kAllWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

// The last-write times that every common Linux file system keeps: FAT begins in 1980; XFS without big timestamps and
// ext4 with small inodes end in January 2038. Outside them a stamp is read back to find out whether it was kept.
constexpr FileTime kFirstSafeStamp = (315'532'800 + kUnixEpochInFileTimeSeconds) * kFileTimeUnitsPerSecond;
constexpr FileTime kEndOfSafeStamps = (2'145'916'800 + kUnixEpochInFileTimeSeconds) * kFileTimeUnitsPerSecond;
// FAT keeps last-write times to two seconds.
constexpr FileTime kKeptWithin = 2 * kFileTimeUnitsPerSecond;

std::string systemMessage()
{
    return std::strerror(errno);
}

bool isRegularOrFolder(mode_t mode)
{
    return S_ISREG(mode) || S_ISDIR(mode);
}

// Read-only already in force leaves the mode alone, so that group and other keep their write bits.
mode_t modeFor(mode_t mode, bool readOnly)
{
    if (!readOnly)
        return mode | S_IWUSR;
    return mode & S_IWUSR ? mode & ~kAllWriteBits : mode;
}

bool refusesDosAttrib(int error, mode_t mode)
{
    // User attributes exist only on files and folders; other entries answer EPERM.
    return error == ENOTSUP || (error == EPERM && !isRegularOrFolder(mode));
}

statx_timestamp statxTimestamp(FileTime stamp)
{
    const timespec ts = timespecFromFileTime(stamp);
    return {ts.tv_sec, static_cast<std::uint32_t>(ts.tv_nsec), 0};
}

FileTime distance(FileTime a, FileTime b)
{
    return a > b ? a - b : b - a;
}

// One entry, opened once. Regular files and folders are opened for reading; anything else (opening a device, FIFO or
// socket has side effects) and what its owner may not read are held by path only, and reached through
// /proc/self/fd for the calls that a path descriptor does not take.
class OpenEntry
{
public:
    bool open(const std::string& path)
    {
        // Looked up once before the open only to choose how to open it; everything that counts is read afterwards.
        struct statx kind;
        const bool readable =
            statx(AT_FDCWD, path.c_str(), 0, STATX_TYPE, &kind) == 0 && isRegularOrFolder(kind.stx_mode);
        if (readable)
            fd_ = Descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd_ && (!readable || errno == EACCES)) {
            fd_ = Descriptor(::open(path.c_str(), O_PATH | O_CLOEXEC));
            std::snprintf(procPath_, sizeof procPath_, "/proc/self/fd/%d", fd_.get());
        }
        return static_cast<bool>(fd_);
    }

    bool readStatus(struct statx& status) const
    {
        return statx(fd_.get(), "", AT_EMPTY_PATH, kEntryStatusMask, &status) == 0;
    }
    bool setLastWrite(FileTime stamp) const
    {
        const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(stamp)};
        return (pathOnly() ? utimensat(AT_FDCWD, procPath_, times, 0) : futimens(fd_.get(), times)) == 0;
    }
    ssize_t getValue(std::span<unsigned char> buffer) const
    {
        return pathOnly() ? getxattr(procPath_, kDosAttribName, buffer.data(), buffer.size())
                          : fgetxattr(fd_.get(), kDosAttribName, buffer.data(), buffer.size());
    }
    bool setValue(std::span<const unsigned char> value) const
    {
        return (pathOnly() ? setxattr(procPath_, kDosAttribName, value.data(), value.size(), 0)
                           : fsetxattr(fd_.get(), kDosAttribName, value.data(), value.size(), 0)) == 0;
    }
    bool removeValue() const
    {
        return (pathOnly() ? removexattr(procPath_, kDosAttribName) : fremovexattr(fd_.get(), kDosAttribName)) == 0;
    }
    bool changeMode(mode_t mode) const { return (pathOnly() ? chmod(procPath_, mode) : fchmod(fd_.get(), mode)) == 0; }

    bool pathOnly() const { return procPath_[0] != '\0'; }
    int descriptor() const { return fd_.get(); }

private:
    Descriptor fd_;
    char procPath_[32] = "";
};

// One change under way: what the entry was, what it has become so far, and the outcome of each step.
class ChangeRun
{
public:
    ChangeRun(const OpenEntry& entry, const EntryChange& change, EntryChangeOutcome& outcome)
        : entry_(entry), change_(change), outcome_(outcome)
    {
    }

    void run()
    {
        if (!entry_.readStatus(status_)) {
            outcome_.openFailure = systemMessage();
            return;
        }
        before_ = status_;
        if (change_.created || change_.attributes)
            readStoredValue();
        if (change_.modified || change_.created)
            changeStamps();
        if (change_.created || change_.attributes)
            changeModeAndValue();
        if (change_.readBack)
            entry_.readStatus(status_);
        outcome_.after = entryInfoFrom(status_, stored_);
    }

private:
    mode_t mode() const { return status_.stx_mode & kPermissionBits; }
    bool ownedByCaller() const { return status_.stx_uid == geteuid(); }

    // An owner without the permission that the kernel asks for gets just the missing bit, for one call.
    template <typename Call> bool withOwnerBit(mode_t bit, Call call)
    {
        if ((mode() & bit) || geteuid() == 0 || !ownedByCaller())
            return call();
        if (!entry_.changeMode(mode() | bit))
            return false;
        const bool succeeded = call();
        keepingErrno([&] { entry_.changeMode(mode()); });
        return succeeded;
    }

    // None stored, none possible, or one longer than ours is no value: a write replaces it. A value that cannot be
    // read for another reason cannot be carried over: writing one would lose its creation time and the bits kept in
    // it, so the steps that write it fail instead.
    void readStoredValue()
    {
        ssize_t size = -1;
        const bool read = withOwnerBit(S_IRUSR, [&] {
            size = entry_.getValue(storedBytes_);
            return size >= 0;
        });
        if (read) {
            storedSize_ = static_cast<std::size_t>(size);
            stored_ = decodeDosAttrib(std::span(storedBytes_.data(), storedSize_));
        } else if (errno != ENODATA && errno != ENOTSUP && errno != EPERM && errno != ERANGE)
            storedUnreadable_ = systemMessage();
    }

    void changeStamps()
    {
        if (change_.created && !storedUnreadable_.empty()) {
            outcome_.stampsFailure = storedUnreadable_;
            return;
        }
        if (!change_.modified)
            return;
        if (!entry_.setLastWrite(*change_.modified)) {
            outcome_.stampsFailure = systemMessage();
            return;
        }
        status_.stx_mtime = statxTimestamp(*change_.modified);
        const bool safe = *change_.modified >= kFirstSafeStamp && *change_.modified < kEndOfSafeStamps;
        if (safe && !change_.readBack)
            return;
        if (entry_.readStatus(status_) &&
            distance(fileTimeFromStatx(status_.stx_mtime), *change_.modified) <= kKeptWithin)
            return;
        putLastWriteBack();
        outcome_.stampsFailure = kStampOutOfRange;
    }

    void putLastWriteBack()
    {
        if (entry_.setLastWrite(fileTimeFromStatx(before_.stx_mtime)))
            status_.stx_mtime = before_.stx_mtime;
    }

    void changeModeAndValue()
    {
        const bool createdGoes = change_.created && outcome_.stampsFailure.empty();
        if (change_.attributes && !storedUnreadable_.empty())
            outcome_.attributesFailure = storedUnreadable_;
        const bool attributesGo = change_.attributes && outcome_.attributesFailure.empty();
        if (!createdGoes && !attributesGo)
            return;

        const EntryInfo current = entryInfoFrom(status_, stored_);
        const std::uint32_t attrs =
            attributesGo ? change_.attributes->appliedTo(current.attrs) & kChangeableAttrs : current.attrs;
        const bool attrsChange = ((attrs ^ current.attrs) & kChangeableAttrs) != 0;
        // A stored value that no longer tells what the mode does is brought in line when attributes are set.
        const bool storedDiffers = attributesGo && stored_ && ((stored_->attrib ^ attrs) & kChangeableAttrs) != 0;
        const bool createdChanges = createdGoes && *change_.created != current.created;
        const bool writeValue = attrsChange || storedDiffers || createdChanges;
        const mode_t newMode = attributesGo ? modeFor(mode(), attrs & kAttrReadOnly) : mode();
        if (!writeValue && newMode == mode())
            return;

        const DosAttrib value = valueWith(attrs, createdGoes ? *change_.created : current.created);
        // The stamps are not at stake when the value holds no new creation time, nor the value when it holds no new
        // hidden, system or archive bit: then a file system without extended attributes still takes the mode.
        const bool valueRequired = createdChanges || ((attrs ^ current.attrs) & kStoredAttrs) != 0;
        if (!storeModeAndValue(newMode, writeValue ? &value : nullptr, valueRequired)) {
            const std::string message = systemMessage();
            if (createdGoes) {
                outcome_.stampsFailure = message;
                if (change_.modified)
                    putLastWriteBack();
            }
            if (attributesGo)
                outcome_.attributesFailure = message;
        }
    }

    // The stored value with these attributes and creation time; the bits we do not manage and Samba's itime stay.
    DosAttrib valueWith(std::uint32_t attrs, FileTime created) const
    {
        DosAttrib value{attrs & kChangeableAttrs, created, {}};
        if (stored_) {
            value.attrib |= stored_->attrib & ~(kChangeableAttrs | kAttrDirectory);
            value.itime = stored_->itime;
        }
        if (S_ISDIR(status_.stx_mode))
            value.attrib |= kAttrDirectory;
        return value;
    }

    // The value is written while the owner may write: before a mode that takes the write bit away, after one that
    // gives it back, and with the bit lifted for that one call where neither mode has it. A step that fails puts back
    // what the step before it changed.
    bool storeModeAndValue(mode_t newMode, const DosAttrib* value, bool valueRequired)
    {
        const mode_t oldMode = mode();
        const bool valueFirst = value && (oldMode & S_IWUSR) && !(newMode & S_IWUSR);
        if (!valueFirst && newMode != oldMode && !setMode(newMode))
            return false;
        if (value && !storeValue(*value, valueRequired)) {
            keepingErrno([&] {
                if (mode() != oldMode)
                    setMode(oldMode);
            });
            return false;
        }
        if (valueFirst && !setMode(newMode)) {
            keepingErrno([&] { putValueBack(); });
            return false;
        }
        return true;
    }

    bool storeValue(const DosAttrib& value, bool required)
    {
        const DosAttribBytes bytes = encodeDosAttrib(value.attrib, value.createTime.value_or(0), value.itime);
        if (withOwnerBit(S_IWUSR, [&] { return entry_.setValue(bytes); })) {
            stored_ = value;
            return true;
        }
        return !required && refusesDosAttrib(errno, status_.stx_mode);
    }

    void putValueBack()
    {
        const bool restored =
            storedSize_ > 0 ? entry_.setValue(std::span(storedBytes_.data(), storedSize_)) : entry_.removeValue();
        if (restored)
            stored_ = decodeDosAttrib(std::span(storedBytes_.data(), storedSize_));
    }

    template <typename Call> static void keepingErrno(Call call)
    {
        const int error = errno;
        call();
        errno = error;
    }

    bool setMode(mode_t mode)
    {
        if (!entry_.changeMode(mode))
            return false;
        status_.stx_mode = static_cast<std::uint16_t>((status_.stx_mode & ~kPermissionBits) | mode);
        return true;
    }

    const OpenEntry& entry_;
    const EntryChange& change_;
    EntryChangeOutcome& outcome_;
    struct statx before_;
    struct statx status_; // what the entry has become so far
    std::optional<DosAttrib> stored_;
    std::array<unsigned char, kMaxDosAttribSize> storedBytes_; // the value as read, to be put back
    std::size_t storedSize_ = 0;
    std::string storedUnreadable_; // why the stored value could not be read; empty when it could, or there is none
};

} // namespace

EntryChangeOutcome changeEntryAt(const std::string& path, const EntryChange& change)
{
    EntryChangeOutcome outcome;
    const bool lastWriteOnly = change.modified && !change.created && !change.attributes && !change.readBack &&
                               *change.modified >= kFirstSafeStamp && *change.modified < kEndOfSafeStamps;
    if (lastWriteOnly) {
        const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(*change.modified)};
        if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
            outcome.stampsFailure = systemMessage();
        outcome.after.modified = *change.modified;
        return outcome;
    }
    OpenEntry entry;
    if (!entry.open(path)) {
        outcome.openFailure = systemMessage();
        return outcome;
    }
    if (!change.modifiedFromRecorded && !change.createdFromRecorded) {
        ChangeRun(entry, change, outcome).run();
        return outcome;
    }
    struct statx status;
    if (!entry.pathOnly() && entry.readStatus(status) && S_ISREG(status.stx_mode))
        outcome.recorded = change.readRecorded(entry.descriptor());
    EntryChange dated = change;
    if (outcome.recorded) {
        if (change.modifiedFromRecorded)
            dated.modified = outcome.recorded;
        if (change.createdFromRecorded)
            dated.created = outcome.recorded;
    }
    ChangeRun(entry, dated, outcome).run();
    return outcome;
}
