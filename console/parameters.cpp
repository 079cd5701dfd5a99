// The arguments that the console tool starts Stampkeep with.
#include "console/parameters.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"

namespace {

void addSignSwitch(std::vector<std::string>& arguments, const char* letter, std::int32_t change)
{
    if (change != 0)
        arguments.push_back(std::string("/") + letter + (change < 0 ? "-" : "+"));
}

void addSourceSwitch(std::vector<std::string>& arguments, const char* fromClock, const char* fromOther,
                     std::int32_t source)
{
    if (source == 1 || source == 2)
        arguments.emplace_back(source == 1 ? fromClock : fromOther);
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
    addSourceSwitch(arguments, "/MS", "/MC", s.ModifiedSource);
    addSourceSwitch(arguments, "/CS", "/CM", s.CreatedSource);
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
