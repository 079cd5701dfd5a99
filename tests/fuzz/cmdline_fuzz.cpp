// The command-line parser of both programs over arbitrary argument lists, with an arbitrary settings file for the
// preset switches, on an in-memory file system. Input: one byte of options (bit 0 console mode, bits 1-3 the
// locale's formats), the settings file up to the first NUL, then the arguments, each ended by a NUL.
#include "console/parameters.h"
#include "core/commandline.h"
#include "core/datetimeformats.h"
#include "core/presets.h"
#include "fake/fakeplatform.h"
#include "fuzzsupport.h"
#include "platform/messagebox.h"

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

struct LocaleFormats
{
    const char* shortDate;
    const char* longTime;
};

// Formats that locales of the system give, among them two-digit years and a date with a trailing dot.
constexpr std::array<LocaleFormats, 8> kLocales = {{{"M/d/yyyy", "h:mm:ss tt"},
                                                    {"MM/dd/yy", "HH:mm:ss"},
                                                    {"dd.MM.yyyy", "HH:mm:ss"},
                                                    {"yyyy-MM-dd", "HH:mm:ss"},
                                                    {"dd/MM/yyyy", "hh:mm:ss tt"},
                                                    {"dd. MM. yyyy", "H:mm:ss"},
                                                    {"yyyy.MM.dd.", "HH.mm.ss"},
                                                    {"d/M/yy", "hh.mm.ss tt"}}};

FakePlatform& fakeFiles()
{
    static FakePlatform* platform = [] {
        auto* fake = new FakePlatform;
        fake->workingDirectory = "/home/user";
        fake->addEntry("/home/user/a.txt", kAttrArchive, 1, 1);
        fake->addEntry("/home/user/b c.txt", kAttrReadOnly, 1, 1);
        fake->addEntry("/home/user/sub", kAttrDirectory, 1, 1);
        fake->addEntry("/home/user/sub/x.dat", 0, 1, 1);
        fake->addEntry("/net/share/f.txt", 0, 1, 1);
        fake->addEntry("/cd/f.txt", 0, 1, 1);
        fake->setDrive("/net/share/", DriveType::Network, "//server/share");
        fake->setDrive("/cd/", DriveType::CdRom);
        return fake;
    }();
    return *platform;
}

int& boxesShown()
{
    static int count = 0;
    return count;
}

// Written only when it changes: most inputs keep the file of the one before.
std::string settingsFile(std::string_view contents)
{
    static std::string written = "\n";
    const std::string path = fuzzFolder() + "/stampkeep.ini";
    if (contents == written)
        return path;
    if (contents.empty())
        std::remove(path.c_str());
    else
        std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    written = contents;
    return path;
}

std::vector<std::string> argumentsIn(std::string_view rest)
{
    std::vector<std::string> arguments;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        arguments.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return arguments;
}

bool isChange(std::int32_t value)
{
    return value >= -1 && value <= 1;
}

bool isDateOrNone(double date)
{
    return date == -1.0 || (date >= 0 && date == std::floor(date));
}

// A switch names the displayed date/time, the other stamp or the recorded date; never a folder.
bool isSwitchSource(std::int32_t source)
{
    return source == kSourceNone || source == kSourceClock || source == kSourceOtherStamp || source == kSourceRecorded;
}

bool isTimeOrNone(double time)
{
    return time == -1.0 || (time >= 0 && time < 1);
}

