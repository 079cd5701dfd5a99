// The command-line switches in one table: what each does to the record, how it is written again, and its help line.
#include "core/switchtable.h"

#include "core/asciitext.h"
#include "core/commandline.h"
#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/presets.h"

namespace {

using S = TTouchSettings;

std::vector<SwitchGroup> makeGroups()
{
    const auto number = [](std::string_view name, std::int32_t S::*field, std::int32_t value) {
        return SwitchDefinition{name, SwitchKind::Number, field, nullptr, value};
    };
    const auto flag = [](std::string_view name, std::uint8_t S::*field) {
        return SwitchDefinition{name, SwitchKind::Flag, nullptr, field};
    };
    return {
        {{{"R0", SwitchKind::Report, nullptr, nullptr, 0},
          {"R1", SwitchKind::Report, nullptr, nullptr, 1},
          {"R2", SwitchKind::Report, nullptr, nullptr, 2},
          {"R3", SwitchKind::Report, nullptr, nullptr, 3}},
         {"Reporting: 0=none, 1=errors only (default), 2=filenames, 3=details."},
         "/R0..R3",
         true},
        {{{"1", SwitchKind::Preset, nullptr, nullptr, 1},
          {"2", SwitchKind::Preset, nullptr, nullptr, 2},
          {"3", SwitchKind::Preset, nullptr, nullptr, 3},
          {"4", SwitchKind::Preset, nullptr, nullptr, 4},
          {"5", SwitchKind::Preset, nullptr, nullptr, 5}},
         {"Apply the specified preset. All other switches are ignored."},
         "/1 .. /5",
         false,
         true},
        {{{"T:", SwitchKind::Time, nullptr, nullptr, 1, "time"}, {"D:", SwitchKind::Date, nullptr, nullptr, 1, "date"}},
         {"Use the specified time or date for system date/time.",
          "    Also 24-hour HH:MM or HH:MM:SS and YYYY-MM-DD, in every locale."}},
        {{flag("ZS", &S::ZeroSeconds), flag("ZM", &S::ZeroMinutes)},
         {"Zero seconds or minutes before using system date/time."}},
        {{number("MS", &S::ModifiedSource, kSourceClock), number("CS", &S::CreatedSource, kSourceClock)},
         {"Set Modified or Created date/time from system date/time."}},
        {{number("MC", &S::ModifiedSource, kSourceOtherStamp), number("CM", &S::CreatedSource, kSourceOtherStamp)},
         {"Set Modified from Created or Created from Modified."}},
        {{number("ME", &S::ModifiedSource, kSourceRecorded), number("CE", &S::CreatedSource, kSourceRecorded)},
         {"Set Modified or Created date/time from the date recorded in the file.",
          "    The date a photo was taken or a video recorded (JPEG, TIFF, PNG, WebP, HEIC,",
          "    AVIF, JPEG XL, raw; MP4, MOV, M4V, 3GP)."},
         {},
         false,
         true},
        {{flag("XT", &S::KeepTime)}, {"Don't change the time portion of date/time."}},
        {{flag("XD", &S::KeepDate)}, {"Don't change the date portion of date/time."}},
        {{{"S:", SwitchKind::Increment, nullptr, nullptr, 1, "#"}},
         {"Increment successive date/time stamps by the specified number", "    of seconds, up to 1/2 hour (1800)."},
         {},
         false,
         true},
        {{number("A+", &S::ArchiveChange, 1), number("S+", &S::SystemChange, 1), number("H+", &S::HiddenChange, 1),
          number("R+", &S::ReadOnlyChange, 1)},
         {"Add the specified file attribute."}},
        {{number("A-", &S::ArchiveChange, -1), number("S-", &S::SystemChange, -1), number("H-", &S::HiddenChange, -1),
          number("R-", &S::ReadOnlyChange, -1)},
         {"Remove the specified file attribute."},
         {},
         false,
         true},
        {{{"SF", SwitchKind::Subfolders}}, {"Also match each file specification in every folder below its own."}},
        {{{"N", SwitchKind::DryRun}}, {"Dry run: show what would change, and change nothing."}, {}, true},
        {{}, {"End of switches: every later argument is a file specification."}, "--", false, true},
    };
}

std::string groupLabel(const SwitchGroup& group)
{
    if (!group.label.empty())
        return std::string(group.label);
    std::string label;
    for (const SwitchDefinition& definition : group.switches)
        label += (label.empty() ? "/" : ", /") + std::string(definition.name) + std::string(definition.placeholder);
    return label;
}

// Whether the record (or the options) hold what the switch sets.
bool isSet(const SwitchDefinition& definition, const TTouchSettings& s, const CommandLineOptions& options)
{
    switch (definition.kind) {
    case SwitchKind::Number:
        return s.*definition.number == definition.value;
    case SwitchKind::Flag:
        return s.*definition.flag != 0;
    case SwitchKind::Increment:
        return s.Increment > 0;
    case SwitchKind::Time:
        return s.SwitchTime > kNoDateTime;
    case SwitchKind::Date:
        return s.SwitchDate > kNoDateTime;
    case SwitchKind::Subfolders:
        return options.subfolders;
    default:
        return false;
    }
}

std::string valueText(const SwitchDefinition& definition, const TTouchSettings& s, const DateTimeFormats& formats)
{
    switch (definition.kind) {
    case SwitchKind::Increment:
        return std::to_string(s.Increment);
    case SwitchKind::Time:
        return timeToText(formats, s.SwitchTime);
    case SwitchKind::Date:
        return dateToText(formats, s.SwitchDate);
    default:
        return {};
    }
}

} // namespace

std::span<const SwitchGroup> switchGroups()
{
    static const std::vector<SwitchGroup> groups = makeGroups();
    return groups;
}

const SwitchDefinition* findSwitch(std::string_view switchText)
{
    const std::string wanted = asciiUppered(std::string(switchText));
    const bool valueSwitch = wanted.size() >= 2 && wanted[1] == ':';
    for (const SwitchGroup& group : switchGroups()) {
        for (const SwitchDefinition& definition : group.switches) {
            if (valueSwitch ? wanted.starts_with(definition.name) && definition.name.ends_with(':')
                            : wanted == definition.name)
                return &definition;
        }
    }
    return nullptr;
}

std::vector<std::string> switchHelpLines(bool consoleMode)
{
    std::vector<std::string> lines;
    for (const SwitchGroup& group : switchGroups()) {
        if (group.consoleOnly && !consoleMode)
            continue;
        lines.push_back("  " + groupLabel(group) + " - " + std::string(group.help.front()));
        lines.insert(lines.end(), group.help.begin() + 1, group.help.end());
        if (group.blankAfter)
            lines.emplace_back();
    }
    return lines;
}

std::vector<std::string> rebuiltSwitches(const TTouchSettings& settings, const CommandLineOptions& options,
                                         const DateTimeFormats& formats)
{
    std::vector<std::string> switches;
    if (settings.PresetNo > 0)
        switches.push_back("/" + std::to_string(settings.PresetNo));
    for (const SwitchGroup& group : switchGroups()) {
        for (const SwitchDefinition& definition : group.switches) {
            // A preset's choices are its own; only the options travel beside it.
            const bool fromRecord = definition.kind != SwitchKind::Subfolders;
            if ((settings.PresetNo == 0 || !fromRecord) && isSet(definition, settings, options))
                switches.push_back("/" + std::string(definition.name) + valueText(definition, settings, formats));
        }
    }
    return switches;
}
