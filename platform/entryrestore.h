// Taking an entry's exact state and putting it back: every mode bit, the last-write time, the stored value.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>

// Reads the entry without following a link in its last component; nothing (errno set) when it cannot be read. A
// stored value that cannot be read is marked unknown rather than taken for none.
std::optional<EntrySnapshot> snapshotEntryAt(const std::string& path);

// Puts the snapshot back through one descriptor: the last-write time, then the mode and the stored value in the order
// that keeps the owner able to write the value. Nothing already as the snapshot has it is written; a step that fails
// puts back what the restore changed before it.
EntryChangeOutcome restoreEntryAt(const std::string& path, const EntrySnapshot& snapshot);
