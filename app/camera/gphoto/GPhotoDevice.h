// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoDeviceInfo.h"
#include "GPhotoDownloadOptions.h"
#include "GPhotoFile.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class GPhotoDeviceDelegate;
class GPhotoDownloadDelegate;
class GPhotoWorker;

// One camera reached through libgphoto2. Every libgphoto2 call runs on the
// camera's own worker thread; the delegates hear of results on the main
// thread. Made with create() on the main thread, which the device lives in;
// the last owner may let go of it on any thread.
class GPhotoDevice : public QObject, public std::enable_shared_from_this<GPhotoDevice> {
    Q_OBJECT
public:
    static std::shared_ptr<GPhotoDevice> create(const GPhotoDeviceInfo& info);
    ~GPhotoDevice() override;

    // Any thread.
    GPhotoDeviceInfo info() const { return m_info; }
    // The display name: the camera's model.
    QString name() const { return m_info.model; }
    bool isReady() const { return m_ready.load(); }
    bool isRemoved() const { return m_removed.load(); }
    // The pictures and movies in the device's order; complete once ready,
    // empty before. A file moved off the device leaves the list.
    QList<GPhotoFilePtr> mediaFiles() const;

    // Main thread.
    void setDelegate(GPhotoDeviceDelegate* delegate) { m_delegate = delegate; }
    GPhotoDeviceDelegate* delegate() const { return m_delegate; }
    // Opens the session and reads the catalogue on the worker; the delegate
    // then hears didOpenSessionWithError() and, on success,
    // deviceDidBecomeReady().
    void requestOpenSession();
    // The camera has gone: pending downloads end with didRemoveDevice(),
    // nothing more is put in place, and the delegate hears didRemoveDevice().
    void deviceWasRemoved();

    // Any thread. `delegate` hears exactly one of its calls on the main
    // thread, also when the device goes away meanwhile.
    void requestDownloadFile(const GPhotoFilePtr& file, const GPhotoDownloadOptions& options,
                             GPhotoDownloadDelegate* delegate);
    // Any thread; GPhotoFile::thumbnailIfAvailable() asks this once per file.
    void requestThumbnail(const GPhotoFilePtr& file);

signals:
    // The same news as the delegate's, for callers that wait in an event loop.
    void becameReady();
    void openFailed(const QString& error);

private:
    explicit GPhotoDevice(const GPhotoDeviceInfo& info);

    void finishOpen(const QString& error, const QList<GPhotoFilePtr>& files);
    void startDownload(const GPhotoFilePtr& file, const GPhotoDownloadOptions& options,
                       GPhotoDownloadDelegate* delegate);
    void finishDownload(quint64 request, const std::optional<QString>& error, bool deleted);
    void finishThumbnail(const GPhotoFilePtr& file, const QImage& image);
    void abandonPendingDownloads();

    struct PendingDownload {
        GPhotoFilePtr file;
        GPhotoDownloadDelegate* delegate = nullptr;
    };

    const GPhotoDeviceInfo m_info;
    std::unique_ptr<GPhotoWorker> m_worker;
    GPhotoDeviceDelegate* m_delegate = nullptr;
    QHash<quint64, PendingDownload> m_pendingDownloads; // main thread
    quint64 m_nextRequest = 1;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_removed{false};
    mutable QMutex m_filesLock;
    QList<GPhotoFilePtr> m_files;
};
