// The Samba/ksmbd `user.DOSATTRIB` value: Windows attributes and creation time as stored beside a file.
#pragma once

#include "platform/platform.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

constexpr const char* kDosAttribName = "user.DOSATTRIB";
// Longer values are not ours to interpret.
constexpr std::size_t kMaxDosAttribSize = 256;

struct DosAttrib
{
    std::uint32_t attrib = 0;
    std::optional<FileTime> createTime;
    // Samba derives file ids from it; kept as stored.
    std::optional<std::uint64_t> itime;
};

// The version 4 layout, which both Samba (4.11 and later) and ksmbd read.
using DosAttribBytes = std::array<unsigned char, 32>;

// Accepts the legacy hex text and versions 1 to 5 (version 2 for its attributes only, which follow a 32-bit flags
// field); anything else, or a value too short for its version, is no value.
std::optional<DosAttrib> decodeDosAttrib(std::span<const unsigned char> value);
// An itime, when given, is written with its flag.
DosAttribBytes encodeDosAttrib(std::uint32_t attrib, FileTime createTime, std::optional<std::uint64_t> itime = {});
