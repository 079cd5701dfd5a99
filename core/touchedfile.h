// One file or folder to touch: its first-known, current and pending stamps and attributes, touch and undo.
#pragma once

#include "core/datetimeformats.h"
#include "platform/platform.h"

#include <string>

// Marks "no attribute change pending".
constexpr std::uint32_t kNoAttrs = 0xFFFFFFFF;

// How much a touch tells; failure lines are written either way.
enum class TouchReport
{
    Full,    // a line for every step, and the stamps as the file system keeps them, read back
    Lines,   // a line for every step; a stamp that every common file system keeps exactly as asked is not read back
    Outcome, // only whether it went, for a report that shows no more
};

// Failure bits of Touch and Untouch.
constexpr int kFailModified = 2;
constexpr int kFailCreated = 4;
constexpr int kFailAttributes = 8;

class TouchedFile
{
public:
    // Takes the values of a directory entry.
    TouchedFile(std::uint32_t attrs, FileTime modified, FileTime created, std::string fileName);

    void ClearPending();
    void ClearNewModified();
    void ClearNewCreated();
    void SetNewModified(double localSerial);
    void SetNewCreated(double localSerial);
    // -1.0 for a part keeps the entry's own date or time of day.
    void SetNewModifiedParts(double date, double time);
    void SetNewCreatedParts(double date, double time);
    // NewAttrs := add OR (keep AND CurAttrs); returns the pending attributes as letters.
    std::string SetNewAttrs(std::uint32_t keepMask, std::uint32_t addMask);
    // Takes the pending stamps from the partner that a folder comparison matched (MatchKind 1 or 2).
    void SetFromMatchingFile(const std::string& folder, bool modified, bool created);

    // Applies the pending changes; returns failure bits, 0 when all went. A full report writes stamps in the display
    // format of `formats`.
    int Touch(const DateTimeFormats& formats, TouchReport report = TouchReport::Full);
    // Puts the entry back exactly as `listed` holds it, writing nothing that is already so; returns failure bits, 0
    // when it is back. The caller keeps the snapshot: only the window undoes, and the console's entries stay small.
    int Untouch(const EntrySnapshot& listed);
    // What Touch would do, found without writing anything: the entry opened and its recorded date read, the pending
    // values then taken as the entry's current ones, with the lines and failure bits a touch would give.
    int Preview(const DateTimeFormats& formats, TouchReport report = TouchReport::Full);

    std::string CurModifiedText(const DateTimeFormats& formats) const;
    std::string CurCreatedText(const DateTimeFormats& formats) const;
    std::string CurAttrsText() const;
    std::string NewAttrsText() const;
    std::string DetailLine(const DateTimeFormats& formats) const;

    std::string FileName;
    std::string StatusText;
    std::uint32_t OrigAttrs;
    std::uint32_t CurAttrs;
    std::uint32_t NewAttrs = kNoAttrs; // set through SetNewAttrs
    FileTime OrigCreated;
    FileTime CurCreated;
    FileTime NewCreated = ~FileTime{0};
    FileTime OrigModified;
    FileTime CurModified;
    FileTime NewModified = ~FileTime{0};
    // Pending stamps that take the date recorded in the file, read when the file is touched.
    bool ModifiedFromRecorded = false;
    bool CreatedFromRecorded = false;
    int MatchKind = 0; // 0 no usable partner, 1 same name with another extension, 2 same name and extension
    // The partner's own name as the comparison found it, letter case and all; empty to search by the file's name.
    std::string matchName;
    // The same entry as a path relative to the working folder, when the lister knows that folder will not change;
    // empty to reach it by FileName.
    std::string accessPath;

    // The path by which system calls reach the entry.
    const std::string& systemPath() const { return accessPath.empty() ? FileName : accessPath; }

private:
    // Touch, or with `write` false Preview.
    int applyPending(const DateTimeFormats& formats, TouchReport report, bool write);
    // What opening the entry for `change` and reading its recorded date tell, with nothing written.
    EntryChangeOutcome look(const EntryChange& change);
    // The change that the pending values ask for.
    EntryChange pendingChange(TouchReport report);
    // The entry's values after the outcome of its change, with a line for each step when asked; answers the failure
    // bits.
    int takeOutcome(const DateTimeFormats& formats, const EntryChange& change, const EntryChangeOutcome& outcome,
                    bool withLines);
    void appendLine(const std::string& line);
    void appendStampLine(const DateTimeFormats& formats, const char* what, FileTime requested, FileTime original);
    // Each appends the failure line of its step, if it failed, and answers whether it did.
    bool stampsFailed(const EntryChangeOutcome& outcome);
    bool attributesFailed(const EntryChangeOutcome& outcome);
    // Stamps that were to take the recorded date become ordinary ones once it is read; without one they fail.
    void takeRecordedDate(EntryChange& change, const EntryChangeOutcome& outcome, int& result);

    // What SetNewAttrs asked for; applied to the entry's attributes as they are when it is touched.
    AttributeMasks newAttrMasks;
};

// Five letters A S H R D, a blank for each bit not set; empty for kNoAttrs.
std::string AttrLetters(std::uint32_t attrs);
// A serial as text in the display format; "<empty>" for a negative serial.
std::string StampText(const DateTimeFormats& formats, double serial);
// -1.0 when the stamp is NoStamp or cannot be converted.
double StampToLocal(FileTime stamp);
// NoStamp when the serial cannot be converted.
FileTime LocalToStamp(double serial);
// The whole days of `date` and the time of day of `time`, in local time; a part given as -1.0 is taken from `own`.
FileTime StampFromParts(double date, double time, FileTime own);
