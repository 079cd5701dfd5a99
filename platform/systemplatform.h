// The real platform: the Linux stand-ins for the operating-system services, tied together.
#pragma once

#include "platform/listedfolders.h"
#include "platform/mounts.h"
#include "platform/platform.h"

class SystemPlatform final : public Platform
{
public:
    FoundEntries findFiles(const std::string& pattern, std::size_t limit = kNoLimit,
                           EntryDetail detail = EntryDetail::Full) override;
    void addStoredAttributes(const std::string& path, FileEntry& entry) override;
    SearchOutcome hasMatch(const std::string& pattern) override;
    SearchOutcome searchSubfolders(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk) override;

    std::optional<EntryInfo> readEntry(const std::string& path) override;
    EntryChangeOutcome changeEntry(const std::string& path, const EntryChange& change) override;
    std::optional<EntrySnapshot> snapshotEntry(const std::string& path) override;
    EntryChangeOutcome restoreEntry(const std::string& path, const EntrySnapshot& snapshot) override;

    std::string currentDirectory() override;
    std::string driveRoot(const std::string& fullPath) override;
    DriveType getDriveType(const std::string& root) override;
    std::optional<std::string> remoteName(const std::string& root) override;

    FileTime now() override;

    std::string shortDateFormat() override;
    std::string longTimeFormat() override;

    std::optional<std::string> registeredAppPath() override;
    bool isProgramFile(const std::string& path) override;
    std::string startProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingDirectory) override;

private:
    // Paths and drive roots are looked up apart, so that neither turns the other's kept answer out.
    MountLookup pathMounts_{processMounts()};
    MountLookup rootMounts_{processMounts()};
    ListedFolders listedFolders_;
};
