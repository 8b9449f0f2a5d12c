// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into pixhaul-import by the fault tests: once the file whose path
// contains PIXHAUL_FAULT_PATH has been read up to PIXHAUL_FAULT_AFTER bytes,
// the next read of it (or in-kernel copy from it) meets PIXHAUL_FAULT:
//   eio     the read fails with EIO (a bad sector, a card pulled out);
//   eintr   the read fails with EINTR (a signal arrived meanwhile);
//   grow    64 KiB are appended to the file first (a camera still writing);
//   shrink  the file is cut at that offset first;
//   kill    the process is killed with SIGKILL (power cut, OOM killer).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef ssize_t (*ReadFunction)(int, void*, size_t);
typedef ssize_t (*CopyFunction)(int, off_t*, int, off_t*, size_t, unsigned);

// Transfers may run on several threads: the fault fires once.
static _Atomic int fired;

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

// Applies the fault when `fd` is the watched file at or past the offset;
// -1 (errno set) when the read must fail.
static int inject(int fd) {
    off_t offset = 0;
    if (!watched(fd, &offset))
        return 0;
    if (atomic_exchange(&fired, 1))
        return 0;
    const char* fault = getenv("PIXHAUL_FAULT");
    if (fault && (strcmp(fault, "eio") == 0 || strcmp(fault, "eintr") == 0)) {
        errno = strcmp(fault, "eio") == 0 ? EIO : EINTR;
        return -1;
    }
    if (fault && strcmp(fault, "kill") == 0)
        raise(SIGKILL);
    if (fault && (strcmp(fault, "grow") == 0 || strcmp(fault, "shrink") == 0))
        resize(fault, fd, offset);
    return 0;
}

ssize_t read(int fd, void* buffer, size_t count) {
    static ReadFunction next;
    if (!next)
        *(void**)&next = dlsym(RTLD_NEXT, "read"); // POSIX: data to function pointer
    if (inject(fd) < 0)
        return -1;
    return next(fd, buffer, count);
}

// Copies inside the kernel read the source too.
ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset, size_t count,
                        unsigned flags) {
    static CopyFunction next;
    if (!next)
        *(void**)&next = dlsym(RTLD_NEXT, "copy_file_range");
    if (inject(in) < 0)
        return -1;
    return next(in, inOffset, out, outOffset, count, flags);
}
