// Builds the raw bytes of a VS_VERSIONINFO block, in the 32-bit (UTF-16) or the older 16-bit (8-bit text) layout.
// Used by the build-time generator for Stampkeep's own block and by tests for blocks of their own making.
#pragma once

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
inline std::u16string ToUtf16(const std::string& text)
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

    std::vector<unsigned char> Build(const Description& description)
    {
        const bool hasFixedInfo = description.fixedInfo != std::array<std::uint32_t, 13>{};
        const std::size_t root = Begin("VS_VERSION_INFO", hasFixedInfo ? 52 : 0, 0);
        if (hasFixedInfo) {
            for (std::uint32_t field : description.fixedInfo)
                Put32(field);
        }
        if (!description.tables.empty())
            StringFileInfo(description.tables);
        if (!description.translations.empty())
            VarFileInfo(description.translations);
        End(root);
        return bytes_;
    }

private:
    void StringFileInfo(const std::vector<StringTable>& tables)
    {
        Pad();
        const std::size_t info = Begin("StringFileInfo", 0, 1);
        for (const StringTable& table : tables) {
            Pad();
            const std::size_t tableStart = Begin(table.key, 0, 1);
            for (const auto& [name, value] : table.entries)
                String(name, value);
            End(tableStart);
        }
        End(info);
    }

    // An empty value is stored with value length 0 and no text at all, as resource compilers do.
    void String(const std::string& name, const std::string& value)
    {
        Pad();
        const std::size_t textUnits = value.empty() ? 0 : TextUnits(value) + 1;
        const std::size_t start = Begin(name, textUnits, 1);
        if (!value.empty())
            PutText(value);
        End(start);
    }

    void VarFileInfo(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& translations)
    {
        Pad();
        const std::size_t info = Begin("VarFileInfo", 0, 1);
        Pad();
        const std::size_t var = Begin("Translation", 4 * translations.size(), 0);
        for (const auto& [language, codePage] : translations)
            Put32(language | (std::uint32_t{codePage} << 16));
        End(var);
        End(info);
    }

    // Writes a block header and returns the block's start; the total length is filled in by End.
    std::size_t Begin(const std::string& key, std::size_t valueLength, std::uint16_t type)
    {
        const std::size_t start = bytes_.size();
        Put16(0);
        Put16(static_cast<std::uint16_t>(valueLength));
        if (layout_ == Layout::Wide)
            Put16(type);
        PutText(key);
        Pad();
        return start;
    }

    void End(std::size_t start)
    {
        const auto length = static_cast<std::uint16_t>(bytes_.size() - start);
        bytes_[start] = static_cast<unsigned char>(length & 0xFF);
        bytes_[start + 1] = static_cast<unsigned char>(length >> 8);
    }

    std::size_t TextUnits(const std::string& text) const
    {
        return layout_ == Layout::Wide ? ToUtf16(text).size() : text.size();
    }

    // Zero-terminated; the header's padding is written by the caller, so a value-less block ends unpadded.
    void PutText(const std::string& text)
    {
        if (layout_ == Layout::Wide) {
            for (char16_t unit : ToUtf16(text))
                Put16(unit);
            Put16(0);
        } else {
            bytes_.insert(bytes_.end(), text.begin(), text.end());
            bytes_.push_back(0);
        }
    }

    void Put16(std::uint16_t value)
    {
        bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(value >> 8));
    }

    void Put32(std::uint32_t value)
    {
        Put16(static_cast<std::uint16_t>(value & 0xFFFF));
        Put16(static_cast<std::uint16_t>(value >> 16));
    }

    void Pad()
    {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
    }

    Layout layout_;
    std::vector<unsigned char> bytes_;
};

inline std::vector<unsigned char> Build(const Description& description, Layout layout)
{
    return Writer(layout).Build(description);
}

// Stampkeep's own version information for the given version numbers.
inline Description StampkeepDescription(std::uint16_t major, std::uint16_t minor, std::uint16_t patch,
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
                           {{"CompanyName", "Orvane Software"},
                            {"FileDescription", "Stampkeep"},
                            {"FileVersion", version},
                            {"InternalName", "Stampkeep"},
                            {"LegalCopyright", "Copyright \u00A9 2002 Orvane Software"},
                            {"LegalTrademarks", ""},
                            {"OriginalFilename", ""},
                            {"ProductName", ""},
                            {"ProductVersion", version},
                            {"Comments", "Written by the Stampkeep team"},
                            {"PubDate", "December 24, 2002"}}}};
    description.translations = {{0x0409, 0x04E4}};
    return description;
}

} // namespace versionblock
