// Starting another program without waiting for it.
#include "platform/programstart.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <spawn.h>

extern char** environ;

namespace {

class FileActions
{
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

} // namespace

int spawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    FileActions actions;
    if (!workingDirectory.empty()) {
        if (const int error = posix_spawn_file_actions_addchdir_np(actions.get(), workingDirectory.c_str()))
            return error;
    }
    pid_t child = 0;
    return posix_spawnp(&child, program.c_str(), actions.get(), nullptr, argv.data(), environ);
}

bool hasGraphicalDisplay()
{
    return std::ranges::any_of(std::initializer_list<const char*>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
                               [](const char* name) {
                                   const char* value = std::getenv(name);
                                   return value && *value;
                               });
}
