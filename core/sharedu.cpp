// The touch settings record, the command-line parser that fills it, and the switch help.
#include "core/sharedu.h"

#include "core/asciitext.h"
#include "core/datetimeformats.h"
#include "core/errorbox.h"
#include "core/filepatterns.h"
#include "core/inifile.h"
#include "core/integertext.h"
#include "core/presets.h"
#include "core/printable.h"
#include "platform/messagebox.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

void ShortString::assign(std::string_view value)
{
    length = static_cast<std::uint8_t>(std::min(value.size(), kMaxLength));
    std::memcpy(text, value.data(), length);
}

void ResetTouchSettings(TTouchSettings& settings)
{
    settings.ReportLevel = 1;
    settings.ArchiveChange = settings.SystemChange = settings.HiddenChange = settings.ReadOnlyChange = 0;
    settings.ModifiedSource = settings.CreatedSource = 0;
    settings.ZeroSeconds = settings.ZeroMinutes = settings.KeepDate = settings.KeepTime = 0;
    settings.Increment = 0;
    settings.SwitchTime = settings.SwitchDate = -1.0;
    settings.SwitchesGiven = 0;
}

void InitTouchSettings(TTouchSettings& settings)
{
    ResetTouchSettings(settings);
    settings.FileSpecs.length = 0;
}

void CopyTouchSettings(const TTouchSettings& source, TTouchSettings& target)
{
    // Field by field in three runs, so that the padding between them is never written.
    const auto* from = reinterpret_cast<const unsigned char*>(&source);
    auto* to = reinterpret_cast<unsigned char*>(&target);
    const auto copy = [&](std::size_t start, std::size_t end) { std::memcpy(to + start, from + start, end - start); };
    copy(offsetof(TTouchSettings, PresetNo), offsetof(TTouchSettings, PresetNeedsFolder) + 1);
    copy(offsetof(TTouchSettings, ArchiveChange), offsetof(TTouchSettings, CreatedSource) + 4);
    copy(offsetof(TTouchSettings, SwitchTime), offsetof(TTouchSettings, FileSpecs) + 1 + source.FileSpecs.length);
}

namespace {

bool hasValuePrefix(const std::string& switchText)
{
    const std::string prefix = asciiUppered(switchText.substr(0, 2));
    return prefix == "S:" || prefix == "T:" || prefix == "D:";
}

// A `/` argument is a switch only when it has a switch's shape; any other is an absolute path.
bool isSwitch(const std::string& argument)
{
    if (argument.empty())
        return false;
    if (argument[0] == '-')
        return true;
    if (argument[0] != '/')
        return false;
    const std::string rest = argument.substr(1);
    return rest.size() == 1 || rest.size() == 2 || (rest.size() >= 3 && hasValuePrefix(rest));
}

class CommandLineParser
{
public:
    CommandLineParser(TTouchSettings& settings, const IniFile& settingsFile, const DateTimeFormats& formats,
                      bool consoleMode, std::vector<std::string>* allSpecs, std::ostream& console,
                      const SpecMatcher& matches)
        : settings_(settings), settingsFile_(settingsFile), formats_(formats), consoleMode_(consoleMode),
          allSpecs_(allSpecs), console_(console), matches_(matches)
    {
    }

    bool ParseCommandLine(const std::vector<std::string>& arguments);

private:
    bool ParseSwitch(const std::string& argument);
    bool parseTwoLetterSwitch(const std::string& argument, const std::string& switchText);
    bool parseValueSwitch(const std::string& argument, const std::string& switchText);
    bool UsePresetSwitch(int n);
    bool acceptFileSpec(const std::string& spec);
    void makeConsistent();
    void ReportLine(const std::string& message);
    void reportSettingsProblem();
    bool invalidSwitch(const std::string& argument);

