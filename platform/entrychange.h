// Changing one entry through one descriptor: its last-write time, its mode and its stored attribute value.
#pragma once

#include "platform/platform.h"

#include <string>

// The message of a new Modified stamp that the file system did not keep as asked.
constexpr const char* kStampOutOfRange = "Date is out of range for this file system";

// Every read that the change depends on and every write goes through one descriptor, so that they all reach the
// same file even when its name is swapped meanwhile. The one exception is a change of the last-write time alone that
// nobody reads back: one call by path, as `touch` makes it.
//
// Order: the last-write time, then the mode, then the stored value, written once with its final content and only when
// its content changes; a value that cannot be written puts the last-write time and the mode back. A stamp change
// needs no lift of read-only; reading or writing the stored value lifts only the owner's missing bits, for as short
// as the call that needs them.
EntryChangeOutcome changeEntryAt(const std::string& path, const EntryChange& change);
