// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContentFingerprint.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

namespace {

bool readAt(int fd, char* data, qint64 length, qint64 offset) {
    while (length > 0) {
        const ssize_t got = ::pread(fd, data, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        length -= got;
        offset += got;
    }
    return true;
}

} // namespace

std::optional<quint64> ContentFingerprint::ofFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<quint64> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (const std::optional<QByteArray> edges = readEdges(fd, info.st_size))
            result = ofEdges(info.st_size, *edges);
    }
    ::close(fd);
    return result;
}

std::optional<QByteArray> ContentFingerprint::readEdges(int fd, qint64 size) {
    const qint64 head = qMin(size, edgeBytes);
    const qint64 tail = qMin(size - head, edgeBytes);
    QByteArray bytes(head + tail, Qt::Uninitialized);
    if (!readAt(fd, bytes.data(), head, 0) || !readAt(fd, bytes.data() + head, tail, size - tail))
        return std::nullopt;
    return bytes;
}

std::optional<quint64> ContentFingerprint::ofWholeFile(QByteArrayView contents) {
    if (contents.size() <= 2 * edgeBytes)
        return ofEdges(contents.size(), contents);
    QByteArray edges = contents.first(edgeBytes).toByteArray();
    edges.append(contents.last(edgeBytes));
    return ofEdges(contents.size(), edges);
}

std::optional<quint64> ContentFingerprint::ofEdges(qint64 size, QByteArrayView edges) {
    XXH3_state_t* state = XXH3_createState();
    const quint64 sizeField = quint64(size);
    std::optional<quint64> result;
    if (state && XXH3_64bits_reset(state) == XXH_OK &&
        XXH3_64bits_update(state, &sizeField, sizeof sizeField) == XXH_OK &&
        XXH3_64bits_update(state, edges.data(), size_t(edges.size())) == XXH_OK)
        result = XXH3_64bits_digest(state);
    XXH3_freeState(state);
    return result;
}
