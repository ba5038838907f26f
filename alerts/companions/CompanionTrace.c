#include "CompanionTrace.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

void CompanionTraceLine(const char* line) {
    const char* path = getenv("HMIO_TRACE");
    if (!path || !*path)
        return;
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    ssize_t ignored = write(fd, line, strlen(line));
    (void)ignored;
    close(fd);
}
