// The running program's own version block (32-bit layout), generated at build time from the project's version.
#pragma once

#include <cstddef>

extern const unsigned char kVersionBlock[];
extern const std::size_t kVersionBlockSize;
