// Stamps: comparing them, and looking them up for a file specification.
#include "core/stamps.h"

namespace {

constexpr FileTime kHalfSecond = 5'000'000;

std::uint32_t highHalf(FileTime stamp)
{
    return static_cast<std::uint32_t>(stamp >> 32);
}

} // namespace

int CompareStamps(FileTime a, FileTime b)
{
    if (a == NoStamp)
        return b == NoStamp ? 0 : -1;
    if (b == NoStamp)
        return 1;
    // Only the low halves are looked at for the tolerance: stamps whose high halves differ compare exactly.
    if (highHalf(a) == highHalf(b) && (a > b ? a - b : b - a) < kHalfSecond)
        return 0;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs)
{
    const std::vector<FileEntry> found = currentPlatform().findFiles(path, 1).entries;
    if (found.empty())
        return false;
    created = found.front().created;
    modified = found.front().modified;
    attrs = found.front().attrs;
    return true;
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified)
{
    std::uint32_t attrs = 0;
    return GetFileStamps(path, created, modified, attrs);
}
