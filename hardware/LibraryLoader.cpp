#include "LibraryLoader.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace sentinax {

std::string ProgramDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    const std::string path(buffer, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void* OpenLibrary(const std::string& name) {
    if (name.find('/') == std::string::npos) {
        const std::string dir = ProgramDirectory();
        if (!dir.empty()) {
            if (void* module = dlopen((dir + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL))
                return module;
        }
    }
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace sentinax
