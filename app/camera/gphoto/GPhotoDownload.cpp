// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDownload.h"

#include "GPhotoSession.h"
#include "camera/CameraLog.h"
#include "camera/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gphoto2/gphoto2-camera.h>
#include <gphoto2/gphoto2-file.h>
#include <gphoto2/gphoto2-result.h>

#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The size the device reports for the file now, or -1.
qint64 reportedSize(GPhotoSession& session, const QByteArray& folder, const QByteArray& name) {
    CameraFileInfo info{};
    if (gp_camera_file_get_info(session.camera(), folder.constData(), name.constData(), &info,
                                session.context()) < GP_OK ||
        !(info.file.fields & GP_FILE_INFO_SIZE))
        return -1;
    return info.file.size > quint64(std::numeric_limits<qint64>::max()) ? -1
                                                                        : qint64(info.file.size);
}

} // namespace

GPhotoDownload::GPhotoDownload(GPhotoSession& session, const GPhotoFile& file,
                               GPhotoDownloadOptions options)
    : m_session(session)
    , m_file(file)
    , m_options(std::move(options)) {}

std::optional<QString> GPhotoDownload::run(const std::atomic<bool>& abandoned) {
    if (!m_session.isOpen())
        return QStringLiteral("The camera is not open");
    const QDir folder(m_options.downloadsDirectory);
    if (m_options.downloadsDirectory.isEmpty() || !folder.exists())
        return QStringLiteral("The folder \"%1\" does not exist").arg(m_options.downloadsDirectory);

    const QString name =
        m_options.saveAsFilename.isEmpty() ? m_file.name() : m_options.saveAsFilename;
    if (std::optional<QString> error =
            fetch(m_file.name(), folder.absoluteFilePath(name), m_options.overwrite, abandoned))
        return error;

    QStringList arrivedSidecars;
    if (m_options.downloadSidecarFiles) {
        for (const QString& sidecar : m_file.sidecarNames()) {
            // A side file that fails does not undo its picture: it is logged
            // and stays on the device.
            if (std::optional<QString> error =
                    fetch(sidecar, folder.absoluteFilePath(sidecar), true, abandoned))
                qCWarning(lcCamera).noquote() << *error;
            else
                arrivedSidecars.append(sidecar);
        }
    }

    if (m_options.deleteAfterSuccessfulDownload && !abandoned.load()) {
        m_deleted = deleteOnDevice(m_file.name());
        for (const QString& sidecar : std::as_const(arrivedSidecars))
            deleteOnDevice(sidecar);
    }
    return std::nullopt;
}

std::optional<QString> GPhotoDownload::fetch(const QString& name, const QString& destination,
                                             bool overwrite, const std::atomic<bool>& abandoned) {
    const QByteArray devicefolder = m_file.folder().toUtf8();
    const QByteArray deviceName = name.toUtf8();
    const QString source = m_file.folder() + QLatin1Char('/') + name;
    qint64 expected = reportedSize(m_session, devicefolder, deviceName);
    if (expected < 0 && name == m_file.name())
        expected = m_file.fileSize();

    if (!overwrite && QFileInfo::exists(destination))
        return QStringLiteral("\"%1\" already exists").arg(destination);
    StagedFile staged(destination);
    if (!staged.isValid())
        return QStringLiteral("Cannot create a temporary file beside \"%1\"").arg(destination);

    const int fd = ::open(QFile::encodeName(staged.temporaryPath()).constData(),
                          O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("Cannot write \"%1\"").arg(staged.temporaryPath());
    // libgphoto2 closes the descriptor it is given; ours stays open for the
    // flush and the size check.
    const int libraryFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    CameraFile* cameraFile = nullptr;
    int result = libraryFd < 0 ? GP_ERROR_NO_MEMORY : gp_file_new_from_fd(&cameraFile, libraryFd);
    if (result < GP_OK) {
        if (libraryFd >= 0)
            ::close(libraryFd);
        ::close(fd);
        return m_session.describeError(result, QStringLiteral("Cannot download %1").arg(source));
    }
    result =
        gp_camera_file_get(m_session.camera(), devicefolder.constData(), deviceName.constData(),
                           GP_FILE_TYPE_NORMAL, cameraFile, m_session.context());
    gp_file_free(cameraFile);
    if (result < GP_OK) {
        ::close(fd);
        return m_session.describeError(result, QStringLiteral("Cannot download %1").arg(source));
    }

    struct stat status {};
    const bool flushed = ::fsync(fd) == 0 && ::fstat(fd, &status) == 0;
    ::close(fd);
    if (!flushed)
        return QStringLiteral("Cannot write \"%1\"").arg(staged.temporaryPath());
    const qint64 arrived = qint64(status.st_size);
    if (arrived == 0 || (expected >= 0 && arrived != expected))
        return QStringLiteral("%1 arrived with %2 of %3 bytes")
            .arg(source)
            .arg(arrived)
            .arg(expected);

    if (abandoned.load())
        return QStringLiteral("The download of %1 was given up").arg(source);
    if (!staged.publish(overwrite))
        return QStringLiteral("Cannot put \"%1\" in place").arg(destination);
    StagedFile::syncFolderOf(destination);
    return std::nullopt;
}

bool GPhotoDownload::deleteOnDevice(const QString& name) {
    const QByteArray folder = m_file.folder().toUtf8();
    const QByteArray deviceName = name.toUtf8();
    const int result = gp_camera_file_delete(m_session.camera(), folder.constData(),
                                             deviceName.constData(), m_session.context());
    // The copy is safe; a file that stays on the camera is no loss.
    if (result < GP_OK) {
        qCWarning(lcCamera).noquote() << m_session.describeError(
            result, QStringLiteral("Cannot delete %1/%2 on the camera").arg(m_file.folder(), name));
        return false;
    }
    return true;
}
