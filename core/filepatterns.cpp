// File specifications of the command line: checked, matched (in subfolders too), listed.
#include "core/filepatterns.h"

#include "core/commandline.h"
#include "core/driveclass.h"
#include "platform/paths.h"

namespace {

std::string fileSpecsText(const TTouchSettings& settings)
{
    return settings.FileSpecs.str();
}

SearchOutcome hasMatch(const std::string& spec, const std::string& pattern, bool subfolders,
                       const std::function<void(const std::string&)>& reportLine)
{
    if (!subfolders)
        return currentPlatform().hasMatch(spec);
    return searchWithSubfolders(
               pattern, EntryDetail::ModeAndTimes, [](const std::string&, std::vector<FileEntry>&) {}, reportLine)
        .outcome;
}

} // namespace

bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches, bool subfolders)
{
    const std::string pattern = fullPath(spec, currentDirectory);
    if (const std::string refusal = specRefusal(ClassifyDrive(pattern)); !refusal.empty()) {
        reportLine(refusal);
        return false;
    }
    const SearchOutcome search = matches ? matches(pattern) : hasMatch(spec, pattern, subfolders, reportLine);
    if (!search.found) {
        // A search that could not be made is no "no match": the user should learn why, in either program.
        if (!search.failure.empty())
            reportLine("Cannot search \"" + spec + "\": " + search.failure);
        else if (consoleMode)
            reportLine("No files match \"" + spec + "\"");
        return false;
    }
    // Once the record's field is full, more text would be cut off again.
    if (settings.FileSpecs.length < ShortString::kMaxLength)
        settings.FileSpecs.assign(fileSpecsText(settings) + spec + "\r\n");
    return true;
}

SubfolderSearch searchWithSubfolders(const std::string& pattern, EntryDetail detail,
                                     const std::function<void(const std::string&, std::vector<FileEntry>&)>& found,
                                     const std::function<void(const std::string&)>& reportLine)
{
    SubfolderSearch result;
    const auto leaveOut = [&](const std::string& line) {
        reportLine(line);
        ++result.foldersLeftOut;
    };
    SubfolderWalk walk;
    walk.found = found;
    walk.mayEnter = [&](const std::string& folder) {
        const std::string refusal = specRefusal(ClassifyDrive(folder));
        if (!refusal.empty())
            leaveOut(refusal);
        return refusal.empty();
    };
    walk.cannotSearch = [&](const std::string& folder, const std::string& reason) {
        leaveOut("Cannot search \"" + folder.substr(0, folder.size() - 1) + "\": " + reason);
    };
    result.outcome = currentPlatform().searchSubfolders(pattern, detail, walk);
    return result;
}
