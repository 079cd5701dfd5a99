// The mount table: which mount holds a path, and what kind of drive that mount is.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MountEntry
{
    std::uint64_t id = 0; // the kernel's mount id, as statx reports it
    std::string mountPoint;
    std::string fsType;
    std::string source;
    DriveType driveType = DriveType::Fixed; // what fsType makes it
};

// The mounts of `/proc/<pid>/mountinfo` text in its order, octal escapes such as `\040` undone; malformed lines are
// skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);
// The mount with the longest mount point holding `path` (whole components only; the later of equal ones, as it hides
// the earlier); nullptr when none does.
const MountEntry* findMount(const std::vector<MountEntry>& mounts, std::string_view path);
DriveType driveTypeOf(std::string_view fsType);

// findMount for many absolute paths: the paths checked mostly come folder by folder, and all the paths of one folder
// but a mount point among them have the folder's mount, which is kept; so is a mount point's own.
class MountLookup
{
public:
    explicit MountLookup(const std::vector<MountEntry>& mounts) : mounts_(mounts) {}
    const MountEntry* holding(std::string_view path);

private:
    bool isMountPoint(std::string_view path) const;

    const std::vector<MountEntry>& mounts_;
    std::string key_; // the folder or mount point whose mount is kept; empty while none is
    const MountEntry* mount_ = nullptr;
};
// This process's mounts, read once: the tools check thousands of paths. Empty when the table cannot be read.
const std::vector<MountEntry>& processMounts();
// The mount of this process with the kernel's id `id`; the table is read again once for an id it does not know (a
// mount made since); nothing when none has it.
std::optional<MountEntry> mountWithId(std::uint64_t id);
