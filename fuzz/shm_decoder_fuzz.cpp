// libFuzzer target: any bytes as the shared-memory object the reader tool
// (sentinax-shm) opens: its size check, the block read and the printed text.
#include "alerts/SharedBlockReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

using namespace sentinax;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("shm-decoder-fuzz", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, 0) != 0)
        return 0;
    if (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    HmSharedBlock block{};
    const bool read = ReadSharedObject(fd, block);
    if (read != (size >= kSharedBlockBytes))
        std::abort();
    if (!read)
        return 0;
    const HmSharedFields fields = UnpackSharedBlock(block);
    const std::string text = FormatSharedFields(fields, size % 2 == 1);
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    if (lines != 11)
        std::abort();
    return 0;
}
