// File specifications of the command line: whether each may be touched and matches anything, and the record's list.
#include "core/filepatterns.h"

#include "core/driveclass.h"
#include "core/sharedu.h"
#include "platform/paths.h"

namespace {

std::string fileSpecsText(const TTouchSettings& settings)
{
    return settings.FileSpecs.str();
}

} // namespace

bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches)
{
    Platform& platform = currentPlatform();
    const std::string pattern = fullPath(spec, currentDirectory);
    if (const std::string refusal = specRefusal(ClassifyDrive(pattern)); !refusal.empty()) {
        reportLine(refusal);
        return false;
    }
    if (!(matches ? matches(pattern) : platform.hasMatch(spec))) {
        // A search that could not be made is no "no match": the user should learn why, in either program.
        if (!platform.lastErrorIsNoEntry())
            reportLine("Cannot search \"" + spec + "\": " + platform.lastErrorText());
        else if (consoleMode)
            reportLine("No files match \"" + spec + "\"");
        return false;
    }
    // Once the record's field is full, more text would be cut off again.
    if (settings.FileSpecs.length < ShortString::kMaxLength)
        settings.FileSpecs.assign(fileSpecsText(settings) + spec + "\r\n");
    return true;
}
