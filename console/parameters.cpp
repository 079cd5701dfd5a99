// The command line that the console tool hands to Stampkeep.
#include "console/parameters.h"

#include "core/datetime.h"
#include "core/tfuncs2.h"

namespace {

std::string SignSwitch(const char* letter, std::int32_t change)
{
    if (change == 0)
        return {};
    return std::string(" /") + letter + (change < 0 ? "-" : "+");
}

std::string SourceSwitch(const char* fromClock, const char* fromOther, std::int32_t source)
{
    if (source == 1)
        return fromClock;
    return source == 2 ? fromOther : "";
}

// A value holding a blank (a time with an AM/PM marker) is quoted so that it arrives as one argument.
std::string ValueSwitch(const char* prefix, const std::string& value)
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

    parameters += SignSwitch("A", s.ArchiveChange) + SignSwitch("S", s.SystemChange) + SignSwitch("H", s.HiddenChange) +
                  SignSwitch("R", s.ReadOnlyChange);
    parameters += SourceSwitch(" /MS", " /MC", s.ModifiedSource) + SourceSwitch(" /CS", " /CM", s.CreatedSource);
    if (s.SwitchDate > kNoDateTime)
        parameters += ValueSwitch(" /D:", DateToText(s.SwitchDate));
    if (s.SwitchTime > kNoDateTime)
        parameters += ValueSwitch(" /T:", TimeToText(s.SwitchTime));
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
