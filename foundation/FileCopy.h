// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// Byte-for-byte copy of one regular file into another, flushed to disk.
// Any thread; blocking.
class FileCopy {
public:
    // Called after each chunk with the bytes written so far; returning false
    // stops the copy (it then fails).
    using Progress = std::function<bool(qint64 bytesDone)>;

    // Copies the contents of `source` into `destination` (created or
    // truncated, mode 0666 less the umask), fsyncs it and checks that the
    // size written equals the source's size at the end. False on any read
    // or write error; the destination is then left for the caller to remove.
    static bool copyContents(const QString& source, const QString& destination,
                             const Progress& progress = {});
};
