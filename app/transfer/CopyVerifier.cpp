// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyVerifier.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <xxhash.h>

namespace {

constexpr size_t chunkSize = 1 << 20;

} // namespace

std::optional<quint64> CopyVerifier::hashOfFile(const QString& path, bool fromDisk) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (fromDisk) {
        // Dirty pages cannot be dropped: flushed first, then let go.
        if (::fsync(fd) != 0) {
            ::close(fd);
            return std::nullopt;
        }
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    XXH3_state_t* state = XXH3_createState();
    bool ok = state && XXH3_64bits_reset(state) == XXH_OK;
    const std::unique_ptr<char[]> buffer(new char[chunkSize]);
    while (ok) {
        const ssize_t got = ::read(fd, buffer.get(), chunkSize);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = XXH3_64bits_update(state, buffer.get(), size_t(got)) == XXH_OK;
    }
    std::optional<quint64> result;
    if (ok)
        result = XXH3_64bits_digest(state);
    XXH3_freeState(state);
    if (fromDisk) // the check leaves no copy of the file in memory either
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return result;
}

quint64 CopyVerifier::hashOf(const QByteArray& bytes) {
    return XXH3_64bits(bytes.constData(), size_t(bytes.size()));
}

bool CopyVerifier::copyMatches(const QString& source, const QString& copy) {
    const std::optional<quint64> written = hashOfFile(copy, true);
    const std::optional<quint64> original = hashOfFile(source, false);
    return written && original && *written == *original;
}

bool CopyVerifier::copyHolds(const QByteArray& expected, const QString& copy) {
    const std::optional<quint64> written = hashOfFile(copy, true);
    return written && *written == hashOf(expected);
}
