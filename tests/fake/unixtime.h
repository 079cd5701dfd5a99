// File times written as Unix times in tests, so that expected moments can be checked with any calendar tool.
#pragma once

#include "platform/filetime.h"

constexpr FileTime fromUnix(std::int64_t seconds)
{
    return static_cast<FileTime>(seconds + kUnixEpochInFileTimeSeconds) * kFileTimeUnitsPerSecond;
}
