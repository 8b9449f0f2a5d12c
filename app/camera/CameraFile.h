// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransferMode.h"

#include <QDateTime>
#include <QImage>
#include <QMetaType>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class StagedTransfer;

// Asked by a scan, on its threads, whether the file of `name` and `size`
// should have its content fingerprint taken as it is read (the import
// history has a record of that name and size).
using FingerprintWanted = std::function<bool(const QString& name, qint64 size)>;

// One transferable file on a camera. The base class answers "nothing"
// (empty, 0, null, false); drive and device files fill it in.
//
// Threads: listing and the metadata calls run on whatever worker scans the
// camera; transferFileTo() runs on the transfer worker and may block (a
// device camera waits there for its download). thumbnail() may also be
// asked on the main thread.
class CameraFile {
public:
    CameraFile() = default;
    virtual ~CameraFile();
    CameraFile(const CameraFile&) = delete;
    CameraFile& operator=(const CameraFile&) = delete;

    // The file's name with its extension; its name at the destination.
    virtual QString title() const;
    virtual qint64 fileSize() const;
    // When the picture or movie was taken, as well as the camera can tell.
    virtual QDateTime creationDate() const;
    virtual QDateTime modificationDate() const;
    virtual QImage thumbnail() const;
    // The scan's reading of the file: its date and size, and its
    // fingerprint (knownFingerprint()) as well when `fingerprintWanted`
    // asks for it, so that the file is opened once. The base asks the date
    // and the size.
    virtual void readForScan(const FingerprintWanted& fingerprintWanted) const;

    // Copies or moves the file to the full path
    // `destination`, whose folder exists. Implementations guarantee:
    // - no partial file ever stands under `destination` (contents are
    //   written under a hidden temporary name beside it, then renamed);
    // - an existing file at `destination` is replaced atomically when
    //   `replaceExisting` is true and left alone (failure) otherwise;
    // - in move mode the source is removed only once its copy is in place.
    // True when the file stands complete at `destination`.
    virtual bool transferFileTo(const QString& destination, TransferMode mode,
                                bool replaceExisting = false);

    // The same, and a JPEG arrives turned upright by its EXIF orientation,
    // losslessly; one that cannot be turned arrives as it is. The base
    // transfers, then rewrites the file in place; drive files turn it on the
    // way, so it is written once.
    virtual bool transferUprightFileTo(const QString& destination, TransferMode mode,
                                       bool replaceExisting = false);

    // Whether stageTransferTo() can carry this file, so that a run flushes
    // many files to disk at once instead of one by one. Device cameras
    // cannot: their downloads go through transferFileTo().
    virtual bool supportsStaging() const { return false; }
    // Writes the file (turned upright with `upright`, as
    // transferUprightFileTo() would) under a hidden temporary name beside
    // `destination`, or prepares a move by rename, without flushing or
    // publishing anything: the caller does that, and removes a moved source
    // only afterwards (see StagedTransfer). A copy keeps the source's
    // modification time. Null on failure, which leaves nothing behind.
    virtual std::unique_ptr<StagedTransfer> stageTransferTo(const QString& destination,
                                                            TransferMode mode, bool upright);

    // Whether transferFileTo() may run on another thread while another file
    // of the same camera transfers (a device camera talks to one at a time).
    virtual bool supportsParallelTransfers() const { return false; }

    // The file as a path this process can read (a card's file), empty when
    // it is reached only through a device.
    virtual QString localPath() const { return {}; }
    // The content fingerprint of the import history (ContentFingerprint),
    // when it was taken as the file was read anyway; else nothing, and the
    // history reads the file at localPath().
    virtual std::optional<quint64> knownFingerprint() const { return std::nullopt; }

    // Whether a copy is read back from the disk and compared with the
    // source by a content hash before it counts; moves of a file whose
    // bytes are copied always are. Set by the transfer before
    // transferFileTo(). Files that cannot be compared so (a device offers
    // no hash) answer false to canVerifyContents() and check the size only.
    void setVerifiesCopies(bool verify) { m_verifiesCopies = verify; }
    bool verifiesCopies() const { return m_verifiesCopies; }
    virtual bool canVerifyContents() const { return false; }

private:
    bool m_verifiesCopies = false;
};

using CameraFilePtr = std::shared_ptr<CameraFile>;
Q_DECLARE_METATYPE(CameraFilePtr)
