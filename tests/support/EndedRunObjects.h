// The shared-memory objects of the tests are named "/<prefix>-<pid>-..." (or
// "/<prefix>-<pid>"), so that runs side by side never meet. A run that was
// killed (a time-out) or crashed never reaches its own clean-up; the next run
// removes what such runs left: objects under the prefix whose process is gone.
#pragma once

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/mman.h>
#include <sys/types.h>

namespace sentinax::test {

inline void RemoveObjectsOfEndedRuns(const std::string& prefix) {
    DIR* shm = opendir("/dev/shm");
    if (!shm)
        return;
    const std::string lead = prefix + "-";
    while (const dirent* entry = readdir(shm)) {
        const std::string name = entry->d_name;
        if (name.compare(0, lead.size(), lead) != 0)
            continue;
        std::size_t end = lead.size();
        while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end])))
            ++end;
        if (end == lead.size() || end - lead.size() > 9 || (end < name.size() && name[end] != '-'))
            continue; // not a process number where it belongs
        const pid_t pid = static_cast<pid_t>(std::atol(name.substr(lead.size(), end).c_str()));
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
            shm_unlink(("/" + name).c_str());
    }
    closedir(shm);
}

} // namespace sentinax::test
