// A shared library of ours opened while the program runs, so that its own libraries load only when it is needed.
#pragma once

#include <string>

class PluginLibrary
{
public:
    // Opens the library at `path` with its symbols kept to itself; failed() tells why when it cannot.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // The address of the exported `name`, or nullptr (the reason in failure()).
    void* symbol(const char* name);
    // The loader's text for the last failure; empty while none.
    const std::string& failure() const { return failure_; }

private:
    void* handle_ = nullptr;
    std::string failure_;
};

// The path of the running program itself, links resolved; empty when the system does not tell.
std::string runningProgramPath();
