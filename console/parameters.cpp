// The command line that the console tool hands to Stampkeep.
#include "console/parameters.h"

#include "core/datetime.h"
#include "core/tfuncs2.h"

namespace {

std::string signSwitch(const char* letter, std::int32_t change)
{
    if (change == 0)
        return {};
    return std::string(" /") + letter + (change < 0 ? "-" : "+");
}

std::string sourceSwitch(const char* fromClock, const char* fromOther, std::int32_t source)
{
    if (source == 1)
        return fromClock;
    return source == 2 ? fromOther : "";
}

// A value holding a blank (a time with an AM/PM marker) is quoted so that it arrives as one argument.
std::string valueSwitch(const char* prefix, const std::string& value)
{
    if (value.find(' ') == std::string::npos)
        return prefix + value;
    return prefix + ("\"" + value + "\"");
}

} // namespace

std::string BuildParameters(const TTouchSettings& s, const std::vector<std::string>& specs)
{
    std::string parameters;
    for (const std::string& spec : specs)
        parameters += (parameters.empty() ? "\"" : "\" \"") + spec;
    if (!parameters.empty())
        parameters += "\" \"\"";

    if (s.PresetNo > 0)
        return parameters + " /" + std::to_string(s.PresetNo);

    parameters += signSwitch("A", s.ArchiveChange) + signSwitch("S", s.SystemChange) + signSwitch("H", s.HiddenChange) +
                  signSwitch("R", s.ReadOnlyChange);
    parameters += sourceSwitch(" /MS", " /MC", s.ModifiedSource) + sourceSwitch(" /CS", " /CM", s.CreatedSource);
    if (s.SwitchDate > kNoDateTime)
        parameters += valueSwitch(" /D:", dateToText(s.SwitchDate));
    if (s.SwitchTime > kNoDateTime)
        parameters += valueSwitch(" /T:", timeToText(s.SwitchTime));
    if (s.ZeroSeconds)
        parameters += " /ZS";
    if (s.ZeroMinutes)
        parameters += " /ZM";
    if (s.KeepDate)
        parameters += " /XD";
    if (s.KeepTime)
        parameters += " /XT";
    if (s.Increment > 0)
        parameters += " /S:" + std::to_string(s.Increment);
    return parameters;
}
