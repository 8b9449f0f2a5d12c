// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDevice.h"

#include "GPhotoCatalogue.h"
#include "GPhotoDeviceDelegate.h"
#include "GPhotoDownload.h"
#include "GPhotoDownloadDelegate.h"
#include "GPhotoSession.h"
#include "GPhotoWorker.h"
#include "camera/CameraLog.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

#include <gphoto2/gphoto2-camera.h>
#include <gphoto2/gphoto2-file.h>
#include <gphoto2/gphoto2-result.h>

namespace {

QImage fetchPreview(GPhotoSession& session, const GPhotoFile& file) {
    if (!session.isOpen())
        return {};
    CameraFile* preview = nullptr;
    if (gp_file_new(&preview) < GP_OK)
        return {};
    const QByteArray folder = file.folder().toUtf8();
    const QByteArray name = file.name().toUtf8();
    QImage image;
    if (gp_camera_file_get(session.camera(), folder.constData(), name.constData(),
                           GP_FILE_TYPE_PREVIEW, preview, session.context()) >= GP_OK) {
        const char* data = nullptr;
        unsigned long size = 0;
        if (gp_file_get_data_and_size(preview, &data, &size) >= GP_OK && data && size > 0 &&
            size <= 64ul * 1024 * 1024)
            image = QImage::fromData(reinterpret_cast<const uchar*>(data), int(size));
    }
    gp_file_unref(preview);
    return image;
}

} // namespace

std::shared_ptr<GPhotoDevice> GPhotoDevice::create(const GPhotoDeviceInfo& info) {
    // A QObject is deleted in its own thread; an owner elsewhere hands it over.
    return std::shared_ptr<GPhotoDevice>(new GPhotoDevice(info), [](GPhotoDevice* device) {
        if (QThread::currentThread() == device->thread())
            delete device;
        else
            device->deleteLater();
    });
}

GPhotoDevice::GPhotoDevice(const GPhotoDeviceInfo& info)
    : m_info(info)
    , m_worker(std::make_unique<GPhotoWorker>(QStringLiteral("gphoto ") + info.port)) {}

GPhotoDevice::~GPhotoDevice() {
    m_worker->abandoned().store(true);
    abandonPendingDownloads();
    m_worker.reset();
}

QList<GPhotoFilePtr> GPhotoDevice::mediaFiles() const {
    QMutexLocker locker(&m_filesLock);
    return m_files;
}

void GPhotoDevice::requestOpenSession() {
    const GPhotoDeviceInfo deviceInfo = m_info;
    m_worker->post([this, deviceInfo](GPhotoSession& session) {
        QString error = session.open(deviceInfo);
        QList<GPhotoFilePtr> catalogue;
        if (error.isEmpty() && !GPhotoCatalogue::read(session, catalogue, error))
            session.close();
        QMetaObject::invokeMethod(
            this, [this, error, catalogue] { finishOpen(error, catalogue); }, Qt::QueuedConnection);
    });
}

void GPhotoDevice::finishOpen(const QString& error, const QList<GPhotoFilePtr>& catalogue) {
    if (m_removed.load())
        return;
    if (!error.isEmpty()) {
        qCWarning(lcCamera).noquote() << error;
        if (m_delegate)
            m_delegate->didOpenSessionWithError(this, error);
        emit openFailed(error);
        return;
    }
    for (const GPhotoFilePtr& file : catalogue)
        file->setDevice(weak_from_this());
    {
        QMutexLocker locker(&m_filesLock);
        m_files = catalogue;
    }
    m_ready.store(true);
    if (m_delegate)
        m_delegate->didOpenSessionWithError(this, QString());
    if (m_delegate)
        m_delegate->deviceDidBecomeReady(this);
    emit becameReady();
}

void GPhotoDevice::deviceWasRemoved() {
    if (m_removed.exchange(true))
        return;
    m_ready.store(false);
    m_worker->abandoned().store(true);
    abandonPendingDownloads();
    if (m_delegate)
        m_delegate->didRemoveDevice(this);
}

void GPhotoDevice::abandonPendingDownloads() {
    const QHash<quint64, PendingDownload> pending = std::exchange(m_pendingDownloads, {});
    for (const PendingDownload& download : pending)
        download.delegate->didRemoveDevice(this);
}

void GPhotoDevice::requestDownloadFile(const GPhotoFilePtr& file,
                                       const GPhotoDownloadOptions& options,
                                       GPhotoDownloadDelegate* delegate) {
    // Requests are booked on the main thread, where removal happens too, so
    // a request is either answered by the worker or by the removal, never
    // by both and never by neither.
    // The booking keeps the device alive, so it cannot vanish unanswered.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self = shared_from_this(), file, options, delegate] {
            self->startDownload(file, options, delegate);
        },
        Qt::QueuedConnection);
}

void GPhotoDevice::startDownload(const GPhotoFilePtr& file, const GPhotoDownloadOptions& options,
                                 GPhotoDownloadDelegate* delegate) {
    if (m_removed.load() || !file) {
        delegate->didRemoveDevice(this);
        return;
    }
    const quint64 request = m_nextRequest++;
    m_pendingDownloads.insert(request, PendingDownload{file, delegate});
    std::atomic<bool>* abandoned = &m_worker->abandoned();
    m_worker->post([this, request, file, options, abandoned](GPhotoSession& session) {
        GPhotoDownload download(session, *file, options);
        const std::optional<QString> error = download.run(*abandoned);
        const bool deleted = download.deletedOnDevice();
        QMetaObject::invokeMethod(
            this, [this, request, error, deleted] { finishDownload(request, error, deleted); },
            Qt::QueuedConnection);
    });
}

void GPhotoDevice::finishDownload(quint64 request, const std::optional<QString>& error,
                                  bool deleted) {
    const auto pending = m_pendingDownloads.find(request);
    if (pending == m_pendingDownloads.end())
        return; // already answered by the removal
    const PendingDownload download = *pending;
    m_pendingDownloads.erase(pending);
    if (deleted) {
        QMutexLocker locker(&m_filesLock);
        m_files.removeOne(download.file);
    }
    download.delegate->didDownloadFile(download.file.get(), error);
}

void GPhotoDevice::requestThumbnail(const GPhotoFilePtr& file) {
    if (m_removed.load() || !file)
        return;
    m_worker->post([this, file](GPhotoSession& session) {
        const QImage image = fetchPreview(session, *file);
        if (image.isNull())
            return;
        QMetaObject::invokeMethod(
            this, [this, file, image] { finishThumbnail(file, image); }, Qt::QueuedConnection);
    });
}

void GPhotoDevice::finishThumbnail(const GPhotoFilePtr& file, const QImage& image) {
    file->setThumbnail(image);
    if (m_delegate && !m_removed.load())
        m_delegate->didReceiveThumbnailForItem(this, file.get());
}
