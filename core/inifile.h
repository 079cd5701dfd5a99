// The settings file: an INI file read and written key by key, each write replacing the whole file atomically.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// Raised when the file cannot be written; the text is "Unable to write to <full path>".
class IniWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Every call opens the file by name and releases it at once, so a change is seen by the next call and by the other
// program. Section and key names are matched without regard to ASCII case; the first of duplicate sections or keys
// counts, for reading and for writing. Lines are `[section]` headers, `key=value` entries (names and values trimmed
// of blanks and tabs), `;` comments or ignored; LF and CR LF both end a line.
class IniFile
{
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit IniFile(std::string path);
    // Reads the file now, once: the reads of the object returned answer from that text and never open the file
    // again, so that a run that asks for many keys reads it once. Its writes still go to the file and then reread it.
    static IniFile readOnce(std::string path);
    const std::string& path() const { return path_; }

    // Nothing when the file, the section or the key is absent; a file that cannot be read counts as absent. One pair
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
    // exists but cannot be read and written, or the new file cannot be put in its place; the old file then stays.
    // The first write in a process that changes the file also removes the temporary files beside it that earlier
    // writes of it, killed before they finished, left an hour or more ago.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
    void writeBool(const std::string& section, const std::string& key, bool value);
    // Removes the section's header and all its keys; an absent section leaves the file untouched.
    void eraseSection(const std::string& section);

private:
    void rereadIfReadOnce();

    std::string path_;
    bool readOnce_ = false;
    std::optional<std::string> text_; // the text read once; nothing when the file was absent or unreadable
};
