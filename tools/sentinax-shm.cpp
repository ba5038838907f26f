// Prints the sensor block the monitor publishes in shared memory.
//   sentinax-shm [--watch] [NAME [LOCKNAME]]
// NAME defaults to /HMShared and LOCKNAME to /ShareHMMemDataMutex. With
// --watch the block is read again every second until interrupted. Exits 1 with
// a message when the block is absent (or too short to hold one).
#include "alerts/HmSharedBlock.h"
#include "alerts/SharedBlockReader.h"
#include "alerts/SharedSensorMemory.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace sentinax;

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
        if (!ReadSharedObject(names[0], block)) {
            std::fprintf(stderr, "sentinax-shm: no sensor block in shared memory %s\n",
                         names[0].c_str());
            return 1;
        }
        const std::string text = FormatSharedFields(UnpackSharedBlock(block),
                                                    SharedSensorMemory::OwnerRunning(names[1]));
        std::fputs(text.c_str(), stdout);
        if (!watch)
            return 0;
        std::fflush(stdout);
        sleep(1);
        std::printf("\n");
    }
}
