// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/TransferProgress.h"

#include <QString>

#include <cstdio>

// One self-rewriting line on a terminal: files, bytes, speed, time left and
// the file in hand, redrawn at most ten times a second. Does nothing when
// `out` is not a terminal. Main thread.
class ProgressLine {
public:
    ProgressLine(FILE* out, int totalFiles, qint64 totalBytes);

    void fileStarted(const QString& title);
    void bytesDone(qint64 bytes);
    // Clears the line so later output starts on a clean one.
    void finish();

private:
    void draw();

    FILE* m_out;
    bool m_enabled;
    TransferProgress m_progress;
    QString m_current;
};
