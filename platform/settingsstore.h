// The settings file on disk: read only when it is a regular file of a settings file's size, replaced whole through a
// temporary file beside it, so that a crash leaves either the old or the new file and never half of one.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// A settings file holds a few kilobytes; anything past this is not one, and reading it would only cost time.
constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

struct StoredSettings
{
    std::optional<std::string> text; // the file's bytes; nothing when it is absent or refused
    std::string refusal;             // why a file that is there was not read; empty otherwise
};

// Only a regular file of at most kMaxSettingsFileSize bytes is read. A FIFO, device, socket or folder is refused
// without being opened, so that nothing here can block or read without end. Refusals: "not a regular file",
// "312.4 MB, more than a settings file may hold (1 MiB)" or the system's message. An absent file is no refusal.
StoredSettings readStoredSettings(const std::string& path);

// Gives the new bytes for the stored ones ("" for an absent file), or nothing to leave the file as it is.
using SettingsEdit = std::function<std::optional<std::string>(const std::string& stored)>;

// Applies `edit` to the file, through a symbolic link to the file it points to. A new file gets the mode 0666 less
// the umask; a replaced one keeps its permission bits. False, with the file as it was, when the file is refused as
// for reading, this user may not read and write it, or the new file cannot be put in its place. The first change of
// a file in a process also removes the temporary files beside it that killed writes left an hour or more ago.
bool rewriteStoredSettings(const std::string& path, const SettingsEdit& edit);

// `path` made absolute, for a message; `path` itself when that fails.
std::string absoluteSettingsPath(const std::string& path);
