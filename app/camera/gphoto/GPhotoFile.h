// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class GPhotoDevice;

// One picture or movie in a device's catalogue. Its properties are fixed
// when the catalogue is read, so any thread may read them; the thumbnail is
// filled in later on the main thread and guarded by a lock.
class GPhotoFile : public std::enable_shared_from_this<GPhotoFile> {
public:
    GPhotoFile(QString folder, QString name, qint64 fileSize, QDateTime modificationDate,
               QString mimeType, QStringList sidecarNames);

    // The folder on the device ("/DCIM/100CANON") and the file's name in it.
    QString folder() const { return m_folder; }
    QString name() const { return m_name; }
    // Bytes, as the device reports them; -1 when it does not say.
    qint64 fileSize() const { return m_fileSize; }
    // libgphoto2 knows one time stamp per file: when it was written on the
    // camera, which for a picture is when it was taken. Null when unknown.
    QDateTime creationDate() const { return m_modificationDate; }
    QDateTime modificationDate() const { return m_modificationDate; }
    QString mimeType() const { return m_mimeType; }
    // Files of the same base name beside this one that belong to it
    // (".THM", ".XMP", ".WAV"), downloaded with it on request.
    QStringList sidecarNames() const { return m_sidecarNames; }

    // The device this file belongs to, or null once the device is gone.
    std::shared_ptr<GPhotoDevice> device() const { return m_device.lock(); }

    // The thumbnail when the device has delivered it, else a null image. The
    // first call asks the device for it in the background; the device's
    // delegate hears didReceiveThumbnailForItem() when it arrives. Any thread.
    QImage thumbnailIfAvailable();

    // Called by the device (main thread).
    void setDevice(std::weak_ptr<GPhotoDevice> device) { m_device = std::move(device); }
    void setThumbnail(const QImage& image);

private:
    const QString m_folder;
    const QString m_name;
    const qint64 m_fileSize;
    const QDateTime m_modificationDate;
    const QString m_mimeType;
    const QStringList m_sidecarNames;
    std::weak_ptr<GPhotoDevice> m_device;
    std::atomic<bool> m_thumbnailRequested{false};
    mutable QMutex m_thumbnailLock;
    QImage m_thumbnail;
};

using GPhotoFilePtr = std::shared_ptr<GPhotoFile>;
