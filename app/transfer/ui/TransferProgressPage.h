// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"
#include "transfer/TransferProgress.h"

#include <QImage>
#include <QObject>

#include <optional>

struct TransferSummary;

namespace Ui {
class TransferAssistant;
}

// The assistant's third page: progress over the bytes of the whole
// transfer, files, bytes, speed and time left (redrawn at most ten times a
// second), the file being handled, and at the end "Completed!" with the
// counts, the notices about skipped and failed files and the button that
// shows the first group's folder. Fed by the run's reports, in order, on
// the main thread.
class TransferProgressPage : public QObject {
    Q_OBJECT

public:
    explicit TransferProgressPage(Ui::TransferAssistant& ui, QObject* parent = nullptr);

    // Empties the page for a transfer of `totalFiles` files of `totalBytes`;
    // `alreadyImported` files were left out as imported before.
    void begin(int totalFiles, qint64 totalBytes, int alreadyImported = 0);

    void fileStarted(const CameraFilePtr& source, bool skippedSoFar);
    void bytesDone(qint64 bytes);
    void finished(const TransferSummary& summary);
    void showThumbnail(const QImage& thumbnail);

    qint64 bytesTransferred() const { return m_progress ? m_progress->bytesDone() : 0; }
    qint64 totalBytes() const { return m_progress ? m_progress->totalBytes() : 0; }

    // The most file names listed in the failure notice.
    static constexpr int listedFailureNames = 8;

private:
    void showProgress(bool now);
    void loadThumbnail(const CameraFilePtr& source);
    void loadNextThumbnail();

    Ui::TransferAssistant& m_ui;
    std::optional<TransferProgress> m_progress;
    int m_alreadyImported = 0;
    // One thumbnail is read at a time; of the files started meanwhile only
    // the newest waits.
    bool m_thumbnailLoading = false;
    CameraFilePtr m_nextThumbnail;
};
