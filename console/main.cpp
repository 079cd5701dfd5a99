// stkcli: touches the files named on its command line, or hands the command line to Stampkeep.
#include "console/applynow.h"
#include "console/parameters.h"
#include "core/commandline.h"
#include "core/datetimeformats.h"
#include "core/mediaplugin.h"
#include "core/printable.h"
#include "platform/interruption.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/programfiles.h"
#include "platform/programstart.h"

#include <algorithm>
#include <clocale>
#include <iostream>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitBadCommandLine = 1;
constexpr int kExitStampkeepMissing = 2;
constexpr int kExitNotRegistered = 3;
constexpr int kExitNotAllTouched = 4;

// Whether a switch stands anywhere before the `--` that ends the switches.
bool asks(const std::vector<std::string>& arguments, std::initializer_list<const char*> switches)
{
    const auto end = std::ranges::find(arguments, "--");
    return std::any_of(arguments.begin(), end, [&](const std::string& argument) {
        return std::ranges::find(switches, argument) != switches.end();
    });
}

int startStampkeep(const std::string& appPath, const TTouchSettings& settings, const CommandLineOptions& options,
                   const std::vector<std::string>& specs, const DateTimeFormats& formats,
                   const std::string& currentDirectory)
{
    // A rehearsal is the console tool's own; Stampkeep shows its list before it changes anything anyway.
    if (options.dryRun) {
        std::cout << "\"" << printable(options.dryRunSwitch) << "\" is not a valid switch\n";
        return kExitBadCommandLine;
    }
    if (!hasGraphicalDisplay()) {
        std::cout << "Cannot start Stampkeep: no graphical display\n";
        return kExitStampkeepMissing;
    }
    Platform& platform = currentPlatform();
    const std::string failure =
        platform.startProgram(appPath, BuildParameters(settings, specs, formats, options), currentDirectory);
    if (!failure.empty()) {
        std::cout << "Unable to start " << appPath << ": " << failure << '\n';
        return kExitStampkeepMissing;
    }
    return kExitDone;
}

int run(std::vector<std::string> arguments, const DateTimeFormats& formats)
{
    std::erase(arguments, std::string());
    // Help and the version come before any registration: a user asks for them before installing anything.
    if (asks(arguments, {"--version"})) {
        std::cout << "stkcli " STAMPKEEP_VERSION "\n";
        return kExitDone;
    }
    if (asks(arguments, {"-h", "--help"})) {
        ShowSwitchHelp(true);
        return kExitDone;
    }
    Platform& platform = currentPlatform();
    const std::string currentDirectory = platform.currentDirectory();
    const std::string appPath = platform.registeredAppPath().value_or("");
    if (appPath.empty()) {
        std::cout << "ERROR: Cannot find the Stampkeep registration (~/.config/stampkeep/app-path or "
                     "/etc/stampkeep/app-path). Please reinstall Stampkeep.\n";
        return kExitNotRegistered;
    }
    if (!platform.isProgramFile(appPath)) {
        std::cout << "ERROR: Stampkeep is not present at the registered location:\n"
                  << appPath << "\nPlease reinstall Stampkeep.\n";
        return kExitStampkeepMissing;
    }

    TTouchSettings settings{};
    ResetTouchSettings(settings);
    if (arguments.empty() || isHelpSwitch(arguments.front())) {
        ShowSwitchHelp(true);
        return kExitDone;
    }
    // Read once: the presets' keys are looked up by the parser and again by the touch.
    const IniFile settingsFile = IniFile::readOnce(settingsFilePath(appPath));
    // Mostly each argument is one specification matching one file: room made at once spares a long list its regrowing.
    std::vector<std::string> specs;
    specs.reserve(arguments.size());
    WorkList list;
    // The check that a specification matches anything lists its matches, so that no folder is searched twice.
    // The parser reads every switch before it checks a specification, so /SF is known here.
    CommandLineOptions options;
    const SpecMatcher listMatches = [&list, &options, &settings](const std::string& pattern) {
        const EntryDetail detail = listingDetail(settings, options.dryRun);
        if (!options.subfolders)
            return list.expandFullPath(pattern, detail);
        return list.expandTree(pattern, detail, [](const std::string& line) { std::cout << printable(line) << '\n'; });
    };
    if (!ParseCommandLine(settings, arguments, settingsFile, formats, true, &specs, std::cout, listMatches, &options))
        return kExitBadCommandLine;

    if (!specs.empty() && settings.SwitchesGiven && !settings.PresetNeedsFolder) {
        const std::size_t failed = ApplyNow(settings, list, settingsFile, formats, std::cout, options.dryRun);
        // Interrupted, the run has reported what it did; the caller then learns from the signal how it ended.
        raiseInterruption();
        return failed == 0 && list.foldersLeftOut() == 0 ? kExitDone : kExitNotAllTouched;
    }
    return startStampkeep(appPath, settings, options, specs, formats, currentDirectory);
}

} // namespace

int main(int argc, char** argv)
{
    // Photos' and videos' recorded dates, loaded when a run first needs one.
    static MediaPluginReader recordedDates(interruptionSignal);
    setRecordedDateReader(&recordedDates);
    std::setlocale(LC_ALL, "");
    installInterruptionHandlers();
    return run(std::vector<std::string>(argv + 1, argv + argc), BuildDateTimeFormats());
}
