// The settings-file reader and writer over arbitrary file bytes. Input: a section name, a key name and a value, each
// ended by a NUL, then the file's bytes. Reads must not fail, and a write or an erase must leave every other byte of
// the file as it was.
#include "core/inifile.h"
#include "fuzzsupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void store(const std::string& path, std::string_view contents)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

// The part of `before` that `after` changed: the bytes outside the common head and tail.
struct Change
{
    std::string_view removed;
    std::string_view inserted;
    std::size_t at;
};

Change difference(std::string_view before, std::string_view after)
{
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {before.substr(head, before.size() - head - tail), after.substr(head, after.size() - head - tail), head};
}

// Only LF ends a line; a lone CR is part of it.
bool hasLineEnd(std::string_view text)
{
    return text.find('\n') != std::string_view::npos;
}

// Names the reader can find again: no line ends, brackets, `=` or `;`, no blanks at either end.
bool isPlainName(std::string_view name)
{
    return !name.empty() && name.find_first_of("\r\n[]=;") == std::string_view::npos && name.front() != ' ' &&
           name.front() != '\t' && name.back() != ' ' && name.back() != '\t';
}

bool isPlainValue(std::string_view value)
{
    return value.size() <= IniFile::kMaxValueLength && value.find_first_of("\r\n") == std::string_view::npos &&
           value.find_first_of("\"'") == std::string_view::npos &&
           (value.empty() ||
            (value.front() != ' ' && value.front() != '\t' && value.back() != ' ' && value.back() != '\t'));
}

void checkReads(const IniFile& ini, const std::string& section, const std::string& key)
{
    const std::optional<std::string> value = ini.readValue(section, key);
    require(!value || value->size() <= IniFile::kMaxValueLength, "a value read is at most 2,047 bytes");
    require(ini.readInteger(section, key, 7) == 7 || value, "an absent key reads as the default");
    ini.readBool(section, key, true);
}

// A write changes one value within its line, or adds lines without changing any byte that was there.
void checkWrite(IniFile& ini, const std::string& section, const std::string& key, const std::string& value,
                const std::string& before)
{
    ini.writeString(section, key, value);
    const std::string after = fileContents(ini.path());
    const Change change = difference(before, after);
    require(change.removed.empty() || (!hasLineEnd(change.removed) && !hasLineEnd(change.inserted)),
            "a write replaces a value within its line or only inserts");
    if (isPlainName(section) && isPlainName(key) && isPlainValue(value))
        require(ini.readValue(section, key) == value, "a written value reads back");
}

// The same bytes can be taken out anywhere the run slides to without changing the result; one of those places must
// be whole lines. A byte-order mark is no part of the first line: that line starts after it.
bool removesWholeLines(std::string_view before, const Change& change)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::size_t length = change.removed.size();
    for (std::size_t at = change.at;; --at) {
        const bool startsLine =
            at == 0 || before[at - 1] == '\n' || (at == kByteOrderMark.size() && before.starts_with(kByteOrderMark));
        const bool endsLine = at + length == before.size() || before[at + length - 1] == '\n';
        if (startsLine && endsLine)
            return true;
        if (at == 0 || before[at - 1] != before[at - 1 + length])
            return false;
    }
}

// An erase removes whole lines in one run, or nothing.
void checkErase(IniFile& ini, const std::string& section, const std::string& before)
{
    ini.eraseSection(section);
    const std::string after = fileContents(ini.path());
    const Change change = difference(before, after);
    require(change.inserted.empty(), "an erase adds nothing");
    require(change.removed.empty() || removesWholeLines(before, change), "an erase removes whole lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string_view> fields = splitFields(asText(data, size), 4);
    const std::string section(fields[0]);
    const std::string key(fields[1]);
    const std::string value(fields[2]);
    const std::string path = fuzzFolder() + "/settings.ini";
    store(path, fields[3]);

    IniFile ini(path);
    checkReads(ini, section, key);
    const std::string original(fields[3]);
    checkWrite(ini, section, key, value, original);
    checkErase(ini, section, fileContents(path));
    return 0;
}
