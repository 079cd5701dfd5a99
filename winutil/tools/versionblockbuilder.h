// Builds the raw bytes of a VS_VERSIONINFO block, in the 32-bit (UTF-16) or the older 16-bit (8-bit text) layout.
// Used by the build-time generator for Stampkeep's own block and by tests for blocks of their own making.
#pragma once

#include "winutil/projectnotice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace versionblock {

enum class Layout
{
    Wide,   // 32-bit: a type word after the lengths, UTF-16 keys and texts
    Narrow, // 16-bit: no type word, 8-bit keys and texts
};

struct StringTable
{
    std::string key; // language and code page, e.g. "040904E4"
    std::vector<std::pair<std::string, std::string>> entries;
};

struct Description
{
    // Signature, structure version, file version (MS, LS), product version (MS, LS), flags mask, flags, OS, type,
    // subtype, date (MS, LS). All zero leaves the fixed information out of the block.
    std::array<std::uint32_t, 13> fixedInfo{};
    std::vector<StringTable> tables;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations; // language, code page
};

inline constexpr std::size_t kFixedInfoFlagsIndex = 7;
inline constexpr std::uint32_t kPreReleaseFlag = 2;

// Texts are UTF-8 on input; the wide layout stores them as UTF-16 (code points beyond the basic plane as pairs).
inline std::u16string toUtf16(const std::string& text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t code = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (std::size_t k = 1; k <= extra && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

class Writer
{
public:
    explicit Writer(Layout layout) : layout_(layout) {}

    std::vector<unsigned char> build(const Description& description)
    {
        const bool hasFixedInfo = description.fixedInfo != std::array<std::uint32_t, 13>{};
        const std::size_t root = beginBlock("VS_VERSION_INFO", hasFixedInfo ? 52 : 0, 0);
        if (hasFixedInfo) {
            for (std::uint32_t field : description.fixedInfo)
                put32(field);
        }
        if (!description.tables.empty())
            stringFileInfo(description.tables);
        if (!description.translations.empty())
            varFileInfo(description.translations);
        endBlock(root);
        return bytes_;
    }

private:
    void stringFileInfo(const std::vector<StringTable>& tables)
    {
        pad();
        const std::size_t info = beginBlock("StringFileInfo", 0, 1);
        for (const StringTable& table : tables) {
            pad();
            const std::size_t tableStart = beginBlock(table.key, 0, 1);
            for (const auto& [name, value] : table.entries)
                stringBlock(name, value);
            endBlock(tableStart);
        }
        endBlock(info);
    }

    // An empty value is stored with value length 0 and no text at all, as resource compilers do.
    void stringBlock(const std::string& name, const std::string& value)
    {
        pad();
        const std::size_t valueLength = value.empty() ? 0 : textUnits(value) + 1;
        const std::size_t start = beginBlock(name, valueLength, 1);
        if (!value.empty())
            putText(value);
        endBlock(start);
    }

    void varFileInfo(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& translations)
    {
        pad();
        const std::size_t info = beginBlock("VarFileInfo", 0, 1);
        pad();
        const std::size_t var = beginBlock("Translation", 4 * translations.size(), 0);
        for (const auto& [language, codePage] : translations)
            put32(language | (std::uint32_t{codePage} << 16));
        endBlock(var);
        endBlock(info);
    }

    // Writes a block header and returns the block's start; the total length is filled in by endBlock.
    std::size_t beginBlock(const std::string& key, std::size_t valueLength, std::uint16_t type)
    {
        const std::size_t start = bytes_.size();
        put16(0);
        put16(static_cast<std::uint16_t>(valueLength));
        if (layout_ == Layout::Wide)
            put16(type);
        putText(key);
        pad();
        return start;
    }

    void endBlock(std::size_t start)
    {
        const auto length = static_cast<std::uint16_t>(bytes_.size() - start);
        bytes_[start] = static_cast<unsigned char>(length & 0xFF);
        bytes_[start + 1] = static_cast<unsigned char>(length >> 8);
    }

    std::size_t textUnits(const std::string& text) const
    {
        return layout_ == Layout::Wide ? toUtf16(text).size() : text.size();
    }

    // Zero-terminated; the header's padding is written by the caller, so a value-less block ends unpadded.
    void putText(const std::string& text)
    {
        if (layout_ == Layout::Wide) {
            for (char16_t unit : toUtf16(text))
                put16(unit);
            put16(0);
        } else {
            bytes_.insert(bytes_.end(), text.begin(), text.end());
            bytes_.push_back(0);
        }
    }

    void put16(std::uint16_t value)
    {
        bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(value >> 8));
    }

    void put32(std::uint32_t value)
    {
        put16(static_cast<std::uint16_t>(value & 0xFFFF));
        put16(static_cast<std::uint16_t>(value >> 16));
    }

    void pad()
    {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
    }

    Layout layout_;
    std::vector<unsigned char> bytes_;
};

inline std::vector<unsigned char> build(const Description& description, Layout layout)
{
    return Writer(layout).build(description);
}

// Stampkeep's own version information for the given version numbers.
inline Description stampkeepDescription(std::uint16_t major, std::uint16_t minor, std::uint16_t patch,
                                        std::uint16_t tweak)
{
    const std::string version =
        std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch) + "." + std::to_string(tweak);
    const std::uint32_t versionMs = (std::uint32_t{major} << 16) | minor;
    const std::uint32_t versionLs = (std::uint32_t{patch} << 16) | tweak;
    Description description;
    // VOS__WINDOWS32 and VFT_APP, as a Windows program of this kind declares itself.
    description.fixedInfo = {0xFEEF04BD, 0x00010000, versionMs, versionLs, versionMs, versionLs, 0x3F,
                             0,          0x4,        0x1,       0,         0,         0};
    description.tables = {{"040904E4",
                           {{"CompanyName", projectnotice::kDevelopers},
                            {"FileDescription", "Stampkeep"},
                            {"FileVersion", version},
                            {"InternalName", "Stampkeep"},
                            {"LegalCopyright", projectnotice::kCopyright},
                            {"LegalTrademarks", ""},
                            {"OriginalFilename", ""},
                            {"ProductName", ""},
                            {"ProductVersion", version},
                            {"Comments", projectnotice::kLicence}}}};
    description.translations = {{0x0409, 0x04E4}};
    return description;
}

} // namespace versionblock
