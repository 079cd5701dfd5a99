// Where Stampkeep's own files are: its settings file, its help page and its media plugin, beside the program or, for an
// installed program, in the user's configuration folder and the installed data folder.
#include "platform/programfiles.h"

#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace {

// The installed data folder of a program in `<prefix>/bin/`: `<prefix>/share/stampkeep/`.
std::string dataFolderOf(const std::string& programPath)
{
    return folderPart(programPath) + "../share/stampkeep/";
}

constexpr const char* kMediaPluginName = "stampkeep_media.so";

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool isFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::optional<std::string> userConfigFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    return std::nullopt;
}

bool runsInstalled(const std::string& programPath)
{
    return isFolder(dataFolderOf(programPath));
}

std::string settingsFilePath(const std::string& programPath)
{
    if (runsInstalled(programPath)) {
        if (const std::optional<std::string> config = userConfigFolder())
            return *config + "/stampkeep/stampkeep.ini";
    }
    return changeExtension(programPath, ".ini");
}

std::string helpPagePath(const std::string& programPath)
{
    const std::string beside = changeExtension(programPath, ".html");
    if (exists(beside) || !runsInstalled(programPath))
        return beside;
    return fullPath(dataFolderOf(programPath) + "stampkeep.html", "/");
}

std::string mediaPluginPath(const std::string& programPath)
{
    const std::string folder = folderPart(programPath);
    const std::string beside = folder + kMediaPluginName;
    if (exists(beside) || !runsInstalled(programPath))
        return beside;
    // The folder this build installs it to (multiarch on Debian), then the plain one of other layouts.
    const std::string installed = fullPath(folder + "../" STAMPKEEP_PLUGIN_DIR "/" + kMediaPluginName, "/");
    const std::string plain = fullPath(folder + "../lib/stampkeep/" + kMediaPluginName, "/");
    return exists(installed) || !exists(plain) ? installed : plain;
}

bool makePrivateFolders(const std::string& folder)
{
    if (folder.empty() || isFolder(folder))
        return true;
    const std::string trimmed = folder.ends_with('/') ? folder.substr(0, folder.size() - 1) : folder;
    if (!makePrivateFolders(folderPart(trimmed)))
        return false;
    return mkdir(trimmed.c_str(), S_IRWXU) == 0 || errno == EEXIST;
}
