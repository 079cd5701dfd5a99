// An in-memory platform: entries with stamps and attributes, drive types, a clock and failures set by the test.
#include "fake/fakeplatform.h"

#include "platform/filetime.h"
#include "platform/paths.h"

#include <fnmatch.h>

namespace {

bool matchesName(const std::string& pattern, const std::string& name)
{
    return pattern == "*.*" || fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

} // namespace

FakePlatform::FakePlatform()
{
    setCurrentPlatform(this);
}

FakePlatform::~FakePlatform()
{
    setCurrentPlatform(nullptr);
}

void FakePlatform::addEntry(const std::string& fullPath, std::uint32_t attrs, FileTime created, FileTime modified)
{
    entries[fullPath] = {attrs, created, modified};
}

void FakePlatform::setDrive(const std::string& root, DriveType type, const std::string& remoteName)
{
    drives_[root] = {type, remoteName};
}

FoundEntries FakePlatform::findFiles(const std::string& pattern, std::size_t limit, EntryDetail)
{
    const std::string full = fullPath(pattern, workingDirectory);
    const std::string folder = folderPart(full);
    const std::string namePattern = namePart(full);
    std::vector<FileEntry> found;
    for (const auto& [path, entry] : entries) {
        if (found.size() >= limit)
            break;
        if (folderPart(path) == folder && matchesName(namePattern, namePart(path)))
            found.push_back({namePart(path), entry.attrs, entry.created, entry.modified});
    }
    return {found, found.empty() && searchFails ? errorText : std::string()};
}

void FakePlatform::addStoredAttributes(const std::string& path, FileEntry& entry)
{
    if (const auto it = entries.find(path); it != entries.end()) {
        entry.attrs = it->second.attrs;
        entry.created = it->second.created;
    }
}

SearchOutcome FakePlatform::searchSubfolders(const std::string& pattern, EntryDetail, const SubfolderWalk& walk)
{
    const std::string full = fullPath(pattern, workingDirectory);
    const std::string top = folderPart(full);
    std::map<std::string, std::vector<FileEntry>> byFolder;
    for (const auto& [path, entry] : entries) {
        if (path.starts_with(top) && matchesName(namePart(full), namePart(path)))
            byFolder[folderPart(path)].push_back({namePart(path), entry.attrs, entry.created, entry.modified});
    }
    for (auto& [folder, found] : byFolder)
        walk.found(folder, found);
    return {!byFolder.empty(), searchFails ? errorText : std::string()};
}

SearchOutcome FakePlatform::hasMatch(const std::string& pattern)
{
    const FoundEntries found = findFiles(pattern, 1);
    return {!found.entries.empty(), found.failure};
}

std::optional<EntryInfo> FakePlatform::readEntry(const std::string& path)
{
    const auto it = entries.find(path);
    if (it == entries.end() || fails(FakeCall::Read, path))
        return std::nullopt;
    return it->second;
}

EntryChangeOutcome FakePlatform::changeEntry(const std::string& path, const EntryChange& change)
{
    EntryChangeOutcome outcome;
    const auto it = entries.find(path);
    if (it == entries.end() || fails(FakeCall::Open, path)) {
        outcome.openFailure = errorText;
        return outcome;
    }
    FakeEntry& entry = it->second;
    EntryChange dated = change;
    if ((change.modifiedFromRecorded || change.createdFromRecorded) && !(entry.attrs & kAttrDirectory)) {
        outcome.recorded = change.readRecorded(-1);
        if (outcome.recorded && change.modifiedFromRecorded)
            dated.modified = outcome.recorded;
        if (outcome.recorded && change.createdFromRecorded)
            dated.created = outcome.recorded;
    }
    const bool stamps = dated.modified || dated.created;
    if (change.attributes && fails(FakeCall::SetAttributes, path))
        outcome.attributesFailure = errorText;
    else if (change.attributes)
        entry.attrs = (change.attributes->appliedTo(entry.attrs) & ~kAttrDirectory) | (entry.attrs & kAttrDirectory);
    // As on disk, failed attributes take the new stamps back with them.
    if (stamps && (fails(FakeCall::SetTimes, path) || !outcome.attributesFailure.empty())) {
        outcome.stampsFailure = errorText;
    } else {
        entry.modified = dated.modified.value_or(entry.modified);
        entry.created = dated.created.value_or(entry.created);
    }
    outcome.after = entry;
    return outcome;
}

std::optional<EntrySnapshot> FakePlatform::snapshotEntry(const std::string& path)
{
    const auto it = entries.find(path);
    if (it == entries.end() || fails(FakeCall::Read, path))
        return std::nullopt;
    const FakeEntry& entry = it->second;
    const std::uint32_t mode = (entry.attrs & kAttrDirectory ? 0555 : 0444) | (entry.attrs & kAttrReadOnly ? 0 : 0200);
    return EntrySnapshot{entry, mode, false, timespecFromFileTime(entry.modified), true, std::nullopt};
}

EntryChangeOutcome FakePlatform::restoreEntry(const std::string& path, const EntrySnapshot& snapshot)
{
    EntryChangeOutcome outcome;
    const auto it = entries.find(path);
    if (it == entries.end() || fails(FakeCall::Open, path)) {
        outcome.openFailure = errorText;
        return outcome;
    }
    FakeEntry& entry = it->second;
    const bool stampsDiffer = entry.modified != snapshot.info.modified || entry.created != snapshot.info.created;
    if (stampsDiffer && fails(FakeCall::SetTimes, path))
        outcome.stampsFailure = errorText;
    else if (entry.attrs != snapshot.info.attrs && fails(FakeCall::SetAttributes, path))
        outcome.attributesFailure = outcome.stampsFailure = errorText;
    else
        entry = snapshot.info;
    outcome.after = entry;
    return outcome;
}

std::string FakePlatform::driveRoot(const std::string& fullPath)
{
    std::string best = "/";
    for (const auto& [root, drive] : drives_)
        if (fullPath.rfind(root, 0) == 0 && root.size() > best.size())
            best = root;
    return best;
}

DriveType FakePlatform::getDriveType(const std::string& root)
{
    const auto it = drives_.find(root);
    return it == drives_.end() ? DriveType::Fixed : it->second.type;
}

std::optional<std::string> FakePlatform::remoteName(const std::string& root)
{
    const auto it = drives_.find(root);
    if (it == drives_.end() || it->second.remoteName.empty())
        return std::nullopt;
    return it->second.remoteName;
}
