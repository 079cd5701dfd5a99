// Taking an entry's exact state and putting it back: every mode bit, the last-write time, the stored value.
#include "platform/entryrestore.h"

#include "platform/dosattrib.h"
#include "platform/entryinfo.h"
#include "platform/openentry.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>

namespace {

constexpr mode_t kPermissionBits = 07777;

std::optional<DosAttrib> decoded(const std::optional<std::vector<unsigned char>>& bytes)
{
    return bytes ? decodeDosAttrib(*bytes) : std::nullopt;
}

// One restore under way: the entry as it is now, brought back step by step.
class RestoreRun
{
public:
    RestoreRun(const OpenEntry& entry, const EntrySnapshot& snapshot, EntryChangeOutcome& outcome)
        : entry_(entry), snapshot_(snapshot), outcome_(outcome)
    {
    }

    void run()
    {
        status_ = entry_.openedStatus();
        const bool valueKnown = snapshot_.storedValueKnown && entry_.withOwnerBit(status_, S_IRUSR, [&] {
            now_ = entry_.readValue();
            return now_.readable;
        });
        const bool valueDiffers = valueKnown && now_.bytes != snapshot_.storedValue;
        const bool modeDiffers = mode() != snapshot_.mode;
        const timespec before = timespecOf(status_.stx_mtime);
        if (!sameTime(before, snapshot_.modified) && !entry_.setLastWrite(snapshot_.modified)) {
            outcome_.stampsFailure = std::strerror(errno);
        } else if ((modeDiffers || valueDiffers) && !restoreModeAndValue(valueDiffers)) {
            outcome_.attributesFailure = std::strerror(errno);
            // A restore is whole or not at all.
            keepingErrno([&] { entry_.setLastWrite(before); });
            outcome_.stampsFailure = outcome_.attributesFailure;
        }
        entry_.readStatus(status_);
        outcome_.after = entryInfoFrom(status_, decoded(current_ ? *current_ : now_.bytes));
    }

private:
    mode_t mode() const { return status_.stx_mode & kPermissionBits; }

    static bool sameTime(const timespec& a, const timespec& b)
    {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }

    // The value is written while the owner may write: before a mode that takes the write bit away, after one that
    // gives it back.
    bool restoreModeAndValue(bool valueDiffers)
    {
        const mode_t oldMode = mode();
        const bool valueFirst = valueDiffers && (oldMode & S_IWUSR) && !(snapshot_.mode & S_IWUSR);
        if (!valueFirst && !setMode(snapshot_.mode))
            return false;
        if (valueDiffers && !restoreValue()) {
            keepingErrno([&] { setMode(oldMode); });
            return false;
        }
        if (valueFirst && !setMode(snapshot_.mode)) {
            keepingErrno([&] { putValue(now_.bytes); });
            return false;
        }
        return true;
    }

    bool restoreValue()
    {
        if (!entry_.withOwnerBit(status_, S_IWUSR, [&] { return putValue(snapshot_.storedValue); }))
            return false;
        current_ = snapshot_.storedValue;
        return true;
    }

    bool putValue(const std::optional<std::vector<unsigned char>>& bytes) const
    {
        return bytes ? entry_.setValue(*bytes) : entry_.removeValue() || errno == ENODATA;
    }

    bool setMode(mode_t mode) { return mode == this->mode() || entry_.setMode(status_, mode); }

    const OpenEntry& entry_;
    const EntrySnapshot& snapshot_;
    EntryChangeOutcome& outcome_;
    struct statx status_;
    StoredValue now_;                                                  // the value before the restore
    std::optional<std::optional<std::vector<unsigned char>>> current_; // the value written, once it is
};

} // namespace

std::optional<EntrySnapshot> snapshotEntryAt(const std::string& path)
{
    struct statx status;
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, OpenEntry::kStatusMask, &status) != 0)
        return std::nullopt;
    EntrySnapshot snapshot;
    snapshot.mode = status.stx_mode & kPermissionBits;
    snapshot.symbolicLink = S_ISLNK(status.stx_mode);
    snapshot.modified = timespecOf(status.stx_mtime);
    StoredValue stored = readValueWith(
        [&path](void* buffer, std::size_t size) { return lgetxattr(path.c_str(), kDosAttribName, buffer, size); });
    snapshot.storedValueKnown = stored.readable;
    snapshot.storedValue = std::move(stored.bytes);
    snapshot.info = entryInfoFrom(status, decoded(snapshot.storedValue));
    return snapshot;
}

EntryChangeOutcome restoreEntryAt(const std::string& path, const EntrySnapshot& snapshot)
{
    EntryChangeOutcome outcome;
    OpenEntry entry;
    if (entry.open(path, outcome))
        RestoreRun(entry, snapshot, outcome).run();
    return outcome;
}
