// The mount table: which mount holds a path, and what kind of drive that mount is.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

struct MountEntry
{
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// The mounts of `/proc/<pid>/mountinfo` text in its order, octal escapes such as `\040` undone; malformed lines are
// skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);
// The mount with the longest mount point holding `path` (whole components only; the later of equal ones, as it hides
// the earlier); nullptr when none does.
const MountEntry* findMount(const std::vector<MountEntry>& mounts, std::string_view path);
DriveType driveTypeOf(std::string_view fsType);
// This process's mounts, read once: the tools check thousands of paths. Empty when the table cannot be read.
const std::vector<MountEntry>& processMounts();
