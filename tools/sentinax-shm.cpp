// Prints the sensor block the monitor publishes in shared memory.
//   sentinax-shm [--watch] [NAME [LOCKNAME]]
// NAME defaults to /HMShared and LOCKNAME to /ShareHMMemDataMutex. With
// --watch the block is read again every second until interrupted. Exits 1 with
// a message when the block is absent (or too short to hold one).
#include "alerts/HmSharedBlock.h"
#include "alerts/SharedSensorMemory.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sentinax;

namespace {

// Reads the block with pread rather than a mapping, so that a monitor exiting
// meanwhile cannot fault this reader. The monitor writes without a per-write
// lock: reading until two copies agree avoids showing a half-written block.
bool ReadBlock(const std::string& name, HmSharedBlock& block) {
    int fd = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ok = false;
    struct stat st {};
    if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(kSharedBlockBytes)) {
        HmSharedBlock again{};
        for (int attempt = 0; attempt < 5 && !ok; ++attempt) {
            ok = pread(fd, block.data(), block.size(), 0) == ssize_t(block.size()) &&
                 pread(fd, again.data(), again.size(), 0) == ssize_t(again.size()) &&
                 block == again;
        }
    }
    close(fd);
    return ok;
}

void Print(const HmSharedFields& f, bool running) {
    std::printf("CPU temperature    %6u °C\n", unsigned(f.CpuTemp));
    std::printf("Second temperature %6u °C\n", unsigned(f.SecondTemp));
    std::printf("System temperature %6u °C\n", unsigned(f.SystemTemp));
    std::printf("Vcore              %6d mV\n", f.Vcore);
    std::printf("+3.3 V             %6d mV\n", f.V33);
    std::printf("+5 V               %6d mV\n", f.V5);
    std::printf("+12 V              %6d mV\n", f.V12);
    std::printf("CPU fan            %6d rpm\n", f.CpuFan);
    std::printf("System fan         %6d rpm\n", f.SysFan);
    std::printf("Power-supply fan   %6d rpm\n", f.PowerFan);
    std::printf("Monitor            %s\n", running ? "running" : "not running (values are stale)");
}

} // namespace

int main(int argc, char** argv) {
    bool watch = false;
    std::string names[2] = {kHmSharedName, kHmSharedLockName};
    int named = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--watch") == 0) {
            watch = true;
        } else if (argv[i][0] == '-' || named == 2) {
            std::fprintf(stderr, "usage: %s [--watch] [NAME [LOCKNAME]]\n", argv[0]);
            return 2;
        } else {
            names[named++] = argv[i];
        }
    }
    for (;;) {
        HmSharedBlock block{};
        if (!ReadBlock(names[0], block)) {
            std::fprintf(stderr, "sentinax-shm: no sensor block in shared memory %s\n",
                         names[0].c_str());
            return 1;
        }
        Print(UnpackSharedBlock(block), SharedSensorMemory::OwnerRunning(names[1]));
        if (!watch)
            return 0;
        std::fflush(stdout);
        sleep(1);
        std::printf("\n");
    }
}
