// One file or folder to touch: its first-known, current and pending stamps and attributes, touch and undo.
#include "core/skobju.h"

#include "core/datetime.h"
#include "core/tfuncs2.h"
#include "platform/filetime.h"
#include "platform/paths.h"

#include <cmath>

namespace {

double wholeDays(double serial)
{
    return std::floor(serial);
}

double timeOfDay(double serial)
{
    return serial - std::floor(serial);
}

FileTime stampFromParts(double date, double time, FileTime own)
{
    if (date == kNoDateTime || time == kNoDateTime) {
        const double ownLocal = StampToLocal(own);
        if (date == kNoDateTime)
            date = ownLocal;
        if (time == kNoDateTime)
            time = ownLocal;
    }
    return LocalToStamp(wholeDays(date) + timeOfDay(time));
}

std::string inQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

TskObj::TskObj(std::uint32_t attrs, FileTime modified, FileTime created, std::string fileName)
    : FileName(std::move(fileName)), OrigAttrs(attrs), CurAttrs(attrs), OrigCreated(created), CurCreated(created),
      OrigModified(modified), CurModified(modified)
{
    ClearPending();
}

void TskObj::ClearPending()
{
    ClearNewCreated();
    ClearNewModified();
    NewAttrs = kNoAttrs;
}

void TskObj::ClearNewModified()
{
    NewModified = NoStamp;
}

void TskObj::ClearNewCreated()
{
    NewCreated = NoStamp;
}

void TskObj::SetNewModified(double localSerial)
{
    NewModified = LocalToStamp(localSerial);
}

void TskObj::SetNewCreated(double localSerial)
{
    NewCreated = LocalToStamp(localSerial);
}

void TskObj::SetNewModifiedParts(double date, double time)
{
    NewModified = stampFromParts(date, time, CurModified);
}

void TskObj::SetNewCreatedParts(double date, double time)
{
    NewCreated = stampFromParts(date, time, CurCreated);
}

std::string TskObj::SetNewAttrs(std::uint32_t keepMask, std::uint32_t addMask)
{
    NewAttrs = addMask | (keepMask & CurAttrs);
    return NewAttrsText();
}

void TskObj::SetFromMatchingFile(const std::string& folder, bool modified, bool created)
{
    if ((!modified && !created) || (MatchKind != 1 && MatchKind != 2))
        return;
    const std::string name = namePart(FileName);
    const std::string partner = !matchName.empty() ? matchName : MatchKind == 1 ? changeExtension(name, ".*") : name;
    const std::string pattern = withTrailingSlash(folder) + partner;
    FileTime partnerCreated = 0;
    FileTime partnerModified = 0;
    if (!GetFileStamps(pattern, partnerCreated, partnerModified))
        return;
    if (modified)
        NewModified = partnerModified;
    if (created)
        NewCreated = partnerCreated;
}

int TskObj::Touch()
{
    Platform& platform = currentPlatform();
    StatusText.clear();
    int result = 0;
    bool restoreOnly = false;

    if (NewModified != NoStamp || NewCreated != NoStamp) {
        if (CurAttrs & kAttrReadOnly) {
            if (NewAttrs == kNoAttrs) {
                NewAttrs = CurAttrs;
                restoreOnly = true;
            }
            platform.setAttributes(FileName, CurAttrs & ~kAttrReadOnly);
        }
        const int timeBits = (NewModified != NoStamp ? kFailModified : 0) | (NewCreated != NoStamp ? kFailCreated : 0);
        if (!platform.isNtFamily() && (CurAttrs & kAttrDirectory)) {
            result |= timeBits;
            appendLine("Folder date/time cannot be changed in Windows 9x");
        } else {
            result |= setPendingTimes();
        }
    }

    if (NewAttrs != kNoAttrs) {
        if (platform.setAttributes(FileName, NewAttrs)) {
            if (!restoreOnly)
                appendLine((OrigAttrs == NewAttrs ? "Attributes same as original of "
                                                  : "Attributes changed from original of ") +
                           inQuotes(AttrLetters(OrigAttrs)));
            CurAttrs = platform.getAttributes(FileName).value_or(NewAttrs);
            NewAttrs = kNoAttrs;
        } else {
            result |= kFailAttributes;
            appendLine("Unable to set attributes: " + inQuotes(platform.lastErrorText()));
        }
    }
    return result;
}

int TskObj::setPendingTimes()
{
    Platform& platform = currentPlatform();
    const int timeBits = (NewModified != NoStamp ? kFailModified : 0) | (NewCreated != NoStamp ? kFailCreated : 0);
    const std::unique_ptr<StampHandle> handle = platform.openForStamps(FileName);
    if (!handle) {
        appendLine("Unable to open file: " + inQuotes(platform.lastErrorText()));
        return timeBits;
    }
    const auto pending = [](FileTime stamp) { return stamp == NoStamp ? std::nullopt : std::optional(stamp); };
    FileTime readCreated = 0;
    FileTime readModified = 0;
    if (!handle->setTimes(pending(NewCreated), pending(NewModified)) ||
        !handle->getTimes(NewCreated != NoStamp ? &readCreated : nullptr, &readModified)) {
        appendLine("Unable to set file time: " + inQuotes(platform.lastErrorText()));
        return timeBits;
    }
    if (NewModified != NoStamp) {
        appendStampLine("Modified", NewModified, OrigModified);
        CurModified = readModified;
        ClearNewModified();
    }
    if (NewCreated != NoStamp) {
        appendStampLine("Created", NewCreated, OrigCreated);
        CurCreated = readCreated;
        ClearNewCreated();
    }
    return 0;
}

int TskObj::Untouch()
{
    Platform& platform = currentPlatform();
    StatusText.clear();
    int result = 0;
    bool lifted = false;
    const std::uint32_t attrsNow = platform.getAttributes(FileName).value_or(CurAttrs);

    FileTime created = CurCreated;
    FileTime modified = CurModified;
    if (const auto handle = platform.openForStamps(FileName); !handle || !handle->getTimes(&created, &modified)) {
        created = CurCreated;
        modified = CurModified;
    }
    const bool restoreModified = CompareStamps(modified, OrigModified) != 0;
    const bool restoreCreated = CompareStamps(created, OrigCreated) != 0;

    if (restoreModified || restoreCreated) {
        if (attrsNow & kAttrReadOnly) {
            lifted = true;
            platform.setAttributes(FileName, attrsNow & ~kAttrReadOnly);
        }
        result |= restoreTimes(restoreModified, restoreCreated);
    }

    if (lifted || OrigAttrs != attrsNow) {
        if (platform.setAttributes(FileName, OrigAttrs)) {
            CurAttrs = platform.getAttributes(FileName).value_or(OrigAttrs);
            NewAttrs = kNoAttrs;
        } else {
            result |= kFailAttributes;
            appendLine("Unable to set attributes: " + inQuotes(platform.lastErrorText()));
        }
    }
    return result;
}

int TskObj::restoreTimes(bool modified, bool created)
{
    Platform& platform = currentPlatform();
    const int bits = (modified ? kFailModified : 0) | (created ? kFailCreated : 0);
    const std::unique_ptr<StampHandle> handle = platform.openForStamps(FileName);
    if (!handle) {
        appendLine("Unable to open file: " + inQuotes(platform.lastErrorText()));
        return bits;
    }
    const auto wanted = [](bool restore, FileTime stamp) { return restore ? std::optional(stamp) : std::nullopt; };
    if (!handle->setTimes(wanted(created, OrigCreated), wanted(modified, OrigModified)) ||
        !handle->getTimes(&CurCreated, &CurModified)) {
        appendLine("Unable to set file time: " + inQuotes(platform.lastErrorText()));
        return bits;
    }
    ClearNewModified();
    ClearNewCreated();
    return 0;
}

void TskObj::appendLine(const std::string& line)
{
    // Lines are separated, not terminated, by CR LF.
    if (!StatusText.empty())
        StatusText += "\r\n";
    StatusText += line;
}

void TskObj::appendStampLine(const char* what, FileTime requested, FileTime original)
{
    const char* verdict = CompareStamps(requested, original) != 0 ? " date/time changed from original of "
                                                                  : " date/time same as original of ";
    appendLine(what + std::string(verdict) + StampText(StampToLocal(original)));
}

std::string TskObj::CurModifiedText() const
{
    return StampText(StampToLocal(CurModified));
}

std::string TskObj::CurCreatedText() const
{
    return StampText(StampToLocal(CurCreated));
}

std::string TskObj::CurAttrsText() const
{
    return AttrLetters(CurAttrs);
}

std::string TskObj::NewAttrsText() const
{
    return AttrLetters(NewAttrs);
}

std::string TskObj::DetailLine() const
{
    return "\tM: " + CurModifiedText() + "\tC: " + CurCreatedText() + "\t" + CurAttrsText();
}

std::string AttrLetters(std::uint32_t attrs)
{
    if (attrs == kNoAttrs)
        return {};
    std::string letters = "     ";
    const std::pair<std::uint32_t, char> kLetters[] = {
        {kAttrArchive, 'A'}, {kAttrSystem, 'S'}, {kAttrHidden, 'H'}, {kAttrReadOnly, 'R'}, {kAttrDirectory, 'D'}};
    for (std::size_t i = 0; i < std::size(kLetters); ++i)
        if (attrs & kLetters[i].first)
            letters[i] = kLetters[i].second;
    return letters;
}

std::string StampText(double serial)
{
    return serial < 0 ? "<empty>" : formatDateTime(DisplayFormat, serial);
}

double StampToLocal(FileTime stamp)
{
    CalendarTime local;
    double serial = 0;
    if (stamp == NoStamp || !fileTimeToLocal(stamp, local) || !calendarToSerial(local, serial))
        return kNoDateTime;
    return serial;
}

FileTime LocalToStamp(double serial)
{
    CalendarTime local;
    FileTime stamp = 0;
    if (!serialToCalendar(serial, local) || !localToFileTime(local, stamp))
        return NoStamp;
    return stamp;
}
