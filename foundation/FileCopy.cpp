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
    explicit Descriptor(int value)
        : fd(value) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    // close() reports write-back errors some file systems only see then.
    bool close() {
        const int value = fd;
        fd = -1;
        return ::close(value) == 0;
    }
};

bool writeAll(int fd, const char* data, size_t length) {
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

// Reads up to `length` bytes, fewer only at the end of the file; -1 on error.
ssize_t readSome(int fd, char* data, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::read(fd, data + done, length - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

constexpr size_t chunkSize = 1 << 20;

// Copies up to `length` bytes from the current offsets; fewer only at the
// end of the file; -1 on error. Inside the kernel while `kernelCopy` holds
// (no pass through user space); through `buffer` (`bufferSize` bytes, at
// most `length`, allocated on first use) once the kernel cannot copy
// between these files or reports the end (some file systems answer 0 for
// data they hold, so a plain read has the last word).
ssize_t copyChunk(int in, int out, std::unique_ptr<char[]>& buffer, size_t bufferSize,
                  size_t length, bool* kernelCopy) {
    if (*kernelCopy) {
        // A signal handled without SA_RESTART (the importer's Ctrl-C) may
        // interrupt the copy, which then simply goes on.
        ssize_t copied = -1;
        do {
            copied = ::copy_file_range(in, nullptr, out, nullptr, length, 0);
        } while (copied < 0 && errno == EINTR);
        if (copied > 0)
            return copied;
        if (copied < 0 && errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP &&
            errno != EINVAL)
            return -1;
        *kernelCopy = false;
    }
    if (!buffer)
        buffer.reset(new char[bufferSize]);
    const ssize_t got = readSome(in, buffer.get(), bufferSize);
    if (got <= 0)
        return got;
    return writeAll(out, buffer.get(), size_t(got)) ? got : -1;
}

int openRegularForReading(const QString& source, struct stat* info) {
    Descriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0 || ::fstat(in.fd, info) != 0 || !S_ISREG(info->st_mode))
        return -1;
    const int fd = in.fd;
    in.fd = -1;
    return fd;
}

// Truncated only when not empty: ext4 takes the truncation of a file for
// an in-place replacement and starts writing it back when it is closed,
// which would defeat a later flush of many files at once.
int createForWriting(const QString& destination) {
    Descriptor out(
        ::open(QFile::encodeName(destination).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    struct stat st {};
    if (out.fd < 0 || ::fstat(out.fd, &st) != 0 || (st.st_size > 0 && ::ftruncate(out.fd, 0) != 0))
        return -1;
    const int fd = out.fd;
    out.fd = -1;
    return fd;
}

// A source that grew or shrank while it was read is not a faithful copy.
bool sizeStayed(int fd, qint64 bytesRead) {
    struct stat endStat {};
    return ::fstat(fd, &endStat) == 0 && endStat.st_size == bytesRead;
}

} // namespace

bool FileCopy::copyContents(const QString& source, const QString& destination,
                            const Progress& progress, Durability durability) {
    Descriptor out(createForWriting(destination));
    return out.fd >= 0 && copyContents(source, out.fd, progress, durability) && out.close();
}

bool FileCopy::copyContents(const QString& source, int destination, const Progress& progress,
                            Durability durability, timespec* sourceModified) {
    struct stat sourceStat {};
    Descriptor in(openRegularForReading(source, &sourceStat));
    if (in.fd < 0 || destination < 0)
        return false;
    if (sourceStat.st_size > qint64(chunkSize))
        ::posix_fadvise(in.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // Where the kernel cannot copy (another file system), a small file
    // goes through a buffer of its size: a chunk-sized one per file would
    // be mapped and unmapped each time.
    const size_t bufferSize =
        size_t(qBound(qint64(1), qint64(sourceStat.st_size) + 1, qint64(chunkSize)));
    std::unique_ptr<char[]> buffer;
    qint64 done = 0;
    bool kernelCopy = true;
    for (;;) {
        const ssize_t got =
            copyChunk(in.fd, destination, buffer, bufferSize, chunkSize, &kernelCopy);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        // Start writing the chunk to disk now, so the fsync below waits for
        // the last one only and the disk works while the next is read. Small
        // unflushed files are left to their group's flush, which writes
        // them together.
        if (durability == Durability::Flushed || size_t(got) == chunkSize)
            ::sync_file_range(destination, done, got, SYNC_FILE_RANGE_WRITE);
        done += got;
        if (progress && !progress(done))
            return false;
        // All the source had is here: a plain read of one byte, not another
        // kernel copy, tells whether it ends or grew meanwhile.
        if (done >= sourceStat.st_size) {
            char more = 0;
            const ssize_t extra = readSome(in.fd, &more, 1);
            if (extra < 0)
                return false;
            done += extra;
            break;
        }
    }
    // The source's size at the start, neither more (it grew) nor less (it
    // shrank).
    if (done != sourceStat.st_size)
        return false;
    if (sourceModified)
        *sourceModified = sourceStat.st_mtim;
    return durability == Durability::Unflushed || ::fsync(destination) == 0;
}

bool FileCopy::readContents(const QString& source, QByteArray* contents, qint64 maxSize,
                            timespec* sourceModified) {
    struct stat sourceStat {};
    Descriptor in(openRegularForReading(source, &sourceStat));
    if (in.fd < 0 || sourceStat.st_size > maxSize)
        return false;
    // One byte more than announced, so growth shows as a longer read.
    QByteArray bytes(qsizetype(sourceStat.st_size) + 1, Qt::Uninitialized);
    const ssize_t got = readSome(in.fd, bytes.data(), size_t(bytes.size()));
    if (got < 0 || got != sourceStat.st_size || !sizeStayed(in.fd, got))
        return false;
    bytes.truncate(got);
    *contents = std::move(bytes);
    if (sourceModified)
        *sourceModified = sourceStat.st_mtim;
    return true;
}

bool FileCopy::writeContents(const QString& destination, const QByteArray& contents,
                             Durability durability) {
    Descriptor out(createForWriting(destination));
    return out.fd >= 0 && writeContents(out.fd, contents, durability) && out.close();
}

bool FileCopy::writeContents(int destination, const QByteArray& contents, Durability durability) {
    if (destination < 0 || !writeAll(destination, contents.constData(), size_t(contents.size())))
        return false;
    // A large file is started now, so a later flush of many files finds it
    // under way; small ones are written together by that flush.
    if (durability == Durability::Unflushed && size_t(contents.size()) >= chunkSize)
        ::sync_file_range(destination, 0, 0, SYNC_FILE_RANGE_WRITE);
    return durability == Durability::Unflushed || ::fsync(destination) == 0;
}
