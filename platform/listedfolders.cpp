// The folders in which a command line names many entries, each read once so that the rest of its names are found in
// memory.
#include "platform/listedfolders.h"

#include <algorithm>
#include <limits>
#include <sys/stat.h>

namespace {

// Below this many names a folder is never read: a few lookups cost less than any listing.
constexpr std::size_t kFewestNames = 64;
// A folder's size grows by about 16 to 32 bytes a name on common file systems, and reading a name costs about a
// sixteenth of looking it up: reading pays once about a sixteenth of the names have been asked for.
constexpr std::size_t kFolderBytesPerName = 16 * 16;

// How many names of `folder` are looked up one by one before it is read; a folder that cannot be looked at never is.
std::size_t namesBeforeReading(const std::string& folder)
{
    struct stat status;
    if (stat(folder.c_str(), &status) != 0)
        return std::numeric_limits<std::size_t>::max();
    return std::max(kFewestNames, static_cast<std::size_t>(status.st_size) / kFolderBytesPerName);
}

} // namespace

std::optional<NameKind> ListedFolders::kindOf(const std::string& folder, const std::string& name)
{
    Folder& listed = folders_[folder];
    if (!listed.kinds) {
        if (listed.asked == 0)
            listed.readAfter = namesBeforeReading(folder);
        if (++listed.asked < listed.readAfter)
            return std::nullopt;
        // A folder that cannot be read leaves every name to its own lookup.
        listed.kinds.emplace();
        readFolderEntries(folder, [&](const char* entry, NameKind kind) { listed.kinds->emplace(entry, kind); });
    }
    const auto found = listed.kinds->find(name);
    if (found == listed.kinds->end() || found->second == NameKind::Unknown)
        return std::nullopt;
    return found->second;
}
