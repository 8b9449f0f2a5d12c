// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Checks a written copy against what it should hold by a content hash
// (XXH3, 64 bits). The copy is flushed and its pages dropped from the page
// cache first (posix_fadvise DONTNEED), so it is read back from the disk,
// not from the memory that wrote it. Any thread; blocking.
class CopyVerifier {
public:
    // The hash of the whole file, nothing on a read error. With
    // `fromDisk`, cached pages of the file are dropped before it is read.
    static std::optional<quint64> hashOfFile(const QString& path, bool fromDisk);
    static quint64 hashOf(const QByteArray& bytes);

    // True when `copy`, read back from the disk, has the contents of
    // `source` (read as it is now).
    static bool copyMatches(const QString& source, const QString& copy);
    // True when `copy`, read back from the disk, holds `expected`.
    static bool copyHolds(const QByteArray& expected, const QString& copy);
};
