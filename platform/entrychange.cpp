// Changing one entry through one descriptor: its last-write time, its mode and its stored attribute value.
#include "platform/entrychange.h"

#include "platform/entryinfo.h"
#include "platform/filetime.h"
#include "platform/openentry.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <pthread.h>

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

mode_t readUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Umask:"))
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8) & 0777);
    }
    return 022;
}

// The process's umask, read where reading does not change it (umask() would, for every thread, for a moment); kept
// for the process that read it, as the held descriptor folder is: a forked child reads its own when first asked.
// Asking getpid() at every entry instead cost one more system call an entry.
mode_t processUmask()
{
    static bool known = false;
    static mode_t mask = 022;
    static const bool forgottenInForkedChild = [] {
        return pthread_atfork(nullptr, nullptr, [] { known = false; }) == 0;
    }();
    if (!known || !forgottenInForkedChild) {
        mask = readUmask();
        known = true;
    }
    return mask;
}

// Setting read-only leaves a mode without the owner's write bit alone, so that group and other keep theirs; clearing
// it adds what `chmod +w` adds, so that a round trip under the same umask gives the usual mode back.
mode_t modeFor(mode_t mode, bool readOnly)
{
    if (readOnly)
        return mode & S_IWUSR ? mode & ~kAllWriteBits : mode;
    return mode & S_IWUSR ? mode : mode | S_IWUSR | (kAllWriteBits & ~processUmask());
}

bool refusesDosAttrib(int error, mode_t mode)
{
    // User attributes exist only on files and folders; other entries answer EPERM.
    return error == ENOTSUP || (error == EPERM && !S_ISREG(mode) && !S_ISDIR(mode));
}

statx_timestamp statxTimestamp(const timespec& ts)
{
    return {ts.tv_sec, static_cast<std::uint32_t>(ts.tv_nsec), 0};
}

FileTime distance(FileTime a, FileTime b)
{
    return a > b ? a - b : b - a;
}

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
        status_ = entry_.openedStatus();
        before_ = status_;
        if (change_.created || change_.attributes)
            readStoredValue();
        if (change_.modified || change_.created)
            changeStamps();
        if (change_.created || change_.attributes)
            changeModeAndValue();
        // No half change: where the attributes could not be set, the new stamps go too.
        if (!outcome_.attributesFailure.empty() && change_.modified && outcome_.stampsFailure.empty()) {
            putLastWriteBack();
            outcome_.stampsFailure = outcome_.attributesFailure;
        }
        if (change_.readBack)
            entry_.readStatus(status_);
        outcome_.after = entryInfoFrom(status_, stored_);
    }

private:
    mode_t mode() const { return status_.stx_mode & kPermissionBits; }

    // A value that cannot be read, or that this program cannot decode, cannot be carried over: writing one would lose
    // its creation time and the bits kept in it, so the steps that write it fail instead.
    void readStoredValue()
    {
        const bool read = entry_.withOwnerBit(status_, S_IRUSR, [&] {
            storedRaw_ = entry_.readValue();
            return storedRaw_.readable;
        });
        if (!read)
            storedUnreadable_ = systemMessage();
        else if (storedRaw_.bytes && !(stored_ = decodeDosAttrib(*storedRaw_.bytes)))
            storedUnreadable_ = kStoredValueUnknown;
    }

    void changeStamps()
    {
        if (change_.created && !storedUnreadable_.empty()) {
            outcome_.stampsFailure = storedUnreadable_;
            return;
        }
        if (!change_.modified)
            return;
        const timespec stamp = timespecFromFileTime(*change_.modified);
        if (!entry_.setLastWrite(stamp)) {
            outcome_.stampsFailure = systemMessage();
            return;
        }
        status_.stx_mtime = statxTimestamp(stamp);
        const bool safe = *change_.modified >= kFirstSafeStamp && *change_.modified < kEndOfSafeStamps;
        if (safe && !change_.readBack)
            return;
        if (entry_.readStatus(status_) &&
            distance(fileTimeFromStatx(status_.stx_mtime), *change_.modified) <= kKeptWithin)
            return;
        putLastWriteBack();
        outcome_.stampsFailure = kStampOutOfRange;
    }

    // The stamp exactly as it was read, to the nanosecond.
    void putLastWriteBack()
    {
        if (entry_.setLastWrite(timespecOf(before_.stx_mtime)))
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
        if (entry_.withOwnerBit(status_, S_IWUSR, [&] { return entry_.setValue(bytes); })) {
            stored_ = value;
            return true;
        }
        return !required && refusesDosAttrib(errno, status_.stx_mode);
    }

    void putValueBack()
    {
        const bool restored = storedRaw_.bytes ? entry_.setValue(*storedRaw_.bytes) : entry_.removeValue();
        if (restored)
            stored_ = storedRaw_.bytes ? decodeDosAttrib(*storedRaw_.bytes) : std::nullopt;
    }

    bool setMode(mode_t mode) { return entry_.setMode(status_, mode); }

    const OpenEntry& entry_;
    const EntryChange& change_;
    EntryChangeOutcome& outcome_;
    struct statx before_;
    struct statx status_; // what the entry has become so far
    std::optional<DosAttrib> stored_;
    StoredValue storedRaw_;        // the value as read, to be put back
    std::string storedUnreadable_; // why the stored value cannot be carried over; empty when it can, or there is none
};

} // namespace

EntryChangeOutcome changeEntryAt(const std::string& path, const EntryChange& change)
{
    EntryChangeOutcome outcome;
    const bool lastWriteOnly = change.modified && !change.created && !change.attributes && !change.readBack &&
                               *change.modified >= kFirstSafeStamp && *change.modified < kEndOfSafeStamps;
    // One call where no mount could lead to a refused drive: it sets the entry's own time, never a link's target.
    if (lastWriteOnly && !anyRefusedDrive()) {
        const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(*change.modified)};
        if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
            outcome.stampsFailure = systemMessage();
        outcome.after.modified = *change.modified;
        return outcome;
    }
    OpenEntry entry;
    if (!entry.open(path, outcome))
        return outcome;
    if (!change.modifiedFromRecorded && !change.createdFromRecorded) {
        ChangeRun(entry, change, outcome).run();
        return outcome;
    }
    if (!entry.pathOnly() && S_ISREG(entry.openedStatus().stx_mode))
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
