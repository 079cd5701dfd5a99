// What the fuzz targets share: a temporary folder of their own, splitting an input into fields or making it a file, and
// stopping on a broken property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A folder of this process's own, on a memory file system when there is one (a settings write syncs the file, which
// on a disk would bound a run to a few hundred inputs a second); removed when the process ends.
const std::string& fuzzFolder();

// The input as text.
std::string_view asText(const std::uint8_t* data, std::size_t size);

// The first `count - 1` fields end at a NUL byte each; the last field is the rest of the input. Missing fields are
// empty.
std::vector<std::string_view> splitFields(std::string_view input, std::size_t count);

// The input as a regular file in memory, open for reading and writing until the next call; its descriptor.
int inputAsFile(const std::uint8_t* data, std::size_t size);

// Aborts with `what` when `condition` is false, so that libFuzzer keeps the input as a finding.
void require(bool condition, const char* what);
