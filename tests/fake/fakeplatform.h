// An in-memory platform: entries with stamps and attributes, drive types, a clock and failures set by the test.
#pragma once

#include "platform/platform.h"

#include <map>
#include <set>
#include <string>

// The steps a test can make fail: a failed Open fails the whole change; Read is readEntry.
enum class FakeCall
{
    Open,
    SetTimes,
    SetAttributes,
    Read,
};

using FakeEntry = EntryInfo;

class FakePlatform : public Platform
{
public:
    // Installs itself as the current platform for its lifetime.
    FakePlatform();
    ~FakePlatform() override;

    void addEntry(const std::string& fullPath, std::uint32_t attrs, FileTime created, FileTime modified);
    void setDrive(const std::string& root, DriveType type, const std::string& remoteName = {});
    void fail(FakeCall call, const std::string& fullPath) { failures_.insert({call, fullPath}); }

    std::map<std::string, FakeEntry> entries; // by full path
    FileTime currentTime = 0;
    std::string workingDirectory = "/";
    std::string dateFormat = "M/d/yyyy";
    std::string timeFormat = "h:mm:ss tt";
    std::string errorText = "Permission denied";
    bool searchFails = false; // a search that finds nothing fails with errorText, rather than for want of entries
    std::optional<std::string> appPath;

    // Every search reads entries in full, whatever detail is asked for.
    FoundEntries findFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                           EntryDetail detail = EntryDetail::Full) override;
    void addStoredAttributes(const std::string& path, FileEntry& entry) override;
    SearchOutcome hasMatch(const std::string& pattern) override;
    // Every entry at or below the pattern's folder whose name matches, each folder's in one call.
    SearchOutcome searchSubfolders(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk) override;
    std::optional<EntryInfo> readEntry(const std::string& path) override;
    EntryChangeOutcome changeEntry(const std::string& path, const EntryChange& change) override;
    // A snapshot holds the entry's attributes and stamps; its mode is made up from them, it has no stored value.
    std::optional<EntrySnapshot> snapshotEntry(const std::string& path) override;
    EntryChangeOutcome restoreEntry(const std::string& path, const EntrySnapshot& snapshot) override;
    std::string currentDirectory() override { return workingDirectory; }
    std::string driveRoot(const std::string& fullPath) override;
    DriveType getDriveType(const std::string& root) override;
    std::optional<std::string> remoteName(const std::string& root) override;
    FileTime now() override { return currentTime; }
    std::string shortDateFormat() override { return dateFormat; }
    std::string longTimeFormat() override { return timeFormat; }
    std::optional<std::string> registeredAppPath() override { return appPath; }
    bool isProgramFile(const std::string& path) override { return entries.count(path) > 0; }
    std::string startProgram(const std::string&, const std::vector<std::string>&, const std::string&) override
    {
        return {};
    }

    bool fails(FakeCall call, const std::string& path) const { return failures_.count({call, path}) > 0; }

private:
    struct Drive
    {
        DriveType type;
        std::string remoteName;
    };
    std::map<std::string, Drive> drives_;
    std::set<std::pair<FakeCall, std::string>> failures_;
};
