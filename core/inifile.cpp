// The settings file's text: finding values and editing lines. The file itself is read and replaced by the platform.
#include "core/inifile.h"

#include "core/asciitext.h"
#include "core/integertext.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace {

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
        return found && equalNoCase(*found, name);
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
        if (entry && equalNoCase(entry->key, key))
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

// Editors that save with a byte-order mark put it before the first line; it is no part of the text.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutByteOrderMark(std::string_view text)
{
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile IniFile::readOnce(std::string path)
{
    IniFile file(std::move(path));
    file.readOnce_ = true;
    return file;
}

const std::optional<std::string>& IniFile::currentText() const
{
    if (!readOnce_ || !stored_) {
        stored_ = readStoredSettings(path_);
        if (stored_->text)
            stored_->text = std::string(withoutByteOrderMark(*stored_->text));
    }
    return stored_->text;
}

std::optional<std::string> IniFile::problem() const
{
    if (!stored_)
        currentText();
    if (stored_->refusal.empty())
        return std::nullopt;
    return "Cannot read " + absoluteSettingsPath(path_) + ": " + stored_->refusal;
}

std::optional<std::string> IniFile::readValue(const std::string& section, const std::string& key) const
{
    const std::optional<std::string>& text = currentText();
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

void IniFile::writeTogether(const std::function<void()>& writes)
{
    std::vector<TextEdit> edits;
    batch_ = &edits;
    try {
        writes();
    } catch (...) {
        batch_ = nullptr;
        throw;
    }
    batch_ = nullptr;
    rewrite([&edits](const std::string& text) {
        std::optional<std::string> changed;
        for (const TextEdit& edit : edits) {
            if (std::optional<std::string> next = edit(changed.value_or(text)))
                changed = std::move(next);
        }
        return changed;
    });
}

void IniFile::rewrite(const TextEdit& edit)
{
    if (batch_) {
        batch_->push_back(edit);
        return;
    }
    // The edit sees the text without the mark, and a file that had one keeps it.
    const bool written = rewriteStoredSettings(path_, [&](const std::string& stored) -> std::optional<std::string> {
        const std::string_view text = withoutByteOrderMark(stored);
        const std::optional<std::string> changed = edit(std::string(text));
        if (!changed)
            return std::nullopt;
        return std::string(stored.substr(0, stored.size() - text.size())) + *changed;
    });
    if (!written)
        throw IniWriteError("Unable to write to " + absoluteSettingsPath(path_));
    stored_.reset();
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    // Captured by value: within writeTogether the edit runs after the call.
    rewrite([section, key, line = firstLine(value)](const std::string& text) -> std::optional<std::string> {
        return withValue(text, section, key, line);
    });
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
    rewrite([section](const std::string& text) { return withoutSection(text, section); });
}
