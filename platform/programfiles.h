// Where Stampkeep's own files are: its settings file, its help page and its media plugin, beside the program or, for an
// installed program, in the user's configuration folder and the installed data folder.
#pragma once

#include <optional>
#include <string>

// `${XDG_CONFIG_HOME:-$HOME/.config}`; a relative value is ignored, as the XDG base directory rules ask. Nothing when
// neither gives an absolute folder.
std::optional<std::string> userConfigFolder();

// Whether the program at `programPath` runs from an installed layout: a folder `../share/stampkeep/` beside its own
// folder, as under /usr, /usr/local, /opt/... and an unpacked package.
bool runsInstalled(const std::string& programPath);

// The settings file of the Stampkeep at `programPath`: its path with the extension `.ini`, except for an installed
// program, whose folder is not the user's to write: then `stampkeep.ini` in the user's configuration folder.
std::string settingsFilePath(const std::string& programPath);

// The help page of the Stampkeep at `programPath`: beside it, else in the installed data folder.
std::string helpPagePath(const std::string& programPath);

// The media plugin (the recorded-date readers) of the Stampkeep program at `programPath`: beside it, else in the
// installed library folder `<prefix>/lib/<multiarch>/stampkeep/` or `<prefix>/lib/stampkeep/`. The path where it should
// be when it is nowhere, so that the loader's message names it.
std::string mediaPluginPath(const std::string& programPath);

// Makes `folder` and the folders above it that are missing, private to the user as the XDG rules ask; false (errno
// set) when one cannot be made.
bool makePrivateFolders(const std::string& folder);
