// Starting another program without waiting for it.
#pragma once

#include <string>
#include <vector>

// Starts `program` (searched in PATH when it has no `/`) with `arguments` in `workingDirectory` (the current one when
// empty) and returns at once: 0, or the error number of why it could not be started. The child is never waited for: the
// console tool that starts programs exits right afterwards, which hands the child to init, so no zombie outlives it.
int spawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory);

// Whether a window program can be shown: a display (X11 or Wayland) or a chosen Qt platform is set in the environment.
bool hasGraphicalDisplay();
