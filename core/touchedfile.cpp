// One file or folder to touch: its first-known, current and pending stamps and attributes, touch and undo.
#include "core/touchedfile.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/driveclass.h"
#include "core/recordeddate.h"
#include "core/stamps.h"
#include "platform/filetime.h"
#include "platform/paths.h"

namespace {

std::string inQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}

int timeBits(const EntryChange& change)
{
    return (change.modified || change.modifiedFromRecorded ? kFailModified : 0) |
           (change.created || change.createdFromRecorded ? kFailCreated : 0);
}

// Why the entry could not be opened: a refused drive in the words the command line uses for it.
std::string openFailureText(const EntryChangeOutcome& outcome)
{
    if (outcome.refusedDrive == DriveType::Fixed)
        return outcome.openFailure;
    return specRefusal(DriveClass{outcome.refusedDrive, outcome.refusedRoot, GetRemoteName(outcome.refusedRoot)});
}

bool changesStamps(const EntryChange& change)
{
    return change.modified || change.created || change.modifiedFromRecorded || change.createdFromRecorded;
}

} // namespace

TouchedFile::TouchedFile(std::uint32_t attrs, FileTime modified, FileTime created, std::string fileName)
    : FileName(std::move(fileName)), OrigAttrs(attrs), CurAttrs(attrs), OrigCreated(created), CurCreated(created),
      OrigModified(modified), CurModified(modified)
{
    ClearPending();
}

void TouchedFile::ClearPending()
{
    ClearNewCreated();
    ClearNewModified();
    NewAttrs = kNoAttrs;
}

void TouchedFile::ClearNewModified()
{
    NewModified = NoStamp;
    ModifiedFromRecorded = false;
}

void TouchedFile::ClearNewCreated()
{
    NewCreated = NoStamp;
    CreatedFromRecorded = false;
}

void TouchedFile::SetNewModified(double localSerial)
{
    NewModified = LocalToStamp(localSerial);
}

void TouchedFile::SetNewCreated(double localSerial)
{
    NewCreated = LocalToStamp(localSerial);
}

void TouchedFile::SetNewModifiedParts(double date, double time)
{
    NewModified = StampFromParts(date, time, CurModified);
}

void TouchedFile::SetNewCreatedParts(double date, double time)
{
    NewCreated = StampFromParts(date, time, CurCreated);
}

std::string TouchedFile::SetNewAttrs(std::uint32_t keepMask, std::uint32_t addMask)
{
    newAttrMasks = AttributeMasks{keepMask, addMask};
    NewAttrs = newAttrMasks.appliedTo(CurAttrs);
    return NewAttrsText();
}

void TouchedFile::SetFromMatchingFile(const std::string& folder, bool modified, bool created)
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

EntryChange TouchedFile::pendingChange(TouchReport report)
{
    EntryChange change;
    change.readBack = report == TouchReport::Full;
    const auto pending = [](FileTime stamp) { return stamp == NoStamp ? std::nullopt : std::optional(stamp); };
    change.modified = pending(NewModified);
    change.created = pending(NewCreated);
    change.modifiedFromRecorded = ModifiedFromRecorded;
    change.createdFromRecorded = CreatedFromRecorded;
    if (change.modifiedFromRecorded || change.createdFromRecorded)
        change.readRecorded = [this](int descriptor) { return readRecordedDate(descriptor, systemPath()); };
    if (NewAttrs != kNoAttrs)
        change.attributes = newAttrMasks;
    return change;
}

int TouchedFile::Touch(const DateTimeFormats& formats, TouchReport report)
{
    return applyPending(formats, report, true);
}

int TouchedFile::Preview(const DateTimeFormats& formats, TouchReport report)
{
    return applyPending(formats, report, false);
}

int TouchedFile::applyPending(const DateTimeFormats& formats, TouchReport report, bool write)
{
    StatusText.clear();
    int result = 0;
    EntryChange change = pendingChange(report);
    if (!changesStamps(change) && !change.attributes)
        return result;
    EntryChangeOutcome outcome = write ? currentPlatform().changeEntry(systemPath(), change) : look(change);
    takeRecordedDate(change, outcome, result);
    if (!write)
        outcome.after = {change.attributes ? NewAttrs : CurAttrs, change.created.value_or(CurCreated),
                         change.modified.value_or(CurModified)};
    return result | takeOutcome(formats, change, outcome, report != TouchReport::Outcome);
}

EntryChangeOutcome TouchedFile::look(const EntryChange& change)
{
    // The entry is opened and its recorded date read as a touch would, but the change asks for nothing to be written.
    EntryChange look;
    look.readBack = false;
    look.modifiedFromRecorded = change.modifiedFromRecorded;
    look.createdFromRecorded = change.createdFromRecorded;
    std::optional<FileTime> recorded;
    if (change.readRecorded)
        look.readRecorded = [&](int descriptor) {
            recorded = change.readRecorded(descriptor);
            return std::optional<FileTime>();
        };
    EntryChangeOutcome outcome = currentPlatform().changeEntry(systemPath(), look);
    outcome.recorded = recorded;
    return outcome;
}

