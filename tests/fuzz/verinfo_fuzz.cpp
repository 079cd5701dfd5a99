// The VS_VERSIONINFO reader over arbitrary blocks of both layouts. Input: the block's bytes.
#include "fuzzsupport.h"
#include "winutil/verresu.h"

#include <algorithm>

namespace {

bool isLanguageKey(const std::string& key)
{
    return std::ranges::none_of(key, [](char c) { return c >= 'a' && c <= 'z'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TVerInfoObj info(std::span<const unsigned char>(data, size));
    const int status = info.Status();
    Require(status >= TVerInfoObj::kStatusRead && status <= TVerInfoObj::kStatusNoVersionInfo, "a known status");
    Require((status == TVerInfoObj::kStatusNoVersionInfo) == (size == 0), "only an empty block is no block");
    Require((status == TVerInfoObj::kStatusRead) == !info.Languages().empty(), "read means a string table");
    if (status >= TVerInfoObj::kStatusWrongRootKey)
        Require(info.Translations().empty() &&
                    std::ranges::all_of(info.FixedInfo(), [](std::uint32_t word) { return word == 0; }),
                "nothing is kept of a block that was not read");
    // Every text came out of the block, which no table's strings can outgrow.
    std::size_t textBytes = 0;
    for (const TVerLangObj& language : info.Languages()) {
        Require(isLanguageKey(language.Key), "table keys are upper case");
        for (const std::string& entry : language.Strings)
            textBytes += entry.size();
    }
    Require(textBytes <= 3 * size, "the strings are no larger than the UTF-8 of the block");
    for (const std::string& translation : info.Translations())
        Require(translation.size() == 8, "a translation is eight hexadecimal digits");
    info.GetValue("FileVersion");
    info.GetValue("");
    return 0;
}
