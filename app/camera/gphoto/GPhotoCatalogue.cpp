// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoCatalogue.h"

#include "FileUtils.h"
#include "GPhotoSession.h"
#include "camera/CameraLog.h"

#include <QFileInfo>

#include <gphoto2/gphoto2-camera.h>
#include <gphoto2/gphoto2-list.h>
#include <gphoto2/gphoto2-result.h>

#include <limits>

namespace {

struct Entry {
    QString name;
    qint64 size = -1;
    QDateTime modified;
    QString mimeType;
    bool isMedia = false;
};

// The names of a CameraList, in its order; false when listing failed.
bool listNames(GPhotoSession& session, const QString& folder, bool folders, QStringList& names,
               int& result) {
    CameraList* list = nullptr;
    gp_list_new(&list);
    const QByteArray path = folder.toUtf8();
    result = folders ? gp_camera_folder_list_folders(session.camera(), path.constData(), list,
                                                     session.context())
                     : gp_camera_folder_list_files(session.camera(), path.constData(), list,
                                                   session.context());
    if (result >= GP_OK) {
        const int count = gp_list_count(list);
        for (int index = 0; index < count; ++index) {
            const char* name = nullptr;
            if (gp_list_get_name(list, index, &name) >= GP_OK && name)
                names.append(QString::fromUtf8(name));
        }
    }
    gp_list_free(list);
    return result >= GP_OK;
}

Entry readEntry(GPhotoSession& session, const QString& folder, const QString& name) {
    Entry entry;
    entry.name = name;
    CameraFileInfo info{};
    const QByteArray folderPath = folder.toUtf8();
    const QByteArray fileName = name.toUtf8();
    if (gp_camera_file_get_info(session.camera(), folderPath.constData(), fileName.constData(),
                                &info, session.context()) >= GP_OK) {
        if (info.file.fields & GP_FILE_INFO_SIZE)
            entry.size = info.file.size > quint64(std::numeric_limits<qint64>::max())
                             ? std::numeric_limits<qint64>::max()
                             : qint64(info.file.size);
        if ((info.file.fields & GP_FILE_INFO_MTIME) && info.file.mtime > 0)
            entry.modified = QDateTime::fromSecsSinceEpoch(qint64(info.file.mtime));
        if (info.file.fields & GP_FILE_INFO_TYPE)
            entry.mimeType = QString::fromUtf8(info.file.type);
    }
    const bool mediaType = entry.mimeType.startsWith(QLatin1String("image/")) ||
                           entry.mimeType.startsWith(QLatin1String("video/"));
    entry.isMedia = mediaType || FileUtils::isImageFile(name) || FileUtils::isVideoFile(name);
    return entry;
}

QString baseNameKey(const QString& name) {
    return QFileInfo(name).completeBaseName().toLower();
}

void appendFolderFiles(const QString& folder, const QList<Entry>& entries,
                       QList<GPhotoFilePtr>& files) {
    // A side file belongs to the first picture or movie of its base name.
    auto isMain = [](const Entry& entry) {
        return entry.isMedia && !GPhotoCatalogue::isSidecarName(entry.name);
    };
    QHash<QString, QStringList> sidecars;
    QHash<QString, bool> hasMain;
    for (const Entry& entry : entries) {
        if (isMain(entry))
            hasMain.insert(baseNameKey(entry.name), true);
    }
    for (const Entry& entry : entries) {
        if (!isMain(entry) && hasMain.contains(baseNameKey(entry.name)))
            sidecars[baseNameKey(entry.name)].append(entry.name);
    }
    for (const Entry& entry : entries) {
        const QString key = baseNameKey(entry.name);
        if (isMain(entry)) {
            files.append(std::make_shared<GPhotoFile>(folder, entry.name, entry.size,
                                                      entry.modified, entry.mimeType,
                                                      sidecars.take(key)));
        } else if (entry.isMedia && !hasMain.contains(key)) {
            // A lone ".THM" is still a picture.
            files.append(std::make_shared<GPhotoFile>(
                folder, entry.name, entry.size, entry.modified, entry.mimeType, QStringList()));
        }
    }
}

QString childPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

void readFolder(GPhotoSession& session, const QString& folder, QList<GPhotoFilePtr>& files,
                int depth) {
    // Cameras nest a few levels; a deeper tree is a loop or a broken device.
    if (depth > 32)
        return;
    int result = GP_OK;
    QStringList names;
    if (listNames(session, folder, false, names, result)) {
        QList<Entry> entries;
        for (const QString& name : std::as_const(names))
            entries.append(readEntry(session, folder, name));
        appendFolderFiles(folder, entries, files);
    } else {
        qCWarning(lcCamera).noquote()
            << session.describeError(result, QStringLiteral("Cannot list %1").arg(folder));
    }
    QStringList folders;
    if (listNames(session, folder, true, folders, result)) {
        for (const QString& name : std::as_const(folders))
            readFolder(session, childPath(folder, name), files, depth + 1);
    }
}

} // namespace

bool GPhotoCatalogue::read(GPhotoSession& session, QList<GPhotoFilePtr>& files, QString& error) {
    files.clear();
    const QString root = QStringLiteral("/");
    QStringList probe;
    int result = GP_OK;
    if (!listNames(session, root, true, probe, result)) {
        error = session.describeError(result, QStringLiteral("Cannot list the camera's folders"));
        return false;
    }
    readFolder(session, root, files, 0);
    return true;
}

bool GPhotoCatalogue::isSidecarName(const QString& name) {
    static const QStringList extensions = {QStringLiteral("thm"), QStringLiteral("xmp"),
                                           QStringLiteral("wav"), QStringLiteral("aae")};
    return extensions.contains(QFileInfo(name).suffix().toLower());
}
