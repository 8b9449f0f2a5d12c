// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <ctime>
#include <functional>

// Byte-for-byte copies of regular files, flushed to disk. Any thread;
// blocking.
class FileCopy {
public:
    // Called after each chunk with the bytes written so far; returning false
    // stops the copy (it then fails).
    using Progress = std::function<bool(qint64 bytesDone)>;

    // Whether a write waits until its file is on the disk. Unflushed writes
    // are for callers that flush many files at once (syncfs) before they
    // rely on them.
    enum class Durability { Flushed, Unflushed };

    // Copies the contents of `source` into `destination` (created or
    // truncated, mode 0666 less the umask), fsyncs it (unless Unflushed) and
    // checks that the size written equals the source's size at the start.
    // False on any read or write error; the destination is then left for
    // the caller to remove.
    static bool copyContents(const QString& source, const QString& destination,
                             const Progress& progress = {},
                             Durability durability = Durability::Flushed);

    // The same into `destination`, a new, empty file open for writing that
    // the caller keeps and closes (a staged file holding its lock on it);
    // with `sourceModified`, also the source's modification time.
    static bool copyContents(const QString& source, int destination, const Progress& progress = {},
                             Durability durability = Durability::Flushed,
                             timespec* sourceModified = nullptr);

    // Reads the whole regular file `source` into `contents`. False on a read
    // error, a file larger than `maxSize`, or a file whose size changed while
    // it was read. With `sourceModified`, also its modification time.
    static constexpr qint64 defaultMaxSize = qint64(1) << 30;
    static bool readContents(const QString& source, QByteArray* contents,
                             qint64 maxSize = defaultMaxSize, timespec* sourceModified = nullptr);

    // Writes `contents` to `destination` (created or truncated, mode 0666
    // less the umask) and fsyncs it (unless Unflushed). False on any error;
    // the destination is then left for the caller to remove.
    static bool writeContents(const QString& destination, const QByteArray& contents,
                              Durability durability = Durability::Flushed);
    // The same into `destination`, a new, empty file open for writing that
    // the caller keeps and closes.
    static bool writeContents(int destination, const QByteArray& contents,
                              Durability durability = Durability::Flushed);
};
