// Gives a test's entries their stamps and attributes through the current platform, as a touch would, or their raw
// stored value.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>
#include <vector>

// Both answer the reason a step failed; empty when everything was set.
std::string setStamps(const std::string& path, std::optional<FileTime> created, std::optional<FileTime> modified);
// Read-only, hidden, system and archive become exactly as in `attrs`.
std::string setAttributes(const std::string& path, std::uint32_t attrs);

// The raw `user.DOSATTRIB` value of a real entry; empty when it has none.
std::vector<unsigned char> storedValue(const std::string& path);
// Stores a raw value; false when the file system refuses it.
bool storeValue(const std::string& path, const std::vector<unsigned char>& value);
