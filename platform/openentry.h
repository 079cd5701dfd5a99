// One entry opened once, never through a link it did not ask for, and the calls a change makes through it.
#pragma once

#include "platform/descriptor.h"
#include "platform/platform.h"

#include <cerrno>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The message for an entry that is a symbolic link where none is followed.
constexpr const char* kLinkNotFollowed = "Symbolic link, not followed";
// The message for a stored value this program cannot decode: it is neither replaced nor removed.
constexpr const char* kStoredValueUnknown = "The stored attributes are in a form this program does not know";

// The raw stored value as read: nothing where there is none (or where the entry cannot keep one).
struct StoredValue
{
    bool readable = true; // false when it exists but could not be read; `bytes` is then empty
    std::optional<std::vector<unsigned char>> bytes;
};

// The entry's last component is opened without following a link (the folders before it are the ones the caller
// named), its type and drive are decided from that descriptor, and a regular file or folder is then reopened for
// reading through it. Anything else (opening a device, FIFO or socket has side effects) and what its owner may not
// read stay held by path only, reached through /proc/self/fd for the calls that a path descriptor does not take.
class OpenEntry
{
public:
    // The statx fields every change reads.
    static constexpr unsigned kStatusMask =
        STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_MTIME | STATX_CTIME | STATX_BTIME;

    // Opens `path`; where it cannot, says why in `outcome` and answers false.
    bool open(const std::string& path, EntryChangeOutcome& outcome);

    // The status read when it was opened, and read anew.
    const struct statx& openedStatus() const { return opened_; }
    bool readStatus(struct statx& status) const;
    bool setLastWrite(const timespec& stamp) const;
    // Reads `user.DOSATTRIB` at its real size; errno is kept for the caller when it is unreadable.
    StoredValue readValue() const;
    bool setValue(std::span<const unsigned char> value) const;
    bool removeValue() const;
    bool changeMode(mode_t mode) const;
    // Gives the entry, whose status is `status`, the permission bits `mode` and notes them in `status`; a mode the
    // kernel would not keep whole (keepsSetGroupId) is refused with EPERM.
    bool setMode(struct statx& status, mode_t mode) const;

    // An owner without the permission that the kernel asks for (reading or writing the stored value) gets just the
    // missing bit, for one call; `status` is the entry as it is now. A lift the mode would not survive is refused.
    template <typename Call> bool withOwnerBit(const struct statx& status, mode_t bit, Call call) const;

    bool pathOnly() const { return procPath_[0] != '\0'; }
    int descriptor() const { return fd_.get(); }

private:
    std::string openPath(const std::string& path, EntryChangeOutcome& outcome);

    Descriptor fd_;
    char procPath_[32] = "";
    struct statx opened_;
};

// Reads a stored value at its real size through `get`, one getxattr call of one entry.
StoredValue readValueWith(const std::function<ssize_t(void* buffer, std::size_t size)>& get);

// Whether the caller may give `status`'s entry this mode without the kernel dropping its set-group-id bit: an owner
// outside the file's group loses it silently on every chmod.
bool keepsSetGroupId(const struct statx& status, mode_t mode);

// Runs `call`, keeping errno as it was before it.
template <typename Call> void keepingErrno(Call call)
{
    const int error = errno;
    call();
    errno = error;
}

template <typename Call> bool OpenEntry::withOwnerBit(const struct statx& status, mode_t bit, Call call) const
{
    const mode_t mode = status.stx_mode & 07777;
    if ((mode & bit) || geteuid() == 0 || status.stx_uid != geteuid())
        return call();
    if (!keepsSetGroupId(status, mode)) {
        errno = EPERM;
        return false;
    }
    if (!changeMode(mode | bit))
        return false;
    const bool succeeded = call();
    keepingErrno([&] { changeMode(mode); });
    return succeeded;
}

// Whether any mount of this process lies on a drive the programs refuse, so that a path may lead to one.
bool anyRefusedDrive();
