// The folders in which a command line names many entries, each read once so that the rest of its names are found in
// memory.
#include "platform/listedfolders.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <sys/stat.h>

namespace {

// Below this many names a folder is never read: a few lookups cost less than any listing.
constexpr std::size_t kFewestNames = 64;
// A folder's size grows by about 20 to 32 bytes a name on common file systems (ext4 about 30 for short names, tmpfs
// 20), and reading a name costs a fifth to a twentieth of looking it up: reading pays once about a sixteenth of the
// names have been asked for.
constexpr std::size_t kFolderBytesPerName = 32 * 16;

// How many names of `folder` are looked up one by one before it is read; a folder that cannot be looked at never is.
std::size_t namesBeforeReading(const std::string& folder)
{
    struct stat status;
    if (stat(folder.c_str(), &status) != 0)
        return std::numeric_limits<std::size_t>::max();
    return std::max(kFewestNames, static_cast<std::size_t>(status.st_size) / kFolderBytesPerName);
}

std::uint32_t hashOf(std::string_view name)
{
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
}

} // namespace

std::optional<NameKind> ListedFolders::kindOf(const std::string& folder, const std::string& name)
{
    Folder& listed = folders_[folder];
    if (!listed.listing) {
        if (listed.asked == 0)
            listed.readAfter = namesBeforeReading(folder);
        if (++listed.asked < listed.readAfter)
            return std::nullopt;
        // A folder that cannot be read leaves every name to its own lookup.
        listed.listing.emplace();
        readFolderEntries(folder, [&](const char* entry, NameKind kind) { listed.listing->add(entry, kind); });
    }
    return listed.listing->find(name);
}

void ListedFolders::Listing::add(std::string_view name, NameKind kind)
{
    if (kind == NameKind::Unknown)
        return;
    entries_.push_back(
        {static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size()), hashOf(name), kind});
    text_.append(name);
    // At most half the slots are taken, so that a search soon meets a free one.
    if (2 * entries_.size() <= slots_.size())
        return place(static_cast<std::uint32_t>(entries_.size() - 1));
    slots_.assign(std::bit_ceil(4 * entries_.size()), 0);
    for (std::uint32_t index = 0; index < entries_.size(); ++index)
        place(index);
}

void ListedFolders::Listing::place(std::uint32_t index)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = entries_[index].hash & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = index + 1;
}

std::optional<NameKind> ListedFolders::Listing::find(std::string_view name) const
{
    if (slots_.empty())
        return std::nullopt;
    const std::uint32_t hash = hashOf(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const Entry& entry = entries_[slots_[slot] - 1];
        if (entry.hash == hash && std::string_view(text_).substr(entry.offset, entry.length) == name)
            return entry.kind;
    }
    return std::nullopt;
}
