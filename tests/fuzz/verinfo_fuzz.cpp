// The VS_VERSIONINFO reader over arbitrary blocks of both layouts. Input: the block's bytes.
#include "fuzzsupport.h"
#include "winutil/versioninfo.h"

#include <algorithm>

namespace {

bool isLanguageKey(const std::string& key)
{
    return std::ranges::none_of(key, [](char c) { return c >= 'a' && c <= 'z'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const VersionInfo info(std::span<const unsigned char>(data, size));
    const int status = info.Status();
    require(status >= VersionInfo::kStatusRead && status <= VersionInfo::kStatusNoVersionInfo, "a known status");
    require((status == VersionInfo::kStatusNoVersionInfo) == (size == 0), "only an empty block is no block");
    require((status == VersionInfo::kStatusRead) == !info.Languages().empty(), "read means a string table");
    if (status >= VersionInfo::kStatusWrongRootKey)
        require(info.Translations().empty() &&
                    std::ranges::all_of(info.FixedInfo(), [](std::uint32_t word) { return word == 0; }),
                "nothing is kept of a block that was not read");
    // Every text came out of the block, which no table's strings can outgrow.
    std::size_t textBytes = 0;
    for (const VersionLanguage& language : info.Languages()) {
        require(isLanguageKey(language.Key), "table keys are upper case");
        for (const std::string& entry : language.Strings)
            textBytes += entry.size();
    }
    require(textBytes <= 3 * size, "the strings are no larger than the UTF-8 of the block");
    for (const std::string& translation : info.Translations())
        require(translation.size() == 8, "a translation is eight hexadecimal digits");
    info.GetValue("FileVersion");
    info.GetValue("");
    return 0;
}
