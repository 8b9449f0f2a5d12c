// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QImage>
#include <QObject>

struct TransferSummary;

namespace Ui {
class TransferAssistant;
}

// The assistant's third page: progress over the bytes of the whole
// transfer, the file being handled, and at the end "Completed!" with the
// notices about skipped and failed files. Fed by the run's reports, in
// order, on the main thread.
class TransferProgressPage : public QObject {
    Q_OBJECT

public:
    explicit TransferProgressPage(Ui::TransferAssistant& ui, QObject* parent = nullptr);

    // Empties the page for a transfer of `totalBytes`.
    void begin(qint64 totalBytes);

    void fileStarted(const CameraFilePtr& source, bool skippedSoFar);
    void bytesDone(qint64 bytes);
    void finished(const TransferSummary& summary);
    void showThumbnail(const QImage& thumbnail);

    qint64 bytesTransferred() const { return m_doneBytes; }
    qint64 totalBytes() const { return m_allBytes; }

    // The most file names listed in the failure notice.
    static constexpr int listedFailureNames = 8;

private:
    void showProgress();

    Ui::TransferAssistant& m_ui;
    qint64 m_allBytes = 0;
    qint64 m_doneBytes = 0;
};
