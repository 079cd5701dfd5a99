// The console tool's work list: the matched entries, kept compact, sorted without regard to case, free of duplicates.
#include "console/worklist.h"

#include "console/pathorder.h"
#include "core/filepatterns.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

constexpr std::size_t kChunkSize = 1 << 20;

bool isDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

} // namespace

SearchOutcome WorkList::ExpandSpec(const std::string& spec)
{
    return expandFullPath(fullPath(spec, currentDirectory_));
}

SearchOutcome WorkList::expandFullPath(const std::string& pattern, EntryDetail detail)
{
    const std::string folder = searchFolder(pattern);
    // Names in the working folder are reached from it, as a shell's names are: the system then walks one folder
    // instead of every folder from the root, which for a stamp-only run costs more than the rest of it.
    const std::string relative =
        pattern.starts_with(workingFolderPrefix_) ? pattern.substr(workingFolderPrefix_.size()) : std::string();
    const FoundEntries found =
        currentPlatform().findFiles(relative.empty() ? pattern : relative, Platform::kNoLimit, detail);
    for (const FileEntry& entry : found.entries)
        add(folder, entry);
    return {!found.entries.empty(), found.failure};
}

SearchOutcome WorkList::expandTree(const std::string& pattern, EntryDetail detail,
                                   const std::function<void(const std::string&)>& reportLine)
{
    const SubfolderSearch search = searchWithSubfolders(
        pattern, detail,
        [this](const std::string& folder, std::vector<FileEntry>& found) {
            for (const FileEntry& entry : found)
                add(folder, entry);
        },
        reportLine);
    foldersLeftOut_ += search.foldersLeftOut;
    return search.outcome;
}

void WorkList::add(std::string_view folder, const FileEntry& found)
{
    if (isDotEntry(found.name))
        return;
    const std::size_t length = folder.size() + found.name.size() + found.target.size();
    if (chunks_.empty() || chunkUsed_ + length > chunkSize_) {
        chunkSize_ = std::max(kChunkSize, length);
        // Left unfilled: pages of a chunk that no path reaches are never touched.
        chunks_.push_back(std::make_unique_for_overwrite<char[]>(chunkSize_));
        chunkUsed_ = 0;
    }
    char* at = chunks_.back().get() + chunkUsed_;
    std::memcpy(at, folder.data(), folder.size());
    std::memcpy(at + folder.size(), found.name.data(), found.name.size());
    std::memcpy(at + folder.size() + found.name.size(), found.target.data(), found.target.size());
    listed_.push_back({static_cast<std::uint32_t>(chunks_.size() - 1), static_cast<std::uint32_t>(chunkUsed_),
                       static_cast<std::uint32_t>(folder.size() + found.name.size()),
                       static_cast<std::uint32_t>(found.target.size()), found.modified, found.created, found.attrs,
                       found.symbolicLink});
    chunkUsed_ += length;
}

std::string_view WorkList::pathOf(std::uint32_t index) const
{
    const Listed& listed = listed_[index];
    return {chunks_[listed.chunk].get() + listed.offset, listed.pathLength};
}

void WorkList::finish()
{
    order_.resize(listed_.size());
    std::iota(order_.begin(), order_.end(), 0);
    sortPaths(order_, [this](std::uint32_t index) { return pathOf(index); });
    const auto samePath = [this](std::uint32_t a, std::uint32_t b) { return pathOf(a) == pathOf(b); };
    order_.erase(std::unique(order_.begin(), order_.end(), samePath), order_.end());
}

TouchedFile WorkList::entry(std::size_t position, bool withStoredAttributes) const
{
    const Listed& listed = listed_[order_[position]];
    std::string fileName(path(position));
    const std::string_view target(chunks_[listed.chunk].get() + listed.offset + listed.pathLength, listed.targetLength);
    std::string accessPath = !target.empty()                              ? std::string(target)
                             : fileName.starts_with(workingFolderPrefix_) ? fileName.substr(workingFolderPrefix_.size())
                                                                          : std::string();
    FileEntry found;
    found.attrs = listed.attrs;
    found.created = listed.created;
    found.modified = listed.modified;
    if (withStoredAttributes)
        currentPlatform().addStoredAttributes(accessPath.empty() ? fileName : accessPath, found);
    TouchedFile result(found.attrs, found.modified, found.created, std::move(fileName));
    result.accessPath = std::move(accessPath);
    return result;
}