    TTouchSettings& settings_;
    const IniFile& settingsFile_;
    const DateTimeFormats& formats_;
    bool consoleMode_;
    std::vector<std::string>* allSpecs_;
    std::ostream& console_;
    const SpecMatcher& matches_;
    std::string currentDirectory_ = currentPlatform().currentDirectory();
    std::string messages_;
    bool settingsProblemReported_ = false;
};

bool CommandLineParser::ParseCommandLine(const std::vector<std::string>& arguments)
{
    messages_.clear();
    settingsProblemReported_ = false;
    bool result = true;
    settings_.PresetNo = 0;
    ResetTouchSettings(settings_);
    settings_.FileSpecs.length = 0;

    for (const std::string& argument : arguments) {
        if (argument.empty())
            continue;
        if (isSwitch(argument)) {
            result &= ParseSwitch(argument);
        } else if (!acceptFileSpec(argument) && consoleMode_) {
            result = false;
        }
    }
    if (settings_.SwitchesGiven)
        makeConsistent();
    if (!consoleMode_ && !messages_.empty())
        showMessageBox({std::string(kProgramName) + " command-line error", messages_, MessageIcon::Error,
                        MessageButtons::Ok, 0, false});
    return result;
}

void CommandLineParser::makeConsistent()
{
    TTouchSettings& s = settings_;
    if (s.KeepDate || s.KeepTime)
        s.Increment = 0;
    if (s.KeepTime)
        s.ZeroSeconds = s.ZeroMinutes = 0;
    if (s.ModifiedSource != 1 && s.CreatedSource != 1) {
        s.Increment = 0;
        s.SwitchDate = s.SwitchTime = -1.0;
        s.ZeroSeconds = s.ZeroMinutes = s.KeepDate = s.KeepTime = 0;
    }
    if (s.KeepDate)
        s.SwitchDate = -1.0;
    if (s.KeepTime)
        s.SwitchTime = -1.0;
}

bool CommandLineParser::ParseSwitch(const std::string& argument)
{
    const std::string switchText = argument.substr(1);
    if (switchText.empty())
        return false;
    if (switchText.size() == 1) {
        const std::size_t digit = std::string_view("12345").find(switchText[0]);
        settings_.PresetNo = digit == std::string_view::npos ? 0 : static_cast<std::int32_t>(digit) + 1;
        if (settings_.PresetNo < 1)
            return invalidSwitch(argument);
        if (!UsePresetSwitch(settings_.PresetNo))
            return false;
        ResetTouchSettings(settings_);
        settings_.SwitchesGiven = 1;
        return true;
    }
    // Switches after a valid preset switch are ignored.
    if (settings_.PresetNo > 0)
        return true;
    if (switchText.size() == 2)
        return parseTwoLetterSwitch(argument, switchText);
    return parseValueSwitch(argument, switchText);
}

bool CommandLineParser::parseTwoLetterSwitch(const std::string& argument, const std::string& switchText)
{
    static constexpr std::string_view kTable = "^A+^S+^H+^R+^A-^S-^H-^R-^MS^CS^MC^CM^ME^CE^ZS^ZM^XT^XD^R0^R1^R2^R3^";
    const std::size_t at = kTable.find("^" + asciiUppered(switchText) + "^");
    if (at == std::string_view::npos)
        return invalidSwitch(argument);

    TTouchSettings& s = settings_;
    std::int32_t* const attributeFields[] = {&s.ArchiveChange, &s.SystemChange, &s.HiddenChange, &s.ReadOnlyChange};
    // The source switches name Modified and Created in turn.
    static constexpr std::int32_t kSources[] = {kSourceClock, kSourceOtherStamp, kSourceRecorded};
    const std::size_t entry = at / 3;
    if (entry < 4)
        *attributeFields[entry] = 1;
    else if (entry < 8)
        *attributeFields[entry - 4] = -1;
    else if (entry < 14)
        (entry % 2 == 0 ? s.ModifiedSource : s.CreatedSource) = kSources[(entry - 8) / 2];
    else if (entry == 14)
        s.ZeroSeconds = 1;
    else if (entry == 15)
        s.ZeroMinutes = 1;
    else if (entry == 16)
        s.KeepTime = 1;
    else if (entry == 17)
        s.KeepDate = 1;
    else
        s.ReportLevel = static_cast<std::int32_t>(entry - 18);
    if (entry < 14)
        s.SwitchesGiven = 1;
    return true;
}

bool CommandLineParser::parseValueSwitch(const std::string& argument, const std::string& switchText)
{
    if (!hasValuePrefix(switchText))
        return invalidSwitch(argument);
    const char kind = asciiUpper(switchText[0]);
    const std::string value = switchText.substr(2);
    if (kind == 'S') {
        const std::int32_t increment = parseInteger(value).value_or(-1);
        if (increment < 0) {
            settings_.Increment = 0;
            return invalidSwitch(argument);
        }
        if (increment > kMaxIncrement) {
            settings_.Increment = 0;
            ReportLine("Sequential increment is limited to half an hour (1800 seconds)");
            return false;
        }
        settings_.Increment = increment;
        return true;
    }
    if (kind == 'T') {
        if (textToTime(formats_, value, settings_.SwitchTime))
            return true;
        ReportLine("\"" + value + "\" is not a valid time");
        return false;
    }
    if (textToDate(formats_, value, settings_.SwitchDate))
        return true;
    ReportLine("\"" + value + "\" is not a valid date");
    return false;
}

bool CommandLineParser::UsePresetSwitch(int n)
{
    if (!presetEnabled(settingsFile_, n)) {
        reportSettingsProblem();
        ReportLine("Preset # " + std::to_string(n) + " is not configured.");
        return false;
    }
    // Set from this preset alone, so that a second preset switch does not inherit the first one's need.
    // The preset's date and time play no part here.
    const PresetValues preset = readPreset(formats_, settingsFile_, n, 0);
    settings_.PresetNeedsFolder = preset.cre == kSourceFolder || preset.mod == kSourceFolder;
    return true;
}

bool CommandLineParser::acceptFileSpec(const std::string& spec)
{
    if (!AddFileSpec(
            settings_, spec, currentDirectory_, consoleMode_, [this](const std::string& line) { ReportLine(line); },
            matches_))
        return false;
    if (allSpecs_)
        allSpecs_->push_back(spec);
    return true;
}

// Messages echo arguments, which may hold control characters.
void CommandLineParser::ReportLine(const std::string& message)
{
    if (consoleMode_)
        console_ << printable(message) << '\n' << std::flush;
    else
        messages_ += printable(message) + "\r\n";
}

// A refused settings file is why no preset is configured; said once, however many preset switches follow.
void CommandLineParser::reportSettingsProblem()
{
    const std::optional<std::string> problem = settingsFile_.problem();
    if (!problem || settingsProblemReported_)
        return;
    ReportLine(*problem);
    settingsProblemReported_ = true;
}

bool CommandLineParser::invalidSwitch(const std::string& argument)
{
    ReportLine("\"" + argument + "\" is not a valid switch");
    return false;
}

} // namespace

