#include "SharedBlockReader.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

constexpr int kReadAttempts = 5;

template <typename... Args> void Append(std::string& out, const char* format, Args... args) {
    char line[96];
    const int n = std::snprintf(line, sizeof line, format, args...);
    if (n > 0)
        out.append(line, std::min(static_cast<std::size_t>(n), sizeof line - 1));
}

} // namespace

bool ReadSharedObject(int fd, HmSharedBlock& block) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size < static_cast<off_t>(kSharedBlockBytes))
        return false;
    const auto readOnce = [fd](HmSharedBlock& into) {
        return pread(fd, into.data(), into.size(), 0) == static_cast<ssize_t>(into.size());
    };
    HmSharedBlock again{};
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (readOnce(block) && readOnce(again) && block == again)
            return true;
    }
    return false;
}

bool ReadSharedObject(const std::string& name, HmSharedBlock& block) {
    const int fd = shm_open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ReadSharedObject(fd, block);
    close(fd);
    return ok;
}

std::string FormatSharedFields(const HmSharedFields& f, bool running) {
    std::string out;
    Append(out, "CPU temperature    %6u °C\n", unsigned(f.CpuTemp));
    Append(out, "Second temperature %6u °C\n", unsigned(f.SecondTemp));
    Append(out, "System temperature %6u °C\n", unsigned(f.SystemTemp));
    Append(out, "Vcore              %6d mV\n", f.Vcore);
    Append(out, "+3.3 V             %6d mV\n", f.V33);
    Append(out, "+5 V               %6d mV\n", f.V5);
    Append(out, "+12 V              %6d mV\n", f.V12);
    Append(out, "CPU fan            %6d rpm\n", f.CpuFan);
    Append(out, "System fan         %6d rpm\n", f.SysFan);
    Append(out, "Power-supply fan   %6d rpm\n", f.PowerFan);
    Append(out, "Monitor            %s\n", running ? "running" : "not running (values are stale)");
    return out;
}

} // namespace sentinax
