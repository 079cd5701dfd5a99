// The arguments that the console tool starts Stampkeep with.
#include "console/parameters.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/presets.h"

#include <array>

namespace {

void addSignSwitch(std::vector<std::string>& arguments, const char* letter, std::int32_t change)
{
    if (change != 0)
        arguments.push_back(std::string("/") + letter + (change < 0 ? "-" : "+"));
}

// `names` are the switches of the sources from the clock, the other stamp and the recorded date.
void addSourceSwitch(std::vector<std::string>& arguments, const std::array<const char*, 3>& names, std::int32_t source)
{
    if (source == kSourceClock || source == kSourceOtherStamp)
        arguments.emplace_back(names[static_cast<std::size_t>(source - kSourceClock)]);
    else if (source == kSourceRecorded)
        arguments.emplace_back(names[2]);
}

} // namespace

std::vector<std::string> BuildParameters(const TTouchSettings& s, const std::vector<std::string>& specs,
                                         const DateTimeFormats& formats)
{
    std::vector<std::string> arguments(specs);
    if (s.PresetNo > 0) {
        arguments.push_back("/" + std::to_string(s.PresetNo));
        return arguments;
    }
    addSignSwitch(arguments, "A", s.ArchiveChange);
    addSignSwitch(arguments, "S", s.SystemChange);
    addSignSwitch(arguments, "H", s.HiddenChange);
    addSignSwitch(arguments, "R", s.ReadOnlyChange);
    addSourceSwitch(arguments, {"/MS", "/MC", "/ME"}, s.ModifiedSource);
    addSourceSwitch(arguments, {"/CS", "/CM", "/CE"}, s.CreatedSource);
    if (s.SwitchDate > kNoDateTime)
        arguments.push_back("/D:" + dateToText(formats, s.SwitchDate));
    if (s.SwitchTime > kNoDateTime)
        arguments.push_back("/T:" + timeToText(formats, s.SwitchTime));
    const std::pair<std::uint8_t, const char*> flags[] = {
        {s.ZeroSeconds, "/ZS"}, {s.ZeroMinutes, "/ZM"}, {s.KeepDate, "/XD"}, {s.KeepTime, "/XT"}};
    for (const auto& [set, flag] : flags) {
        if (set)
            arguments.emplace_back(flag);
    }
    if (s.Increment > 0)
        arguments.push_back("/S:" + std::to_string(s.Increment));
    return arguments;
}
