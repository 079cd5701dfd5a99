// Version block parser. Every block is checked against its parent's end before anything of it is read; a block
// too short for its own key ends the reading, which also keeps a zero length from looping.
#include "winutil/versioninfo.h"

#include "core/asciitext.h"

#include "winutil/versionblock.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

std::size_t Align4(std::size_t n)
{
    return (n + 3) & ~std::size_t{3};
}

struct Block
{
    std::size_t end = 0; // its start plus its total length
    std::size_t valueLength = 0;
    std::string key;
    std::size_t headerEnd = 0; // where the value starts
};

class BlockReader
{
public:
    BlockReader(std::span<const unsigned char> bytes, bool wide) : bytes_(bytes), wide_(wide) {}

    // The block that starts at `start` and must end by `limit`; nothing when it does not fit.
    std::optional<Block> readBlock(std::size_t start, std::size_t limit) const
    {
        if (start > limit || limit - start < 4)
            return std::nullopt;
        Block block;
        block.valueLength = word16(start + 2);
        const std::size_t length = word16(start);
        if (length > limit - start)
            return std::nullopt;
        block.end = start + length;
        const std::size_t keyStart = start + (wide_ ? 6 : 4);
        const std::optional<std::size_t> keyEnd = terminatorEnd(keyStart, block.end);
        if (!keyEnd)
            return std::nullopt;
        block.key = text(keyStart, block.end);
        block.headerEnd = start + Align4(*keyEnd - start);
        return block;
    }

    // The zero-terminated text at `from`, cut at `limit` when it has no terminator before it.
    std::string text(std::size_t from, std::size_t limit) const
    {
        if (!wide_) {
            std::string text;
            for (std::size_t i = from; i < limit && bytes_[i] != 0; ++i)
                text.push_back(static_cast<char>(bytes_[i]));
            return text;
        }
        std::u16string text;
        for (std::size_t i = from; i + 2 <= limit && word16(i) != 0; i += 2)
            text.push_back(static_cast<char16_t>(word16(i)));
        return QString::fromStdU16String(text).toStdString();
    }

    std::uint16_t word16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }

    std::uint32_t word32(std::size_t at) const { return word16(at) | (std::uint32_t{word16(at + 2)} << 16); }

private:
    std::optional<std::size_t> terminatorEnd(std::size_t from, std::size_t limit) const
    {
        const std::size_t unit = wide_ ? 2 : 1;
        for (std::size_t i = from; i + unit <= limit; i += unit) {
            if ((wide_ ? word16(i) : bytes_[i]) == 0)
                return i + unit;
        }
        return std::nullopt;
    }

    std::span<const unsigned char> bytes_;
    bool wide_;
};

bool isWideLayout(std::span<const unsigned char> block)
{
    const std::size_t keyStart = 6;
    return block.size() > keyStart && BlockReader(block, true).text(keyStart, block.size()) == "VS_VERSION_INFO";
}

int LanguageRank(const std::string& key)
{
    if (key == PreferredLanguage)
        return 3;
    return key.substr(0, 4) == PreferredLanguage.substr(0, 4) ? 2 : 1;
}

// Only the first entry is consulted: a better-ranked table goes before it, any other to the end.
void placeTable(std::vector<VersionLanguage>& languages, VersionLanguage table)
{
    if (!languages.empty() && LanguageRank(languages.front().Key) < LanguageRank(table.Key))
        languages.insert(languages.begin(), std::move(table));
    else
        languages.push_back(std::move(table));
}

struct Contents
{
    std::vector<VersionLanguage> languages;
    std::vector<std::string> translations;
    std::array<std::uint32_t, 13> fixedInfo{};
};

class ContentsParser
{
public:
    explicit ContentsParser(const BlockReader& reader) : reader_(reader) {}

    std::optional<Contents> parse(const Block& root)
    {
        if (root.valueLength != 0 && !readFixedInfo(root))
            return std::nullopt;
        for (std::size_t pos = Align4(root.headerEnd + root.valueLength); pos < root.end;) {
            const std::optional<Block> child = reader_.readBlock(pos, root.end);
            if (!child)
                return std::nullopt;
            if (child->key == "StringFileInfo" && !readStringFileInfo(*child))
                return std::nullopt;
            if (child->key == "VarFileInfo" && !readVarFileInfo(*child))
                return std::nullopt;
            pos = Align4(child->end);
        }
        return std::move(contents_);
    }

private:
    bool readFixedInfo(const Block& root)
    {
        if (root.end < root.headerEnd || root.end - root.headerEnd < 4 * contents_.fixedInfo.size())
            return false;
        for (std::size_t i = 0; i < contents_.fixedInfo.size(); ++i)
            contents_.fixedInfo[i] = reader_.word32(root.headerEnd + 4 * i);
        return true;
    }

    bool readStringFileInfo(const Block& info)
    {
        for (std::size_t pos = info.headerEnd; pos < info.end;) {
            const std::optional<Block> table = reader_.readBlock(pos, info.end);
            if (!table || !readStringTable(*table))
                return false;
            pos = Align4(table->end);
        }
        return true;
    }

    bool readStringTable(const Block& table)
    {
        VersionLanguage language;
        language.Key = asciiUppered(table.key);
        for (std::size_t pos = table.headerEnd; pos < table.end;) {
            const std::optional<Block> entry = reader_.readBlock(pos, table.end);
            if (!entry)
                return false;
            const std::string value =
                entry->valueLength == 0 ? std::string() : reader_.text(entry->headerEnd, entry->end);
            language.Strings.push_back(entry->key + "=" + value);
            pos = Align4(entry->end);
        }
        placeTable(contents_.languages, std::move(language));
        return true;
    }

    bool readVarFileInfo(const Block& info)
    {
        if (info.headerEnd >= info.end)
            return true;
        const std::optional<Block> translation = reader_.readBlock(info.headerEnd, info.end);
        if (!translation)
            return false;
        char text[9];
        for (std::size_t pos = translation->headerEnd; pos + 4 <= translation->end; pos += 4) {
            const std::uint32_t pair = reader_.word32(pos);
            std::snprintf(text, sizeof text, "%.4x%.4x", pair & 0xFFFF, pair >> 16);
            contents_.translations.push_back(text);
        }
        return true;
    }

    const BlockReader& reader_;
    Contents contents_;
};

} // namespace

VersionInfo::VersionInfo(std::span<const unsigned char> block)
{
    if (block.empty())
        return;
    status_ = kStatusUnreadable;
    isWide_ = isWideLayout(block);
    const BlockReader reader(block, isWide_);
    const std::optional<Block> root = reader.readBlock(0, block.size());
    if (!root)
        return;
    if (root->key != "VS_VERSION_INFO") {
        status_ = kStatusWrongRootKey;
        return;
    }
    std::optional<Contents> contents = ContentsParser(reader).parse(*root);
    if (!contents)
        return;
    languages_ = std::move(contents->languages);
    translations_ = std::move(contents->translations);
    fixedInfo_ = contents->fixedInfo;
    status_ = languages_.empty() ? kStatusNoStringTable : kStatusRead;
}

std::string VersionInfo::GetValue(std::string_view name) const
{
    if (languages_.empty())
        return {};
    for (const std::string& entry : languages_.front().Strings) {
        const std::size_t equals = entry.find('=');
        if (equalNoCase(std::string_view(entry).substr(0, equals), name))
            return entry.substr(equals + 1);
    }
    return {};
}

VersionInfo ReadVersionInfo()
{
    return VersionInfo(std::span(kVersionBlock, kVersionBlockSize));
}
