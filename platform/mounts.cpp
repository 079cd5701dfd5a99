// The mount table: which mount holds a path, and what kind of drive that mount is.
#include "platform/mounts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <set>

namespace {

constexpr std::size_t kMountPointField = 4;

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; start < line.size();) {
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos)
            end = line.size();
        if (end > start)
            fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel writes space, tab, newline and backslash as `\` and three octal digits.
std::string unescape(std::string_view field)
{
    std::string result;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) && isOctalDigit(field[i + 2]) &&
            isOctalDigit(field[i + 3])) {
            result += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            result += field[i];
        }
    }
    return result;
}

// Fields: id, parent, device, root, mount point, options, optional fields..., `-`, type, source, super options.
std::optional<MountEntry> parseLine(std::string_view line)
{
    const std::vector<std::string_view> fields = splitFields(line);
    const auto separator = std::find(fields.begin() + std::min(fields.size(), kMountPointField + 2), fields.end(), "-");
    if (fields.end() - separator < 3)
        return std::nullopt;
    std::string fsType = unescape(separator[1]);
    const DriveType driveType = driveTypeOf(fsType);
    std::uint64_t id = 0;
    std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), id);
    return MountEntry{id, unescape(fields[kMountPointField]), std::move(fsType), unescape(separator[2]), driveType};
}

bool holds(std::string_view mountPoint, std::string_view path)
{
    if (!path.starts_with(mountPoint))
        return false;
    return mountPoint.ends_with('/') || path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

std::vector<MountEntry> readProcessMounts()
{
    std::ifstream file("/proc/self/mountinfo");
    if (!file)
        return {};
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseMountInfo(text);
}

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text)
{
    std::vector<MountEntry> mounts;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (std::optional<MountEntry> mount = parseLine(text.substr(start, end - start)))
            mounts.push_back(std::move(*mount));
        start = end + 1;
    }
    return mounts;
}

const MountEntry* findMount(const std::vector<MountEntry>& mounts, std::string_view path)
{
    const MountEntry* best = nullptr;
    for (const MountEntry& mount : mounts) {
        if (holds(mount.mountPoint, path) && (!best || mount.mountPoint.size() >= best->mountPoint.size()))
            best = &mount;
    }
    return best;
}

const MountEntry* MountLookup::holding(std::string_view path)
{
    const std::string_view key = isMountPoint(path) ? path : path.substr(0, path.rfind('/') + 1);
    if (key.empty() || key != key_) {
        key_ = key;
        mount_ = findMount(mounts_, key);
    }
    return mount_;
}

bool MountLookup::isMountPoint(std::string_view path) const
{
    if (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1);
    return std::ranges::any_of(mounts_, [path](const MountEntry& mount) { return mount.mountPoint == path; });
}

DriveType driveTypeOf(std::string_view fsType)
{
    constexpr std::array<std::string_view, 12> kNetwork = {"nfs", "nfs4", "cifs",      "smb3",  "smbfs", "9p",
                                                           "afs", "ceph", "glusterfs", "ncpfs", "davfs", "fuse.sshfs"};
    constexpr std::array<std::string_view, 2> kCdRom = {"iso9660", "udf"};
    if (std::ranges::find(kNetwork, fsType) != kNetwork.end())
        return DriveType::Network;
    if (std::ranges::find(kCdRom, fsType) != kCdRom.end())
        return DriveType::CdRom;
    return DriveType::Fixed;
}

const std::vector<MountEntry>& processMounts()
{
    static const std::vector<MountEntry> mounts = readProcessMounts();
    return mounts;
}

std::optional<MountEntry> mountWithId(std::uint64_t id)
{
    static std::mutex guard;
    static std::vector<MountEntry> mounts = processMounts();
    static std::set<std::uint64_t> unknown; // read again for once each
    const std::lock_guard lock(guard);
    auto found = std::ranges::find(mounts, id, &MountEntry::id);
    if (found == mounts.end() && unknown.insert(id).second) {
        mounts = readProcessMounts();
        found = std::ranges::find(mounts, id, &MountEntry::id);
    }
    return found == mounts.end() ? std::nullopt : std::optional(*found);
}
