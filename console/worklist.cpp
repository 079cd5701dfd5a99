// The console tool's work list: the matched entries, sorted without regard to case and free of duplicates.
#include "console/worklist.h"

#include "platform/paths.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <numeric>

namespace {

// A key that orders paths by the locale's collation, letter case aside. Each step writes into a buffer sized by a
// first guess, so that a long list costs one conversion per path.
std::wstring collationKey(const std::string& path)
{
    // A path has at most as many characters as bytes.
    std::wstring wide(path.size() + 1, L'\0');
    std::mbstate_t state{};
    const char* source = path.c_str();
    const std::size_t length = std::mbsrtowcs(wide.data(), &source, wide.size(), &state);
    if (length == static_cast<std::size_t>(-1)) {
        // Not valid text in this locale: order by its bytes.
        wide.assign(path.begin(), path.end());
    } else {
        wide.resize(length);
    }
    for (wchar_t& c : wide)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    std::wstring key(2 * wide.size() + 1, L'\0');
    std::size_t keyLength = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    if (keyLength >= key.size()) {
        key.resize(keyLength + 1);
        keyLength = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    }
    key.resize(keyLength);
    return key;
}

} // namespace

bool WorkList::ExpandSpec(const std::string& spec)
{
    const std::string fullPath = FullPath(spec, currentDirectory_);
    const std::string folder = FolderPart(fullPath);
    const std::vector<FileEntry> found =
        CurrentPlatform().FindFiles(fullPath, Platform::kNoLimit, EntryDetail::ModeAndTimes);
    for (const FileEntry& entry : found) {
        if (entry.name == "." || entry.name == "..")
            continue;
        entries_.emplace_back(entry.attrs, entry.modified, entry.created, folder + entry.name);
    }
    return !found.empty();
}

void WorkList::AddStoredAttributes(bool everyEntry)
{
    Platform& platform = CurrentPlatform();
    for (TskObj& entry : entries_) {
        if (!everyEntry && !(entry.CurAttrs & kAttrReadOnly))
            continue;
        FileEntry full{{}, entry.CurAttrs, entry.CurCreated, entry.CurModified};
        platform.AddStoredAttributes(entry.FileName, full);
        entry = TskObj(full.attrs, full.modified, full.created, std::move(entry.FileName));
    }
}

void WorkList::Finish()
{
    std::vector<std::wstring> keys;
    keys.reserve(entries_.size());
    for (const TskObj& entry : entries_)
        keys.push_back(collationKey(entry.FileName));

    // Paths that differ only in letter case are different files; the tie-break keeps them apart and in a fixed order.
    const auto before = [&](std::size_t a, std::size_t b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        return entries_[a].FileName < entries_[b].FileName;
    };
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), 0);
    // The shell hands its matches over in order already; then the entries stay where they are.
    if (!std::is_sorted(order.begin(), order.end(), before)) {
        std::stable_sort(order.begin(), order.end(), before);
        std::vector<TskObj> sorted;
        sorted.reserve(entries_.size());
        for (std::size_t i : order)
            sorted.push_back(std::move(entries_[i]));
        entries_ = std::move(sorted);
    }
    const auto samePath = [](const TskObj& a, const TskObj& b) { return a.FileName == b.FileName; };
    entries_.erase(std::unique(entries_.begin(), entries_.end(), samePath), entries_.end());
}
