// What one entry is: its attributes and stamps, read from its mode, its times and `user.DOSATTRIB`.
#include "platform/entryinfo.h"

#include "platform/filetime.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <sys/xattr.h>

namespace {

FileTime fileSystemCreationTime(const struct statx& stx)
{
    if ((stx.stx_mask & STATX_BTIME) && (stx.stx_btime.tv_sec != 0 || stx.stx_btime.tv_nsec != 0))
        return fileTimeFromStatx(stx.stx_btime);
    return std::min(fileTimeFromStatx(stx.stx_ctime), fileTimeFromStatx(stx.stx_mtime));
}

// Whatever keeps the value from being read (none stored, longer than ours, no support, no permission) means no value.
std::optional<DosAttrib> readStoredValue(const std::string& path)
{
    std::array<unsigned char, kMaxDosAttribSize> bytes;
    const ssize_t size = getxattr(path.c_str(), kDosAttribName, bytes.data(), bytes.size());
    if (size <= 0)
        return std::nullopt;
    return decodeDosAttrib(std::span(bytes.data(), static_cast<std::size_t>(size)));
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

} // namespace

timespec timespecOf(const statx_timestamp& t)
{
    return {static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
}

FileTime fileTimeFromStatx(const statx_timestamp& t)
{
    return fileTimeFromTimespec(timespecOf(t));
}

EntryInfo entryInfoFrom(const struct statx& status, const std::optional<DosAttrib>& stored)
{
    EntryInfo info;
    if (S_ISDIR(status.stx_mode))
        info.attrs |= kAttrDirectory;
    if (!(status.stx_mode & S_IWUSR))
        info.attrs |= kAttrReadOnly;
    info.created = fileSystemCreationTime(status);
    info.modified = fileTimeFromStatx(status.stx_mtime);
    addStored(stored, info);
    return info;
}

std::optional<EntryInfo> readEntryInfo(const std::string& path, EntryDetail detail)
{
    struct statx status;
    if (statx(AT_FDCWD, path.c_str(), 0, kEntryStatusMask, &status) != 0)
        return std::nullopt;
    return entryInfoFrom(status, detail == EntryDetail::Full ? readStoredValue(path) : std::nullopt);
}

void addStoredInfo(const std::string& path, EntryInfo& info)
{
    addStored(readStoredValue(path), info);
}
