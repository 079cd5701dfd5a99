// The touch settings record, the command-line parser that fills it, and the switch help.
#include "core/commandline.h"

#include "core/asciitext.h"
#include "core/datetime.h"
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

constexpr std::string_view kEndOfSwitches = "--";

// Whether `text` is digits and `separator`s in exactly the places that `shape` marks with `9` and the separator.
bool hasShape(std::string_view text, std::string_view shape)
{
    return text.size() == shape.size() && std::ranges::equal(text, shape, [](char c, char mark) {
               return mark == '9' ? c >= '0' && c <= '9' : c == mark;
           });
}

// Dates and times that mean the same on every machine, whatever the locale writes.
bool isoDate(const std::string& text, double& date)
{
    return hasShape(text, "9999-99-99") && parseDate(text, "yyyy-MM-dd", date);
}

bool twentyFourHourTime(const std::string& text, double& time)
{
    return (hasShape(text, "99:99") || hasShape(text, "99:99:99")) && parseTime(text, "HH:mm:ss", time);
}

// The sample moment the messages show, 6 May 2001 13:14:15, in the locale's own form first.
double sampleMoment()
{
    double serial = 0;
    calendarToSerial(CalendarTime{2001, 5, 6, 13, 14, 15, 0}, serial);
    return serial;
}

std::string dateForms(const DateTimeFormats& formats)
{
    return dateToText(formats, sampleMoment()) + " or 2001-05-06";
}

std::string timeForms(const DateTimeFormats& formats)
{
    const std::string own = timeToText(formats, sampleMoment());
    return own + (own == "13:14:15" ? " or 13:14" : " or 13:14:15");
}

class CommandLineParser
{
public:
    CommandLineParser(TTouchSettings& settings, const IniFile& settingsFile, const DateTimeFormats& formats,
                      bool consoleMode, std::vector<std::string>* allSpecs, std::ostream& console,
                      const SpecMatcher& matches, CommandLineOptions& options)
        : settings_(settings), settingsFile_(settingsFile), formats_(formats), consoleMode_(consoleMode),
          allSpecs_(allSpecs), console_(console), matches_(matches), options_(options)
    {
    }

    bool ParseCommandLine(const std::vector<std::string>& arguments);

private:
    bool ParseSwitch(const std::string& argument);
    bool applySwitch(const std::string& argument, const SwitchDefinition& definition, const std::string& value);
    bool parseIncrement(const std::string& argument, const std::string& value);
    bool parseTime(const std::string& value);
    bool parseDate(const std::string& value);
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
    CommandLineOptions& options_;
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
    options_ = {};

    // Switches count wherever they stand, so the specifications are checked once every switch (such as /SF) is known.
    const auto endOfSwitches = std::ranges::find(arguments, kEndOfSwitches);
    std::vector<std::string> specs;
    for (auto argument = arguments.begin(); argument != endOfSwitches; ++argument) {
        if (argument->empty())
            continue;
        if (isSwitch(*argument))
            result &= ParseSwitch(*argument);
        else
            specs.push_back(*argument);
    }
    if (endOfSwitches != arguments.end())
        specs.insert(specs.end(), endOfSwitches + 1, arguments.end());
    for (const std::string& spec : specs) {
        if (!spec.empty() && !acceptFileSpec(spec) && consoleMode_)
            result = false;
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
    const SwitchDefinition* definition = findSwitch(switchText);
    const bool options =
        definition && (definition->kind == SwitchKind::Subfolders || definition->kind == SwitchKind::DryRun);
    // Switches after a valid preset switch are ignored, except a preset switch and the options beside the record.
    if (settings_.PresetNo > 0 && switchText.size() > 1 && !options)
        return true;
    if (!definition)
        return invalidSwitch(argument);
    const std::size_t valueStart = definition->name.ends_with(':') ? 2 : switchText.size();
    return applySwitch(argument, *definition, switchText.substr(valueStart));
}

bool CommandLineParser::applySwitch(const std::string& argument, const SwitchDefinition& definition,
                                    const std::string& value)
{
    TTouchSettings& s = settings_;
    switch (definition.kind) {
    case SwitchKind::Preset:
        s.PresetNo = definition.value;
        if (!UsePresetSwitch(s.PresetNo))
            return false;
        ResetTouchSettings(s);
        s.SwitchesGiven = 1;
        return true;
    case SwitchKind::Number:
        s.*definition.number = definition.value;
        s.SwitchesGiven = 1;
        return true;
    case SwitchKind::Flag:
        s.*definition.flag = 1;
        return true;
    case SwitchKind::Report:
        s.ReportLevel = definition.value;
        return true;
    case SwitchKind::Increment:
        return parseIncrement(argument, value);
    case SwitchKind::Time:
        return parseTime(value);
    case SwitchKind::Date:
        return parseDate(value);
    case SwitchKind::Subfolders:
        options_.subfolders = true;
        return true;
    case SwitchKind::DryRun:
        // Only the console tool's own run can be rehearsed; the window shows before it changes anything anyway.
        if (!consoleMode_)
            return invalidSwitch(argument);
        options_.dryRun = true;
        options_.dryRunSwitch = argument;
        return true;
    }
    return invalidSwitch(argument);
}

bool CommandLineParser::parseIncrement(const std::string& argument, const std::string& value)
{
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

bool CommandLineParser::parseTime(const std::string& value)
{
    if (textToTime(formats_, value, settings_.SwitchTime) || twentyFourHourTime(value, settings_.SwitchTime))
        return true;
    ReportLine("\"" + value + "\" is not a valid time: use " + timeForms(formats_));
    return false;
}

bool CommandLineParser::parseDate(const std::string& value)
{
    if (isoDate(value, settings_.SwitchDate) || textToDate(formats_, value, settings_.SwitchDate))
        return true;
    ReportLine("\"" + value + "\" is not a valid date: use " + dateForms(formats_));
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
            matches_, options_.subfolders))
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
                      std::ostream& console, const SpecMatcher& matches, CommandLineOptions* options)
{
    CommandLineOptions unused;
    return CommandLineParser(settings, settingsFile, formats, consoleMode, allSpecs, console, matches,
                             options ? *options : unused)
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
    const std::vector<std::string> switches = switchHelpLines(consoleMode);
    lines.insert(lines.end(), switches.begin(), switches.end());
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
