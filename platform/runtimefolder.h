// The user's runtime folder, where the running Stampkeep can be reached: private to the user and to this session.
#pragma once

#include <optional>
#include <string>

// XDG_RUNTIME_DIR when it names a folder (not a link to one) that is the user's own and private; else a folder
// stampkeep-<uid> in the temporary folder, made with mode 0700 when missing and used only while it is the same.
// Nothing, with `error` saying why, when neither can be used.
std::optional<std::string> runtimeFolder(std::string& error);
