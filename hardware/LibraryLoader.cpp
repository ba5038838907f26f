#include "LibraryLoader.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

bool IsRegular(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// path with "a/b/../" folded, when it exists.
std::string Resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

} // namespace

std::string ProgramDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    const std::string path(buffer, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string OwnLibraryDirectory() {
    const std::string dir = ProgramDirectory();
    if (dir.empty() || IsRegular(dir + "/libhmio.so"))
        return dir;
    const std::string installed = dir + "/../lib/sentinax";
    if (IsRegular(installed + "/libhmio.so"))
        return Resolved(installed);
    return dir;
}

std::string InstalledDataDirectory() {
    const std::string dir = ProgramDirectory();
    if (dir.empty())
        return {};
    const std::string data = dir + "/../share/sentinax";
    return IsDirectory(data) ? Resolved(data) : std::string();
}

std::string ShippedFile(const std::string& name) {
    if (IsRegular(name))
        return name;
    const std::string data = InstalledDataDirectory();
    if (!data.empty() && IsRegular(data + "/" + name))
        return data + "/" + name;
    return name;
}

void* OpenLibrary(const std::string& name) {
    if (name.find('/') == std::string::npos) {
        const std::string dir = OwnLibraryDirectory();
        if (!dir.empty()) {
            if (void* module = dlopen((dir + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL))
                return module;
        }
    }
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace sentinax
