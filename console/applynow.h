// The console tool's own touch: expand the specifications, work out each file's new stamps, touch and report.
#pragma once

#include "console/worklist.h"
#include "core/commandline.h"

#include <iostream>
#include <string>
#include <vector>

// Touches every entry of the expanded list, in sorted order, and reports at the record's level on `out`; answers how
// many entries could not be touched as asked. A signal that asks the run to end stops it between two entries.
// Symbolic links that a search met are reported and left alone. A dry run changes nothing: it reports at least each
// entry with the values it would get, and counts what it can see fail without writing.
std::size_t ApplyNow(const TTouchSettings& settings, WorkList& list, const IniFile& settingsFile,
                     const DateTimeFormats& formats, std::ostream& out = std::cout, bool dryRun = false);

// How much of each entry the listing reads for a run of these settings: the stamps and attributes only where the run
// computes from them or shows them, as the entry's own are read again when it is changed.
EntryDetail listingDetail(const TTouchSettings& settings, bool dryRun);

// Fills the record's choices from preset n of the settings file (the parser has made sure it is enabled).
void ReadPresetSettings(TTouchSettings& settings, const IniFile& settingsFile, const DateTimeFormats& formats, int n);