bool ParseCommandLine(TTouchSettings& settings, const std::vector<std::string>& arguments, const IniFile& settingsFile,
                      const DateTimeFormats& formats, bool consoleMode, std::vector<std::string>* allSpecs,
                      std::ostream& console, const SpecMatcher& matches)
{
    return CommandLineParser(settings, settingsFile, formats, consoleMode, allSpecs, console, matches)
        .ParseCommandLine(arguments);
}

bool isHelpSwitch(const std::string& argument)
{
    return argument == "/?" || argument == "-?" || argument == "--help";
}

void ShowSwitchHelp(bool consoleMode, std::ostream& console)
{
    std::vector<std::string> lines = {consoleMode ? "Command-line switches for STKCLI:"
                                                  : "Command-line switches for Stampkeep:",
                                      "------------------------------------"};
    if (consoleMode)
        lines.push_back("  /R0..R3 - Reporting: 0=none, 1=errors only (default), 2=filenames, 3=details.");
    lines.insert(lines.end(), {
                                  "  /1 .. /5 - Apply the specified preset. All other switches are ignored.",
                                  "",
                                  "  /T:time, /D:date - Use the specified time or date for system date/time.",
                                  "  /ZS, /ZM - Zero seconds or minutes before using system date/time.",
                                  "  /MS, /CS - Set Modified or Created date/time from system date/time.",
                                  "  /MC, /CM - Set Modified from Created or Created from Modified.",
                                  "  /ME, /CE - Set Modified or Created date/time from the date recorded in the file.",
                                  "",
                                  "  /XT - Don't change the time portion of date/time.",
                                  "  /XD - Don't change the date portion of date/time.",
                                  "  /S:# - Increment successive date/time stamps by the specified number",
                                  "    of seconds, up to 1/2 hour (1800).",
                                  "",
                                  "  /A+, /S+, /H+, /R+ - Add the specified file attribute.",
                                  "  /A-, /S-, /H-, /R- - Remove the specified file attribute.",
                                  "",
                              });
    if (consoleMode)
        lines.insert(lines.end(), {
                                      "  If one or more wildcard file specifications are included with command-line",
                                      "    switches, STKCLI will simply apply the specified actions to the files.",
                                      "  For file specifications without switches or vice versa, STKCLI will load",
                                      "    Stampkeep and apply the switches or load the files.",
                                  });
    else
        lines.insert(lines.end(), {
                                      "  Stampkeep will open with its controls set to match the switches and its",
                                      "    file list loaded with the specified files.",
                                  });

    if (consoleMode) {
        for (const std::string& line : lines)
            console << line << '\n';
        console << std::flush;
        return;
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    showMessageBox({std::string(kProgramName) + " command-line switches", text, MessageIcon::Information,
                    MessageButtons::Ok, 0, false});
}
