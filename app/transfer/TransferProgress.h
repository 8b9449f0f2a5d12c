// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QString>

// Where a running transfer stands: files started of all, bytes done of all,
// the speed so far and the time left at that speed, as the assistant and
// pixhaul-import show them. Redraws are paced to at most ten a second, so
// a card of small files does not spend its time painting. One thread.
class TransferProgress {
public:
    TransferProgress(int totalFiles, qint64 totalBytes);

    void fileStarted() { ++m_filesStarted; }
    void bytesDone(qint64 bytes) { m_bytesDone += bytes; }

    int filesStarted() const { return m_filesStarted; }
    qint64 bytesDone() const { return m_bytesDone; }
    qint64 totalBytes() const { return m_totalBytes; }

    // "3 of 120 files, 12.4 MB of 2.1 GB, 45 MB/s, 0:46 left"; speed
    // and time left once half a second has passed and bytes have moved.
    QString statusText() const { return statusText(m_clock.elapsed()); }
    QString statusText(qint64 elapsedMs) const;

    // True the first time and then when 100 ms have passed since the last
    // true answer.
    bool redrawDue() { return redrawDue(m_clock.elapsed()); }
    bool redrawDue(qint64 elapsedMs);

    static constexpr qint64 redrawIntervalMs = 100;

private:
    int m_totalFiles;
    qint64 m_totalBytes;
    int m_filesStarted = 0;
    qint64 m_bytesDone = 0;
    qint64 m_lastRedrawMs = -1;
    QElapsedTimer m_clock;
};
