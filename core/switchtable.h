// The command-line switches in one table: what each does to the record, how it is written again, and its help line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TTouchSettings;
struct DateTimeFormats;

// What the command line asks beyond the record, which the hand-off block has no room for.
struct CommandLineOptions
{
    bool subfolders = false; // /SF: match in every folder below each specification's own
    bool dryRun = false;     // /N: show what a run would do and change nothing
    // The dry-run switch as it was written, for the refusal where it does not belong.
    std::string dryRunSwitch = {};
};

enum class SwitchKind
{
    Preset,
    Number, // sets a number field of the record to `value`
    Flag,   // sets a flag field of the record
    Report, // the report level, which a start of Stampkeep does not take
    Increment,
    Time,
    Date,
    Subfolders,
    DryRun,
};

struct SwitchDefinition
{
    std::string_view name; // after the `/`, in capitals; a value switch ends in `:`
    SwitchKind kind;
    std::int32_t TTouchSettings::*number = nullptr;
    std::uint8_t TTouchSettings::*flag = nullptr;
    std::int32_t value = 1;
    std::string_view placeholder = {}; // how the help writes a value switch's value
};

// Switches that share a help line, in the order the help and the rebuilt command line give them.
struct SwitchGroup
{
    std::vector<SwitchDefinition> switches;
    std::vector<std::string_view> help; // the first line follows the names; the others stand alone
    std::string_view label = {};        // how the help names the group, where it is a range; else the names joined
    bool consoleOnly = false;           // shown by the console tool's help only
    bool blankAfter = false;
};

std::span<const SwitchGroup> switchGroups();
// The switch named by the text after the `/` or `-` (letters in any case; a value switch by its prefix), or nothing.
const SwitchDefinition* findSwitch(std::string_view switchText);

// The help's lines between its title and its closing paragraph.
std::vector<std::string> switchHelpLines(bool consoleMode);
// The switches that give Stampkeep the record's choices and the options it takes: the preset switch alone, or every
// other switch that is set, with dates and times written in `formats`.
std::vector<std::string> rebuiltSwitches(const TTouchSettings& settings, const CommandLineOptions& options,
                                         const DateTimeFormats& formats);
