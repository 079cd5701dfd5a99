// Stamps and file specifications with their drive checks.
#include "core/tfuncs2.h"

#include "core/driveclass.h"
#include "core/sharedu.h"
#include "platform/paths.h"

namespace {

constexpr FileTime kHalfSecond = 5'000'000;

std::uint32_t highHalf(FileTime stamp)
{
    return static_cast<std::uint32_t>(stamp >> 32);
}

std::string fileSpecsText(const TTouchSettings& settings)
{
    return settings.FileSpecs.str();
}

} // namespace

int CompareStamps(FileTime a, FileTime b)
{
    if (a == NoStamp)
        return b == NoStamp ? 0 : -1;
    if (b == NoStamp)
        return 1;
    // Only the low halves are looked at for the tolerance: stamps whose high halves differ compare exactly.
    if (highHalf(a) == highHalf(b) && (a > b ? a - b : b - a) < kHalfSecond)
        return 0;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs)
{
    const std::vector<FileEntry> found = currentPlatform().findFiles(path, 1);
    if (found.empty())
        return false;
    created = found.front().created;
    modified = found.front().modified;
    attrs = found.front().attrs;
    return true;
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified)
{
    std::uint32_t attrs = 0;
    return GetFileStamps(path, created, modified, attrs);
}

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
