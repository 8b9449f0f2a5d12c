// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCopy.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int value) : fd(value) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

bool writeAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

bool FileCopy::copyContents(const QString& source, const QString& destination,
                            const Progress& progress)
{
    Descriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        return false;
    struct stat sourceStat {};
    if (::fstat(in.fd, &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;
    Descriptor out(::open(QFile::encodeName(destination).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.fd < 0)
        return false;
    ::posix_fadvise(in.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    constexpr size_t chunkSize = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[chunkSize]);
    qint64 done = 0;
    for (;;) {
        const ssize_t got = ::read(in.fd, buffer.get(), chunkSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        if (!writeAll(out.fd, buffer.get(), static_cast<size_t>(got)))
            return false;
        done += got;
        if (progress && !progress(done))
            return false;
    }
    // A source that grew or shrank while it was read is not a faithful copy.
    struct stat endStat {};
    if (::fstat(in.fd, &endStat) != 0 || endStat.st_size != done)
        return false;
    if (::fsync(out.fd) != 0)
        return false;
    const int fd = out.fd;
    out.fd = -1;
    return ::close(fd) == 0;
}
