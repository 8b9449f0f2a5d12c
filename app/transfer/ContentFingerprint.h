// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// A fast fingerprint of a file's contents: XXH3 (64 bits) over its size,
// its first and its last 64 KiB. Cheap enough to take for every file of a
// card, and a renumbered picture or one edited in place (header or tail,
// where cameras and editors write) no longer matches. Any thread.
class ContentFingerprint {
public:
    static constexpr qint64 edgeBytes = 64 * 1024;

    // Nothing when the file cannot be read whole at its edges.
    static std::optional<quint64> ofFile(const QString& path);
    // The same for a file whose whole contents are `contents`, already read.
    static std::optional<quint64> ofWholeFile(QByteArrayView contents);

    // The edges of the open file `fd` of `size` bytes, one after the other:
    // its first 64 KiB, then those of its last 64 KiB that are not among
    // them (a file of up to 128 KiB whole, its bytes once). Nothing when a
    // read fails or comes short.
    static std::optional<QByteArray> readEdges(int fd, qint64 size);
    // Of a file of `size` bytes whose edges are `edges`, as readEdges() gives them.
    static std::optional<quint64> ofEdges(qint64 size, QByteArrayView edges);
};
