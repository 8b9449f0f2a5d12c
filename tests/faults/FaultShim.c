// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into pixhaul-import by the fault tests: once the file whose path
// contains PIXHAUL_FAULT_PATH has been read up to PIXHAUL_FAULT_AFTER bytes,
// the next read of it meets PIXHAUL_FAULT:
//   eio     the read fails with EIO (a bad sector, a card pulled out);
//   grow    64 KiB are appended to the file first (a camera still writing);
//   shrink  the file is cut at that offset first;
//   kill    the process is killed with SIGKILL (power cut, OOM killer).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef ssize_t (*ReadFunction)(int, void*, size_t);

static int fired;

static int watched(int fd, off_t* offset) {
    const char* pattern = getenv("PIXHAUL_FAULT_PATH");
    const char* after = getenv("PIXHAUL_FAULT_AFTER");
    if (fired || !pattern || !*pattern)
        return 0;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return 0;
    path[length] = '\0';
    if (!strstr(path, pattern))
        return 0;
    *offset = lseek(fd, 0, SEEK_CUR);
    return *offset >= (after ? atoll(after) : 0);
}

static void resize(const char* how, int fd, off_t offset) {
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return;
    path[length] = '\0';
    if (strcmp(how, "shrink") == 0) {
        if (truncate(path, offset) != 0)
            perror("fault shim: truncate");
        return;
    }
    const int out = open(path, O_WRONLY | O_APPEND);
    static char extra[64 * 1024];
    memset(extra, 'x', sizeof extra);
    if (out < 0 || write(out, extra, sizeof extra) != (ssize_t)sizeof extra)
        perror("fault shim: append");
    if (out >= 0)
        close(out);
}

ssize_t read(int fd, void* buffer, size_t count) {
    static ReadFunction next;
    if (!next)
        *(void**)&next = dlsym(RTLD_NEXT, "read"); // POSIX: data to function pointer
    off_t offset = 0;
    if (watched(fd, &offset)) {
        const char* fault = getenv("PIXHAUL_FAULT");
        fired = 1;
        if (fault && strcmp(fault, "eio") == 0) {
            errno = EIO;
            return -1;
        }
        if (fault && strcmp(fault, "kill") == 0)
            raise(SIGKILL);
        if (fault && (strcmp(fault, "grow") == 0 || strcmp(fault, "shrink") == 0))
            resize(fault, fd, offset);
    }
    return next(fd, buffer, count);
}
