// The settings file: an INI file read and written key by key, each write replacing the whole file atomically.
#pragma once

#include "platform/settingsstore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Raised when the file cannot be written; the text is "Unable to write to <full path>".
class IniWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Every call opens the file by name and releases it at once, so a change is seen by the next call and by the other
// program. A file that is there but is no regular file, is bigger than kMaxSettingsFileSize or cannot be read is
// refused: it reads as absent, problem() says why, and a write leaves it as it is. A UTF-8 byte-order mark at the
// start is no part of the first line, and a file that has one keeps it. Section and key names are matched without
// regard to ASCII case; the first of duplicate sections or keys counts, for reading and for writing. Lines are
// `[section]` headers, `key=value` entries (names and values trimmed of blanks and tabs), `;` comments or ignored; LF
// and CR LF both end a line.
class IniFile
{
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit IniFile(std::string path);
    // Reads the file when a value is first asked for, once: later reads answer from that text and never open the
    // file again, so that a run that asks for many keys reads it once and a run that asks for none never opens it.
    // Its writes still go to the file, which the next read then reads again.
    static IniFile readOnce(std::string path);
    const std::string& path() const { return path_; }

    // Why the file, though there, was refused at the latest read: "Cannot read <full path>: <reason>", with the
    // reasons of readStoredSettings. Reads the file when no value was read yet; nothing when it is absent or read.
    std::optional<std::string> problem() const;

    // Nothing when the file, the section or the key is absent; a refused file counts as absent. One pair
    // of matching double or single quotes around a value is taken off, then the value is cut at kMaxValueLength bytes.
    std::optional<std::string> readValue(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Read with parseInteger; absent values and values that are no number give the fallback.
    std::int32_t readInteger(const std::string& section, const std::string& key, std::int32_t fallback) const;
    // An integer, true when not zero; other text (such as "true") gives the fallback.
    bool readBool(const std::string& section, const std::string& key, bool fallback) const;

    // Creates the file and the section when needed; every other byte of the file stays as it was. A new key follows
    // the section's last line that is neither blank nor a comment; a new section goes at the end of the file. New
    // lines take the file's line end (LF for a new file, which gets the mode 0666 less the umask); a replaced file
    // keeps its permission bits. A value is cut before its first line break. Throws IniWriteError when the file
    // is refused, cannot be written by this user, would grow past kMaxSettingsFileSize, or the new file cannot be
    // put in its place; the old file then stays.
    // The first write in a process that changes the file also removes the temporary files beside it that earlier
    // writes of it, killed before they finished, left an hour or more ago.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
    void writeBool(const std::string& section, const std::string& key, bool value);
    // Removes the section's header and all its keys; an absent section leaves the file untouched.
    void eraseSection(const std::string& section);
    // Makes every write that `writes` makes through this object in one replace of the file, so that they are saved
    // all together or not at all. Reads inside answer from the file as it was before.
    void writeTogether(const std::function<void()>& writes);

private:
    using TextEdit = std::function<std::optional<std::string>(const std::string& text)>;

    // The text to answer from, read now unless read once already; nothing when the file is absent or refused.
    const std::optional<std::string>& currentText() const;
    // `edit` gives the new text without the byte-order mark, or nothing to leave the file as it is.
    void rewrite(const TextEdit& edit);

    std::string path_;
    bool readOnce_ = false;
    std::vector<TextEdit>* batch_ = nullptr; // the edits of writeTogether, while it runs
    // The file as last read, its text without the byte-order mark; nothing before the first read and after a write.
    mutable std::optional<StoredSettings> stored_;
};
