// The real platform: the Linux stand-ins for the operating-system services, tied together.
#pragma once

#include "platform/platform.h"

class SystemPlatform final : public Platform
{
public:
    std::vector<FileEntry> findFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                                     EntryDetail detail = EntryDetail::Full) override;
    void addStoredAttributes(const std::string& path, FileEntry& entry) override;
    bool hasMatch(const std::string& pattern) override;

    std::optional<std::uint32_t> getAttributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attrs) override;
    // The entry opened read-only, files and folders alike; its stamps are set through the descriptor.
    std::unique_ptr<StampHandle> openForStamps(const std::string& path) override;

    std::string lastErrorText() override;
    bool isNtFamily() override;

    std::string currentDirectory() override;
    std::string driveRoot(const std::string& fullPath) override;
    DriveType getDriveType(const std::string& root) override;
    std::optional<std::string> remoteName(const std::string& root) override;

    FileTime now() override;

    std::string shortDateFormat() override;
    std::string longTimeFormat() override;

    std::optional<std::string> registeredAppPath() override;
    bool isProgramFile(const std::string& path) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory) override;

private:
    // Keeps errno of a failed call for lastErrorText and passes the outcome on.
    bool track(bool succeeded);

    int lastError_ = 0;
};
