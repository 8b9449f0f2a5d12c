// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CameraFile.h"

#include <QMutex>

#include <atomic>
#include <optional>

// A file of a drive camera (card, volume or folder). Files of the movie
// tree are not moveable: every transfer copies them.
class CameraDriveFile : public CameraFile {
public:
    CameraDriveFile(const QString& path, bool moveable);

    QString path() const { return m_filePath; }
    bool isMoveable() const { return m_moveable; }

    QString title() const override;
    // Read once, as the date: a scan, its plan and the transfer ask it
    // many times.
    qint64 fileSize() const override;
    // The EXIF date of digitisation, else the file's creation date, else now;
    // read once (the scan, then the transfer, ask it), with the size and,
    // for a file that short, the fingerprint (see readHead()).
    QDateTime creationDate() const override;
    QDateTime modificationDate() const override;
    void readForScan(const FingerprintWanted& fingerprintWanted) const override;
    // The embedded EXIF thumbnail of an image, else the file type's icon.
    QImage thumbnail() const override;

    // Move on one file system is a single rename; otherwise the contents
    // are copied to a staged file, read back and compared with the source
    // (moves always, copies when verifiesCopies()), published, and the
    // source removed last. A copy that differs is removed, the source kept.
    bool transferFileTo(const QString& destination, TransferMode mode,
                        bool replaceExisting = false) override;
    // A copy is turned in memory and written once.
    bool transferUprightFileTo(const QString& destination, TransferMode mode,
                               bool replaceExisting = false) override;
    bool supportsParallelTransfers() const override { return true; }
    bool supportsStaging() const override { return true; }
    // A move on one file system is staged as a rename, unless the picture
    // is turned: then a turned copy is staged and the source removed after.
    std::unique_ptr<StagedTransfer> stageTransferTo(const QString& destination, TransferMode mode,
                                                    bool upright) override;
    QString localPath() const override { return m_filePath; }
    std::optional<quint64> knownFingerprint() const override;
    bool canVerifyContents() const override { return true; }

private:
    // `uprightCode` is the JpegTransformCode that turns the picture upright,
    // JXFORM_NONE to copy it as it is.
    bool copyTo(const QString& destination, bool replaceExisting, bool keepSource, int uprightCode);
    // The copy written, unflushed, under a temporary name; null on failure.
    std::unique_ptr<StagedTransfer> stageCopy(const QString& destination, bool keepSource,
                                              int uprightCode) const;

    // The scan's look at the file, through one descriptor: its size, the
    // date from the head of a JPEG (else the full way) and the fingerprint
    // of a file the head holds whole, or of one `fingerprintWanted` asks
    // for. Under m_dateLock.
    void readHead(const FingerprintWanted& fingerprintWanted = {}) const;

    QString m_filePath;
    // Asked for every file by the history, the plan and the transfer.
    QString m_title;
    bool m_moveable;
    mutable QMutex m_dateLock;
    mutable std::optional<QDateTime> m_creationDate;
    mutable std::optional<quint64> m_fingerprint;
    mutable std::atomic<qint64> m_fileSize{-1};
};
