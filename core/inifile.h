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
// program. Section and key names are matched without regard to case; the first of duplicate sections or keys counts.
class IniFile
{
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit IniFile(std::string path);
    const std::string& Path() const { return path_; }

    // Nothing when the file, the section or the key is absent. Values are cut at kMaxValueLength bytes.
    std::optional<std::string> ReadValue(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Absent, empty and unreadable values give the fallback.
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    // Creates the file and the section when needed; every other byte of the file stays as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Removes the section's header and all its keys; an absent section leaves the file untouched.
    void EraseSection(const std::string& section);

private:
    std::string path_;
};
