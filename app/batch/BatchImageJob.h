// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchOptions.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>

// The work on one picture of a batch run, all in memory: read the source,
// decode it (a JPEG at the smallest DCT scale that keeps at least twice the
// output size), resize it with a Lanczos-3 filter, turn it upright by its
// EXIF orientation, and encode it with its metadata (EXIF copied with the
// new size and thumbnail, or stripped; the ICC profile kept). Nothing is
// written: the run puts the bytes in place. Any thread; pure of shared
// state, so several pictures may be worked on at once.
class BatchImageJob {
public:
    struct Result {
        QByteArray bytes; // the complete output file; empty on failure
        QSize size;       // its pixel size
        QString reason;   // why there is no output
    };

    // `abandon` is read between the steps: once set, the job gives up.
    static Result process(const QString& source, const BatchOptions& options,
                          const std::atomic<bool>& abandon);
};
