// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into pixhaul-import by the fault tests: once the file whose path
// contains PIXHAUL_FAULT_PATH has been read up to PIXHAUL_FAULT_AFTER bytes,
// the next read of it (or in-kernel copy from it) meets PIXHAUL_FAULT:
//   eio     the read fails with EIO (a bad sector, a card pulled out);
//   eintr   the read fails with EINTR (a signal arrived meanwhile);
//   grow    64 KiB are appended to the file first (a camera still writing);
//   shrink  the file is cut at that offset first;
//   kill    the process is killed with SIGKILL (power cut, OOM killer);
//   fill    the file PIXHAUL_FAULT_FILL is written until its file system is
//           full (another program taking the space during the run).
// And at a batch's flushes (of its contents before the renames, of its
// names after them, before moved sources are removed):
//   killsync  the process is killed with SIGKILL when it calls syncfs on a
//           file system whose folder path contains PIXHAUL_FAULT_PATH, after
//           PIXHAUL_FAULT_AFTER such calls have passed.
// And one fault of the disk rather than the source:
//   corrupt the first file under PIXHAUL_FAULT_PATH whose cached pages are
//           dropped (posix_fadvise DONTNEED, as before a read-back) gets
//           its byte at PIXHAUL_FAULT_AFTER flipped first: a copy that went
//           bad between its write and its check.
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
typedef int (*AdviseFunction)(int, off_t, off_t, int);
typedef int (*SyncFunction)(int);

// Transfers may run on several threads: the fault fires once.
static _Atomic int fired;

// Whether `fd` is open on a path containing PIXHAUL_FAULT_PATH.
static int matches(int fd) {
    const char* pattern = getenv("PIXHAUL_FAULT_PATH");
    if (fired || !pattern || !*pattern)
        return 0;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return 0;
    path[length] = '\0';
    return strstr(path, pattern) != NULL;
}

static int watched(int fd, off_t* offset) {
    const char* after = getenv("PIXHAUL_FAULT_AFTER");
    if (!matches(fd))
        return 0;
    *offset = lseek(fd, 0, SEEK_CUR);
    return *offset >= (after ? atoll(after) : 0);
}

static void fill(void) {
    const char* path = getenv("PIXHAUL_FAULT_FILL");
    const int out = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (out < 0) {
        perror("fault shim: fill");
        return;
    }
    static char block[64 * 1024];
    while (write(out, block, sizeof block) > 0)
        ;
    // The last bytes too, so not even a small file fits any more.
    while (write(out, block, 1) > 0)
        ;
    close(out);
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
    const char* fault = getenv("PIXHAUL_FAULT");
    if (fault && (strcmp(fault, "corrupt") == 0 || strcmp(fault, "killsync") == 0))
        return 0;
    if (!watched(fd, &offset))
        return 0;
    if (atomic_exchange(&fired, 1))
        return 0;
    if (fault && (strcmp(fault, "eio") == 0 || strcmp(fault, "eintr") == 0)) {
        errno = strcmp(fault, "eio") == 0 ? EIO : EINTR;
        return -1;
    }
    if (fault && strcmp(fault, "kill") == 0)
        raise(SIGKILL);
    if (fault && strcmp(fault, "fill") == 0)
        fill();
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

static void flipByte(int fd) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    // Opened again for writing: the checker's descriptor is read-only.
    const int out = open(link, O_RDWR);
    const char* after = getenv("PIXHAUL_FAULT_AFTER");
    const off_t size = out >= 0 ? lseek(out, 0, SEEK_END) : 0;
    off_t offset = after ? atoll(after) : 0;
    if (offset >= size)
        offset = size - 1;
    char byte = 0;
    if (out < 0 || size <= 0 || pread(out, &byte, 1, offset) != 1) {
        perror("fault shim: corrupt");
    } else {
        byte ^= 0x20;
        if (pwrite(out, &byte, 1, offset) != 1)
            perror("fault shim: corrupt");
    }
    if (out >= 0)
        close(out);
}

int posix_fadvise(int fd, off_t offset, off_t length, int advice) {
    static AdviseFunction next;
    if (!next)
        *(void**)&next = dlsym(RTLD_NEXT, "posix_fadvise");
    const char* fault = getenv("PIXHAUL_FAULT");
    if (advice == POSIX_FADV_DONTNEED && fault && strcmp(fault, "corrupt") == 0 && matches(fd) &&
        !atomic_exchange(&fired, 1))
        flipByte(fd);
    return next(fd, offset, length, advice);
}

int syncfs(int fd) {
    static SyncFunction next;
    static _Atomic int calls;
    if (!next)
        *(void**)&next = dlsym(RTLD_NEXT, "syncfs");
    const char* fault = getenv("PIXHAUL_FAULT");
    const char* after = getenv("PIXHAUL_FAULT_AFTER");
    if (fault && strcmp(fault, "killsync") == 0 && matches(fd) &&
        atomic_fetch_add(&calls, 1) >= (after ? atoi(after) : 0))
        raise(SIGKILL);
    return next(fd);
}
