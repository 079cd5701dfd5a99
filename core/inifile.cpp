// The settings file, parsed afresh on every call; a write replaces the whole file through a temporary file beside
// it, so that a crash leaves either the old or the new file and never half of one.
#include "core/inifile.h"

#include "core/integertext.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

struct Line
{
    std::string_view content; // without the line end
    std::size_t begin;        // offset of the line in the file's text
    std::size_t next;         // offset of the following line
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t newline = text.find('\n', begin);
        const std::size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
        std::string_view content = text.substr(begin, next - begin);
        if (content.ends_with('\n'))
            content.remove_suffix(content.ends_with("\r\n") ? 2 : 1);
        lines.push_back({content, begin, next});
        begin = next;
    }
    return lines;
}

// New lines follow the file's first line end; a file without one gets LF.
std::string lineEndOf(std::string_view text)
{
    const std::size_t newline = text.find('\n');
    return newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

// The name of a `[name]` header; anything after the closing bracket is ignored.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    const std::size_t close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

struct Entry
{
    std::string_view key;
    std::string_view value; // trimmed, quotes still on; an empty value sits at the end of its line
};

std::optional<Entry> splitEntry(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || trim(line).starts_with(';') || sectionName(line))
        return std::nullopt;
    return Entry{trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

std::string_view unquote(std::string_view value)
{
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// The first section of that name: its header line and every line up to the next header.
std::optional<std::span<const Line>> findSection(std::span<const Line> lines, std::string_view name)
{
    const auto named = [&](const Line& line) {
        const std::optional<std::string_view> found = sectionName(line.content);
        return found && sameName(*found, name);
    };
    const auto header = std::ranges::find_if(lines, named);
    if (header == lines.end())
        return std::nullopt;
    const auto end = std::find_if(header + 1, lines.end(), [](const Line& line) { return sectionName(line.content); });
    return std::span<const Line>(header, end);
}

std::optional<std::string_view> findValue(std::span<const Line> section, std::string_view key)
{
    for (const Line& line : section.subspan(1)) {
        const std::optional<Entry> entry = splitEntry(line.content);
        if (entry && sameName(entry->key, key))
            return entry->value;
    }
    return std::nullopt;
}

// A new key goes after this line: the section's last line that is neither blank nor a comment, at worst its header.
const Line& lastContentLine(std::span<const Line> section)
{
    return *std::find_if(section.rbegin(), section.rend(), [](const Line& line) {
        const std::string_view text = trim(line.content);
        return !text.empty() && !text.starts_with(';');
    });
}

std::string spliced(std::string text, std::size_t at, std::size_t count, const std::string& insert)
{
    return text.replace(at, count, insert);
}

std::string withValue(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& value)
{
    const std::vector<Line> lines = splitLines(text);
    const std::string eol = lineEndOf(text);
    const std::string entry = key + "=" + value;
    const std::optional<std::span<const Line>> found = findSection(lines, section);
    if (!found) {
        const std::string separator = text.empty() || text.ends_with('\n') ? "" : eol;
        return text + separator + "[" + section + "]" + eol + entry + eol;
    }
    if (const std::optional<std::string_view> old = findValue(*found, key))
        return spliced(text, static_cast<std::size_t>(old->data() - text.data()), old->size(), value);
    const Line& last = lastContentLine(*found);
    const bool lastHasLineEnd = last.next > last.begin + last.content.size();
    return lastHasLineEnd ? spliced(text, last.next, 0, entry + eol) : spliced(text, last.next, 0, eol + entry);
}

std::optional<std::string> withoutSection(const std::string& text, const std::string& section)
{
    const std::vector<Line> lines = splitLines(text);
    const std::optional<std::span<const Line>> found = findSection(lines, section);
    if (!found)
        return std::nullopt;
    return spliced(text, found->front().begin, found->back().next - found->front().begin, "");
}

// A value cannot span lines: the rest would turn into lines of their own.
std::string firstLine(const std::string& value)
{
    return value.substr(0, value.find_first_of("\r\n"));
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool closeNow() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool readAll(int fd, std::string& out)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            out.append(buffer, static_cast<std::size_t>(count));
    }
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

struct Snapshot
{
    std::string text;
    mode_t mode = 0;
};

// 0, or the errno of the failure. O_RDWR before a replacement refuses a file the user may not write.
int load(const std::string& path, int flags, Snapshot& out)
{
    Descriptor file(::open(path.c_str(), flags | O_CLOEXEC));
    struct stat info
    {
    };
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !readAll(file.get(), out.text))
        return errno;
    out.mode = info.st_mode & 07777;
    return 0;
}

std::optional<std::string> readText(const std::string& path)
{
    Snapshot file;
    if (load(path, O_RDONLY, file) != 0)
        return std::nullopt;
    return std::move(file.text);
}

// What open() with mode 0666 would give; the umask is read rather than set and restored, which would race with
// other threads creating files.
mode_t newFileMode()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Umask:"))
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0600;
}

// A save's temporary is named by this prefix and the six letters or digits that mkostemp puts for "XXXXXX".
std::string temporaryPrefix(const fs::path& target)
{
    return "." + target.filename().string() + ".";
}

bool replaceFile(const std::string& target, const std::string& text, mode_t mode)
{
    const fs::path path(target);
    std::string temporary = (path.parent_path() / (temporaryPrefix(path) + "XXXXXX")).string();
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return false;
    const bool written = writeAll(file.get(), text) && ::fchmod(file.get(), mode) == 0 && ::fsync(file.get()) == 0;
    if (file.closeNow() && written && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

bool isTemporaryName(std::string_view name, std::string_view prefix)
{
    constexpr std::size_t kRandomLength = 6;
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return name.size() == prefix.size() + kRandomLength && name.starts_with(prefix) &&
           std::ranges::all_of(name.substr(prefix.size()), letterOrDigit);
}

// Temporaries of earlier saves of this file whose writer was killed before its rename. A live writer holds its
// temporary for milliseconds, so one untouched for an hour is a leftover; only the user's own regular files go.
void removeLeftoverTemporaries(const fs::path& target)
{
    constexpr std::time_t kLeftoverAge = 60 * 60;
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing)
        return;
    const std::string prefix = temporaryPrefix(target);
    const std::time_t cutoff = std::time(nullptr) - kLeftoverAge;
    const int folderFd = ::dirfd(listing.get());
    while (const dirent* entry = ::readdir(listing.get())) {
        struct stat info
        {
        };
        if (isTemporaryName(entry->d_name, prefix) &&
            ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && info.st_mtime < cutoff)
            ::unlinkat(folderFd, entry->d_name, 0);
    }
}

// Leftovers come only from killed saves, so one look per file and process is enough; a settings save writes key by
// key, and each write would otherwise read the whole folder again.
void removeLeftoverTemporariesOnce(const std::string& target)
{
    static std::mutex mutex;
    static std::set<std::string> looked;
    const std::lock_guard lock(mutex);
    if (looked.insert(target).second)
        removeLeftoverTemporaries(target);
}

IniWriteError refusal(const std::string& path)
{
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return IniWriteError("Unable to write to " + (error ? path : full.string()));
}

// Through a symbolic link the file it points to is replaced, not the link.
std::string writeTarget(const std::string& path)
{
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// `change` gives the new text, or nothing to leave the file as it is.
template <class Change> void rewrite(const std::string& path, Change change)
{
    const std::string target = writeTarget(path);
    Snapshot current;
    const int error = load(target, O_RDWR, current);
    if (error == ENOENT)
        current = {"", newFileMode()};
    else if (error != 0)
        throw refusal(path);
    const std::optional<std::string> changed = change(current.text);
    if (!changed)
        return;
    if (!replaceFile(target, *changed, current.mode))
        throw refusal(path);
    removeLeftoverTemporariesOnce(target);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile IniFile::readOnce(std::string path)
{
    IniFile file(std::move(path));
    file.readOnce_ = true;
    file.rereadIfReadOnce();
    return file;
}

void IniFile::rereadIfReadOnce()
{
    if (readOnce_)
        text_ = readText(path_);
}

std::optional<std::string> IniFile::readValue(const std::string& section, const std::string& key) const
{
    const std::optional<std::string> fresh = readOnce_ ? std::nullopt : readText(path_);
    const std::optional<std::string>& text = readOnce_ ? text_ : fresh;
    if (!text)
        return std::nullopt;
    const std::vector<Line> lines = splitLines(*text);
    const std::optional<std::span<const Line>> found = findSection(lines, section);
    const std::optional<std::string_view> value = found ? findValue(*found, key) : std::nullopt;
    if (!value)
        return std::nullopt;
    return std::string(unquote(*value).substr(0, kMaxValueLength));
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    return readValue(section, key).value_or(fallback);
}

std::int32_t IniFile::readInteger(const std::string& section, const std::string& key, std::int32_t fallback) const
{
    const std::optional<std::string> value = readValue(section, key);
    return value ? parseInteger(*value).value_or(fallback) : fallback;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    rewrite(path_, [&](const std::string& text) -> std::optional<std::string> {
        return withValue(text, section, key, firstLine(value));
    });
    rereadIfReadOnce();
}

void IniFile::writeInteger(const std::string& section, const std::string& key, std::int32_t value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseSection(const std::string& section)
{
    rewrite(path_, [&](const std::string& text) { return withoutSection(text, section); });
    rereadIfReadOnce();
}
