// Reader of a raw VS_VERSIONINFO block: fixed file information, string tables per language, translation list.
// Both the 32-bit (UTF-16) and the older 16-bit (8-bit text) layouts are read; texts come out as UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The table placed first when several are present.
inline constexpr std::string_view PreferredLanguage = "040904E4";

// One string table.
struct VersionLanguage
{
    std::string Key;                  // language then code page, eight hexadecimal digits in upper case
    std::vector<std::string> Strings; // "name=value", in the table's order
};

class VersionInfo
{
public:
    static constexpr int kStatusRead = 0;          // with at least one string table
    static constexpr int kStatusNoStringTable = 1; // read, but without a string table
    static constexpr int kStatusWrongRootKey = 2;  // the root key is not "VS_VERSION_INFO"
    static constexpr int kStatusUnreadable = 3;    // a length leaves its parent or the buffer: nothing is kept
    static constexpr int kStatusNoVersionInfo = 4; // no block at all

    static constexpr std::size_t kFlagsIndex = 7; // of FixedInfo
    static constexpr std::uint32_t kPreReleaseFlag = 2;

    VersionInfo() = default;
    // Reads everything at once; never reads outside `block`.
    explicit VersionInfo(std::span<const unsigned char> block);

    // The preferred table first (see PreferredLanguage), the others in block order.
    const std::vector<VersionLanguage>& Languages() const { return languages_; }
    // One "%.4x%.4x" text (language, code page) per pair of the translation list.
    const std::vector<std::string>& Translations() const { return translations_; }
    // Signature, structure version, file version (MS, LS), product version (MS, LS), flags mask, flags, OS, type,
    // subtype, date (MS, LS); all zero when the block has none.
    const std::array<std::uint32_t, 13>& FixedInfo() const { return fixedInfo_; }
    int Status() const { return status_; }
    bool IsWide() const { return isWide_; }

    // The entry's value in the first table, names compared without regard to ASCII case; empty when absent.
    std::string GetValue(std::string_view name) const;

private:
    std::vector<VersionLanguage> languages_;
    std::vector<std::string> translations_;
    std::array<std::uint32_t, 13> fixedInfo_{};
    int status_ = kStatusNoVersionInfo;
    bool isWide_ = false;
};

// The running program's own version information.
VersionInfo ReadVersionInfo();
