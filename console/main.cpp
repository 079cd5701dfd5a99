// stkcli: touches the files named on its command line, or hands the command line to Stampkeep.
#include "console/applynow.h"
#include "console/parameters.h"
#include "core/datetimeformats.h"
#include "core/mediaplugin.h"
#include "core/sharedu.h"
#include "platform/interruption.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/programfiles.h"

#include <algorithm>
#include <clocale>
#include <iostream>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitBadCommandLine = 1;
constexpr int kExitStampkeepMissing = 2;
constexpr int kExitNotRegistered = 3;
constexpr int kExitNotAllTouched = 4;

bool asks(const std::vector<std::string>& arguments, std::initializer_list<const char*> switches)
{
    return std::ranges::any_of(arguments, [&](const std::string& argument) {
        return std::ranges::find(switches, argument) != switches.end();
    });
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
        std::cout << "ERROR: Cannot find Stampkeep.exe in Registry. Please reinstall Stampkeep.\n";
        return kExitNotRegistered;
    }
    if (!platform.isProgramFile(appPath)) {
        std::cout << "ERROR: Stampkeep.exe is not present at the registered location:\n"
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
    list.reserve(arguments.size());
    // The check that a specification matches anything lists its matches, so that no folder is searched twice.
    const SpecMatcher listMatches = [&list](const std::string& pattern) { return list.expandFullPath(pattern); };
    if (!ParseCommandLine(settings, arguments, settingsFile, formats, true, &specs, std::cout, listMatches))
        return kExitBadCommandLine;

    if (!specs.empty() && settings.SwitchesGiven && !settings.PresetNeedsFolder) {
        const std::size_t failed = ApplyNow(settings, list, settingsFile, formats);
        // Interrupted, the run has reported what it did; the caller then learns from the signal how it ended.
        raiseInterruption();
        return failed == 0 ? kExitDone : kExitNotAllTouched;
    }
    if (!platform.startProgram(appPath, BuildParameters(settings, specs, formats), currentDirectory)) {
        std::cout << "Unable to start " << appPath << ": " << platform.lastErrorText() << '\n';
        return kExitStampkeepMissing;
    }
    return kExitDone;
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
