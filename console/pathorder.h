// The work list's order: paths by the locale's collation without regard to case, paths equal so by their bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

using PathOf = std::function<std::string_view(std::uint32_t)>;

// Sorts `order`, indexes of paths that `pathOf` gives; paths that differ only in letter case are different files,
// kept apart and in a fixed order.
void sortPaths(std::vector<std::uint32_t>& order, const PathOf& pathOf);