void checkRecord(const TTouchSettings& s, bool parsed)
{
    require(s.ReportLevel >= 0 && s.ReportLevel <= 3, "report level 0..3");
    require(s.PresetNo >= 0 && s.PresetNo <= 5, "preset 0..5");
    require(isChange(s.ArchiveChange) && isChange(s.SystemChange) && isChange(s.HiddenChange) &&
                isChange(s.ReadOnlyChange),
            "attribute changes -1, 0, +1");
    require(isSwitchSource(s.ModifiedSource) && isSwitchSource(s.CreatedSource), "stamp sources 0, 1, 2, 4");
    require(s.Increment >= 0 && s.Increment <= kMaxIncrement, "increment 0..1800");
    require(isDateOrNone(s.SwitchDate), "a switch date is a day number or none");
    require(isTimeOrNone(s.SwitchTime), "a switch time is a fraction of a day or none");
    if (!parsed || !s.SwitchesGiven)
        return;
    if (s.KeepDate || s.KeepTime)
        require(s.Increment == 0, "no increment while a part is kept");
    if (s.KeepTime)
        require(!s.ZeroSeconds && !s.ZeroMinutes && s.SwitchTime == -1.0, "kept time has no time choices");
    if (s.KeepDate)
        require(s.SwitchDate == -1.0, "kept date has no date");
    if (s.ModifiedSource != 1 && s.CreatedSource != 1)
        require(s.Increment == 0 && s.SwitchDate == -1.0 && s.SwitchTime == -1.0 && !s.ZeroSeconds && !s.ZeroMinutes &&
                    !s.KeepDate && !s.KeepTime,
                "without a stamp from the date/time the date/time choices are at their defaults");
}

void checkSpecList(const TTouchSettings& s, const std::vector<std::string>& specs)
{
    std::string joined;
    for (const std::string& spec : specs)
        joined += spec + "\r\n";
    require(s.FileSpecs.str() == joined.substr(0, ShortString::kMaxLength), "FileSpecs holds the accepted list");
}

bool sameChoices(const TTouchSettings& a, const TTouchSettings& b)
{
    return a.PresetNo == b.PresetNo && a.PresetNeedsFolder == b.PresetNeedsFolder &&
           a.ArchiveChange == b.ArchiveChange && a.SystemChange == b.SystemChange && a.HiddenChange == b.HiddenChange &&
           a.ReadOnlyChange == b.ReadOnlyChange && a.ModifiedSource == b.ModifiedSource &&
           a.CreatedSource == b.CreatedSource && a.SwitchTime == b.SwitchTime && a.SwitchDate == b.SwitchDate &&
           a.ZeroSeconds == b.ZeroSeconds && a.ZeroMinutes == b.ZeroMinutes && a.KeepDate == b.KeepDate &&
           a.KeepTime == b.KeepTime && a.Increment == b.Increment && a.SwitchesGiven == b.SwitchesGiven &&
           a.FileSpecs.str() == b.FileSpecs.str();
}

// What stkcli hands to Stampkeep must parse back there into the same choices, without an error box.
void checkHandedOver(const TTouchSettings& parsed, const std::vector<std::string>& specs,
                     const std::string& settingsPath, const DateTimeFormats& formats)
{
    TTouchSettings received{};
    InitTouchSettings(received);
    const int boxesBefore = boxesShown();
    const bool ok =
        ParseCommandLine(received, BuildParameters(parsed, specs, formats), IniFile(settingsPath), formats, false);
    require(ok && boxesShown() == boxesBefore, "the handed-over command line parses without a message");
    require(sameChoices(parsed, received), "the handed-over command line gives the same choices");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fakeFiles();
    setMessageBoxHandler([](const MessageBoxRequest& request) {
        require(!request.text.empty(), "a box has a text");
        ++boxesShown();
        return MessageResult::Ok;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned options = data[0];
    const bool consoleMode = options & 1;
    const LocaleFormats& locale = kLocales[(options >> 1) % kLocales.size()];
    FakePlatform& files = fakeFiles();
    files.dateFormat = locale.shortDate;
    files.timeFormat = locale.longTime;
    const DateTimeFormats formats = BuildDateTimeFormats();

    const std::vector<std::string_view> fields = splitFields(asText(data + 1, size - 1), 2);
    const std::string settingsPath = settingsFile(fields[0]);
    TTouchSettings settings{};
    InitTouchSettings(settings);
    std::vector<std::string> specs;
    std::ostringstream console;
    const bool parsed = ParseCommandLine(settings, argumentsIn(fields[1]), IniFile::readOnce(settingsPath), formats,
                                         consoleMode, &specs, console);

    checkRecord(settings, parsed);
    checkSpecList(settings, specs);
    if (consoleMode && parsed)
        checkHandedOver(settings, specs, settingsPath, formats);
    return 0;
}
