// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDeviceFile.h"

#include "CameraLog.h"
#include "TransferMode.h"
#include "camera/gphoto/GPhotoDevice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

CameraDeviceFile::CameraDeviceFile(GPhotoFilePtr cameraFile)
    : m_file(std::move(cameraFile)) {}

QString CameraDeviceFile::title() const {
    return m_file->name();
}

qint64 CameraDeviceFile::fileSize() const {
    return qMax<qint64>(m_file->fileSize(), 0);
}

QDateTime CameraDeviceFile::creationDate() const {
    return m_file->creationDate();
}

QDateTime CameraDeviceFile::modificationDate() const {
    return m_file->modificationDate();
}

QImage CameraDeviceFile::thumbnail() const {
    return m_file->thumbnailIfAvailable();
}

bool CameraDeviceFile::transferFileTo(const QString& destination, TransferMode mode,
                                      bool replaceExisting) {
    const std::shared_ptr<GPhotoDevice> device = m_file->device();
    if (!device) {
        qCWarning(lcCamera).noquote()
            << QStringLiteral("%1: the camera is no longer connected").arg(m_file->name());
        return false;
    }
    const QFileInfo target(destination);
    GPhotoDownloadOptions options;
    options.downloadsDirectory = target.absolutePath();
    // The destination's name is the file's own; anything else is honoured
    // rather than leaving the caller to look for a file that is not there.
    if (target.fileName() != m_file->name())
        options.saveAsFilename = target.fileName();
    options.overwrite = replaceExisting;
    options.downloadSidecarFiles = true;
    options.deleteAfterSuccessfulDownload = mode == TransferModeMove;
    return requestSync([&] { device->requestDownloadFile(m_file, options, this); });
}

bool CameraDeviceFile::requestSync(const std::function<void()>& request) {
    // The answer is delivered by the main thread: waiting there would never end.
    const QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() == application->thread()) {
        qCWarning(lcCamera) << "a device request cannot wait on the main thread";
        return false;
    }
    m_requestError.reset();
    m_requestSemaphore = std::make_shared<QSemaphore>(0);
    const std::shared_ptr<QSemaphore> semaphore = m_requestSemaphore;
    request();
    semaphore->acquire();
    if (!m_requestError)
        return true;
    qCWarning(lcCamera).noquote() << m_requestError->simplified();
    return false;
}

void CameraDeviceFile::didDownloadFile(GPhotoFile*, const std::optional<QString>& error) {
    answer(error);
}

void CameraDeviceFile::didRemoveDevice(GPhotoDevice*) {
    answer(QStringLiteral("%1: the camera was disconnected").arg(m_file->name()));
}

void CameraDeviceFile::answer(const std::optional<QString>& error) {
    m_requestError = error;
    if (m_requestSemaphore)
        m_requestSemaphore->release();
}
