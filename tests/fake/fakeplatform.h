// An in-memory platform: entries with stamps and attributes, drive types, a clock and failures set by the test.
#pragma once

#include "platform/platform.h"

#include <map>
#include <set>
#include <string>

enum class FakeCall
{
    Open,
    SetTimes,
    GetTimes,
    SetAttributes,
    GetAttributes,
};

struct FakeEntry
{
    std::uint32_t attrs = 0;
    FileTime created = 0;
    FileTime modified = 0;
};

class FakePlatform : public Platform
{
public:
    // Installs itself as the current platform for its lifetime.
    FakePlatform();
    ~FakePlatform() override;

    void AddEntry(const std::string& fullPath, std::uint32_t attrs, FileTime created, FileTime modified);
    void SetDrive(const std::string& root, DriveType type, const std::string& remoteName = {});
    void Fail(FakeCall call, const std::string& fullPath) { failures_.insert({call, fullPath}); }

    std::map<std::string, FakeEntry> entries; // by full path
    FileTime now = 0;
    bool ntFamily = true;
    std::string currentDirectory = "/";
    std::string shortDateFormat = "M/d/yyyy";
    std::string longTimeFormat = "h:mm:ss tt";
    std::string errorText = "Permission denied";
    std::optional<std::string> appPath;

    // Every search reads entries in full, whatever detail is asked for.
    std::vector<FileEntry> FindFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                                     EntryDetail detail = EntryDetail::Full) override;
    void AddStoredAttributes(const std::string& path, FileEntry& entry) override;
    bool HasMatch(const std::string& pattern) override;
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attrs) override;
    std::unique_ptr<StampHandle> OpenForStamps(const std::string& path) override;
    std::string LastErrorText() override { return errorText; }
    bool IsNtFamily() override { return ntFamily; }
    std::string CurrentDirectory() override { return currentDirectory; }
    std::string DriveRoot(const std::string& fullPath) override;
    DriveType GetDriveType(const std::string& root) override;
    std::optional<std::string> RemoteName(const std::string& root) override;
    FileTime Now() override { return now; }
    std::string ShortDateFormat() override { return shortDateFormat; }
    std::string LongTimeFormat() override { return longTimeFormat; }
    std::optional<std::string> RegisteredAppPath() override { return appPath; }
    bool IsProgramFile(const std::string& path) override { return entries.count(path) > 0; }
    bool StartProgram(const std::string&, const std::vector<std::string>&, const std::string&) override { return true; }

    bool Fails(FakeCall call, const std::string& path) const { return failures_.count({call, path}) > 0; }

private:
    struct Drive
    {
        DriveType type;
        std::string remoteName;
    };
    std::map<std::string, Drive> drives_;
    std::set<std::pair<FakeCall, std::string>> failures_;
};
