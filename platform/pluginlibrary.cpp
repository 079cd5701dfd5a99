// A shared library of ours opened while the program runs, so that its own libraries load only when it is needed.
#include "platform/pluginlibrary.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::string loaderError()
{
    const char* text = dlerror();
    return text ? text : "unknown loader error";
}

} // namespace

PluginLibrary::PluginLibrary(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_)
        failure_ = loaderError();
}

PluginLibrary::~PluginLibrary()
{
    // Objects the library made may outlive this handle in static storage, so it stays mapped until the process ends;
    // only a handle that stands for nothing is released.
    if (handle_ && !failure_.empty())
        dlclose(handle_);
}

void* PluginLibrary::symbol(const char* name)
{
    if (!handle_)
        return nullptr;
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address)
        failure_ = loaderError();
    return address;
}

std::string runningProgramPath()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<std::size_t>(length) < sizeof path ? std::string(path, length) : std::string();
}
