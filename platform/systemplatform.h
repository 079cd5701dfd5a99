// The real platform: the Linux stand-ins for the operating-system services, tied together.
#pragma once

#include "platform/platform.h"

class SystemPlatform final : public Platform
{
public:
    std::vector<FileEntry> FindFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                                     EntryDetail detail = EntryDetail::Full) override;
    void AddStoredAttributes(const std::string& path, FileEntry& entry) override;
    bool HasMatch(const std::string& pattern) override;

    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attrs) override;
    // The entry opened read-only, files and folders alike; its stamps are set through the descriptor.
    std::unique_ptr<StampHandle> OpenForStamps(const std::string& path) override;

    std::string LastErrorText() override;
    bool IsNtFamily() override;

    std::string CurrentDirectory() override;
    std::string DriveRoot(const std::string& fullPath) override;
    DriveType GetDriveType(const std::string& root) override;
    std::optional<std::string> RemoteName(const std::string& root) override;

    FileTime Now() override;

    std::string ShortDateFormat() override;
    std::string LongTimeFormat() override;

    std::optional<std::string> RegisteredAppPath() override;
    bool IsProgramFile(const std::string& path) override;
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory) override;

private:
    // Keeps errno of a failed call for LastErrorText and passes the outcome on.
    bool Track(bool succeeded);

    int lastError_ = 0;
};
