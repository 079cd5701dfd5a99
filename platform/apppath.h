// The app-path registration: where the installation put Stampkeep.
#pragma once

#include <optional>
#include <string>

// The first line of `${XDG_CONFIG_HOME:-$HOME/.config}/stampkeep/app-path`, else of `/etc/stampkeep/app-path`;
// a missing file or an empty first line counts as no registration there, and a per-user registration naming a
// program that is missing gives way to the system one. Only the install step writes these files.
std::optional<std::string> readAppPathRegistration(const std::string& systemRegistration = "/etc/stampkeep/app-path");
