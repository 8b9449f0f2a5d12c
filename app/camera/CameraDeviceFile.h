// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CameraFile.h"
#include "camera/gphoto/GPhotoDownloadDelegate.h"
#include "camera/gphoto/GPhotoFile.h"

#include <QSemaphore>

#include <functional>
#include <memory>
#include <optional>

// One picture or movie of a device camera seen as a CameraFile. The device
// works asynchronously with callbacks on the main thread; the transfer
// worker wants one synchronous transfer: requestSync() bridges the two
// with a semaphore created for each request.
//
// Threads: the properties on any thread; transferFileTo() and requestSync()
// on a worker (never the main thread, which delivers the answer); the
// download callbacks on the main thread.
class CameraDeviceFile : public CameraFile, public GPhotoDownloadDelegate {
public:
    explicit CameraDeviceFile(GPhotoFilePtr cameraFile);

    GPhotoFilePtr cameraFile() const { return m_file; }
    // True when `other` is the very file object this wraps.
    bool is(const GPhotoFile* other) const { return other == m_file.get(); }

    QString title() const override;
    qint64 fileSize() const override;
    QDateTime creationDate() const override;
    QDateTime modificationDate() const override;
    // Null until the device has delivered the thumbnail (asked for on the
    // first call).
    QImage thumbnail() const override;

    // Downloads the file into the destination's folder under the
    // destination's name, with its side files; in move mode the device
    // deletes it once it stands complete there. The download is checked
    // against the size the device reports; libgphoto2 offers no content
    // hash, so a verified copy or move is checked by its size only.
    bool transferFileTo(const QString& destination, TransferMode mode,
                        bool replaceExisting = false) override;

    // Calls `request` on this thread and waits until one of the callbacks
    // below answers it. False, with the error logged as one line, when the
    // answer is an error.
    bool requestSync(const std::function<void()>& request);

    // GPhotoDownloadDelegate (main thread).
    void didDownloadFile(GPhotoFile* downloaded, const std::optional<QString>& error) override;
    void didRemoveDevice(GPhotoDevice* device) override;

private:
    void answer(const std::optional<QString>& error);

    const GPhotoFilePtr m_file;
    std::shared_ptr<QSemaphore> m_requestSemaphore;
    std::optional<QString> m_requestError;
};