int TouchedFile::takeOutcome(const DateTimeFormats& formats, const EntryChange& change,
                             const EntryChangeOutcome& outcome, bool withLines)
{
    int result = 0;
    if (changesStamps(change)) {
        if (stampsFailed(outcome)) {
            result |= timeBits(change);
        } else {
            if (change.modified) {
                if (withLines)
                    appendStampLine(formats, "Modified", NewModified, OrigModified);
                CurModified = outcome.after.modified;
                ClearNewModified();
            }
            if (change.created) {
                if (withLines)
                    appendStampLine(formats, "Created", NewCreated, OrigCreated);
                CurCreated = outcome.after.created;
                ClearNewCreated();
            }
        }
    }
    if (change.attributes) {
        if (attributesFailed(outcome)) {
            result |= kFailAttributes;
        } else {
            if (withLines)
                appendLine((OrigAttrs == outcome.after.attrs ? "Attributes same as original of "
                                                             : "Attributes changed from original of ") +
                           inQuotes(AttrLetters(OrigAttrs)));
            CurAttrs = outcome.after.attrs;
            NewAttrs = kNoAttrs;
        }
    }
    return result;
}

int TouchedFile::Untouch(const EntrySnapshot& listed)
{
    StatusText.clear();
    const EntryChangeOutcome outcome = currentPlatform().restoreEntry(systemPath(), listed);
    // A restore is whole or nothing: where any step failed, the entry is as it was and nothing went back.
    const bool stampsFailure = stampsFailed(outcome);
    const bool attributesFailure = attributesFailed(outcome);
    if (stampsFailure || attributesFailure)
        return kFailModified | kFailCreated | kFailAttributes;
    CurAttrs = outcome.after.attrs;
    CurCreated = outcome.after.created;
    CurModified = outcome.after.modified;
    ClearPending();
    return 0;
}

bool TouchedFile::stampsFailed(const EntryChangeOutcome& outcome)
{
    if (!outcome.openFailure.empty())
        appendLine("Unable to open file: " + inQuotes(openFailureText(outcome)));
    else if (!outcome.stampsFailure.empty())
        appendLine("Unable to set file time: " + inQuotes(outcome.stampsFailure));
    else
        return false;
    return true;
}

bool TouchedFile::attributesFailed(const EntryChangeOutcome& outcome)
{
    const std::string reason = outcome.openFailure.empty() ? outcome.attributesFailure : openFailureText(outcome);
    if (reason.empty())
        return false;
    appendLine("Unable to set attributes: " + inQuotes(reason));
    return true;
}

void TouchedFile::takeRecordedDate(EntryChange& change, const EntryChangeOutcome& outcome, int& result)
{
    if (!change.modifiedFromRecorded && !change.createdFromRecorded)
        return;
    // Where the entry could not be opened, the stamps fail with the open's reason.
    if (!outcome.recorded && !outcome.openFailure.empty())
        return;
    if (!outcome.recorded) {
        result |= (change.modifiedFromRecorded ? kFailModified : 0) | (change.createdFromRecorded ? kFailCreated : 0);
        appendLine(noRecordedDateReason());
    } else {
        if (change.modifiedFromRecorded)
            change.modified = NewModified = *outcome.recorded;
        if (change.createdFromRecorded)
            change.created = NewCreated = *outcome.recorded;
    }
    change.modifiedFromRecorded = change.createdFromRecorded = false;
}

void TouchedFile::appendLine(const std::string& line)
{
    // Lines are separated, not terminated, by CR LF.
    if (!StatusText.empty())
        StatusText += "\r\n";
    StatusText += line;
}

void TouchedFile::appendStampLine(const DateTimeFormats& formats, const char* what, FileTime requested,
                                  FileTime original)
{
    const char* verdict = CompareStamps(requested, original) != 0 ? " date/time changed from original of "
                                                                  : " date/time same as original of ";
    appendLine(what + std::string(verdict) + StampText(formats, StampToLocal(original)));
}

std::string TouchedFile::CurModifiedText(const DateTimeFormats& formats) const
{
    return StampText(formats, StampToLocal(CurModified));
}

std::string TouchedFile::CurCreatedText(const DateTimeFormats& formats) const
{
    return StampText(formats, StampToLocal(CurCreated));
}

std::string TouchedFile::CurAttrsText() const
{
    return AttrLetters(CurAttrs);
}

std::string TouchedFile::NewAttrsText() const
{
    return AttrLetters(NewAttrs);
}

std::string TouchedFile::DetailLine(const DateTimeFormats& formats) const
{
    return "\tM: " + CurModifiedText(formats) + "\tC: " + CurCreatedText(formats) + "\t" + CurAttrsText();
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

std::string StampText(const DateTimeFormats& formats, double serial)
{
    return serial < 0 ? "<empty>" : formatDateTime(formats.DisplayFormat, serial);
}

double StampToLocal(FileTime stamp)
{
    CalendarTime local;
    double serial = 0;
    if (stamp == NoStamp || !fileTimeToLocal(stamp, local) || !calendarToSerial(local, serial))
        return kNoDateTime;
    return serial;
}

FileTime StampFromParts(double date, double time, FileTime own)
{
    if (date == kNoDateTime || time == kNoDateTime) {
        const double ownLocal = StampToLocal(own);
        if (date == kNoDateTime)
            date = ownLocal;
        if (time == kNoDateTime)
            time = ownLocal;
    }
    return LocalToStamp(joinDateAndTime(date, time));
}

FileTime LocalToStamp(double serial)
{
    CalendarTime local;
    FileTime stamp = 0;
    if (!serialToCalendar(serial, local) || !localToFileTime(local, stamp))
        return NoStamp;
    return stamp;
}
