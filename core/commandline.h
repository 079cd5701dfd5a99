// The touch settings record, the command-line parser that fills it, and the switch help.
#pragma once

#include "core/datetimeformats.h"
#include "core/filepatterns.h"
#include "core/inifile.h"
#include "core/switchtable.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// A length byte followed by at most 255 bytes of text, as the hand-off block stores it.
struct ShortString
{
    static constexpr std::size_t kMaxLength = 255;

    std::uint8_t length;
    char text[kMaxLength];

    std::string str() const { return std::string(text, length); }
    // Keeps the first 255 bytes; bytes after the new length keep older content, as the block's readers expect.
    void assign(std::string_view value);
};

// What to do to each file. Its byte layout is the hand-off block's, so the fields, their order and their
// widths are fixed (little-endian, natural alignment).
struct TTouchSettings
{
    std::uint32_t AppWindow;
    std::uint32_t MainWindow;
    std::int32_t ReportLevel;
    std::int32_t PresetNo;
    std::uint8_t PresetNeedsFolder;
    std::int32_t ArchiveChange; // +1 add, -1 remove, 0 leave
    std::int32_t SystemChange;
    std::int32_t HiddenChange;
    std::int32_t ReadOnlyChange;
    std::int32_t ModifiedSource; // 0 leave, 1 from the date/time, 2 from the old Created stamp, 4 recorded date
    std::int32_t CreatedSource;  // 0 leave, 1 from the date/time, 2 from the old Modified stamp, 4 recorded date
    double SwitchTime;           // -1.0 when not given
    double SwitchDate;
    std::uint8_t ZeroSeconds;
    std::uint8_t ZeroMinutes;
    std::uint8_t KeepDate;
    std::uint8_t KeepTime;
    std::int32_t Increment; // seconds, 0..1800
    std::uint8_t SwitchesGiven;
    ShortString FileSpecs; // each accepted specification followed by CR LF
};

static_assert(std::endian::native == std::endian::little, "the hand-off block is little-endian");
static_assert(offsetof(TTouchSettings, ReportLevel) == 8);
static_assert(offsetof(TTouchSettings, PresetNo) == 12);
static_assert(offsetof(TTouchSettings, PresetNeedsFolder) == 16);
static_assert(offsetof(TTouchSettings, ArchiveChange) == 20);
static_assert(offsetof(TTouchSettings, ReadOnlyChange) == 32);
static_assert(offsetof(TTouchSettings, ModifiedSource) == 36);
static_assert(offsetof(TTouchSettings, CreatedSource) == 40);
static_assert(offsetof(TTouchSettings, SwitchTime) == 48);
static_assert(offsetof(TTouchSettings, SwitchDate) == 56);
static_assert(offsetof(TTouchSettings, ZeroSeconds) == 64);
static_assert(offsetof(TTouchSettings, KeepTime) == 67);
static_assert(offsetof(TTouchSettings, Increment) == 68);
static_assert(offsetof(TTouchSettings, SwitchesGiven) == 72);
static_assert(offsetof(TTouchSettings, FileSpecs) == 73);
static_assert(sizeof(TTouchSettings) == 336);
static_assert(std::is_trivially_copyable_v<TTouchSettings>, "copied byte for byte into shared memory");

constexpr std::int32_t kMaxIncrement = 1800;

void ResetTouchSettings(TTouchSettings& settings);
void InitTouchSettings(TTouchSettings& settings);
// Copies PresetNo through FileSpecs; the window handles and the report level of the target stay.
void CopyTouchSettings(const TTouchSettings& source, TTouchSettings& target);

// Parses the arguments (without the program name) into `settings`. In console mode every message is written to
// `console` at once; in window mode they are collected and shown in one box. `allSpecs`, when given, receives
// every accepted specification, also those beyond the 255 bytes that FileSpecs keeps. `matches`, when given,
// decides whether a specification matches anything. Preset switches look in `settingsFile`; dates and times are read in
// `formats`, or as YYYY-MM-DD and 24-hour HH:MM[:SS]. Switches count wherever they stand before a `--`, which makes
// every later argument a specification; the specifications are checked once every switch is read. `options`, when
// given, receives what the record has no room for (and is known before `matches` is asked).
bool ParseCommandLine(TTouchSettings& settings, const std::vector<std::string>& arguments, const IniFile& settingsFile,
                      const DateTimeFormats& formats, bool consoleMode, std::vector<std::string>* allSpecs = nullptr,
                      std::ostream& console = std::cout, const SpecMatcher& matches = {},
                      CommandLineOptions* options = nullptr);

// Help is asked for by "/?", "-?" or "--help" as the first argument.
bool isHelpSwitch(const std::string& argument);
void ShowSwitchHelp(bool consoleMode, std::ostream& console = std::cout);
