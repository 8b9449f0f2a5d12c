// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDrive.h"

#include "Exif.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int exifTagMake = 271;
constexpr int exifTagModel = 272;

bool isDirectory(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct Entry {
    QByteArray name;
    bool directory;
};

// The visible entries of one folder, sorted by name. The entry type comes
// from the directory itself where the file system provides it, so a scan
// of thousands of files needs no stat per file.
bool readFolder(const QByteArray& folder, std::vector<Entry>& entries) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    while (const dirent* item = ::readdir(dir)) {
        if (item->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        bool directory = item->d_type == DT_DIR;
        if (item->d_type == DT_UNKNOWN) {
            struct stat st {};
            const QByteArray full = folder + '/' + item->d_name;
            directory = ::lstat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({QByteArray(item->d_name), directory});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return true;
}

} // namespace

CameraDrive::CameraDrive(const QString& path)
    : m_drivePath(path) {
    const QString pictures = QStringLiteral("%1/DCIM").arg(path);
    if (isDirectory(pictures))
        m_pictureRoot = pictures;
    for (const QString& name : {QStringLiteral("PRIVATE")}) {
        const QString movies = QStringLiteral("%1/%2").arg(path, name);
        if (isDirectory(movies)) {
            m_movieRoot = movies;
            break;
        }
    }
}

bool CameraDrive::isDefined() const {
    return !m_pictureRoot.isEmpty() || !m_movieRoot.isEmpty();
}

QString CameraDrive::title() {
    if (!m_cachedTitle.isEmpty())
        return m_cachedTitle;
    const QList<CameraFilePtr> first = getFilesButImagesOnly(true, true);
    if (first.isEmpty())
        return {};
    const auto* file = static_cast<const CameraDriveFile*>(first.first().get());
    const Exif exif(file->path());
    const QString make = exif.getTagValue(exifTagMake);
    const QString model = exif.getTagValue(exifTagModel);
    if (!make.isEmpty() && !model.isEmpty())
        m_cachedTitle = model.startsWith(make) ? model : QStringLiteral("%1 %2").arg(make, model);
    else if (!make.isEmpty())
        m_cachedTitle = make;
    else if (!model.isEmpty())
        m_cachedTitle = model;
    else
        m_cachedTitle = QFileInfo(m_drivePath).fileName();
    return m_cachedTitle;
}

QList<CameraFilePtr> CameraDrive::getFilesButImagesOnly(bool imagesOnly, bool stopAtFirst) {
    QList<CameraFilePtr> files = scan(m_pictureRoot, stopAtFirst, true, {});
    if ((stopAtFirst && !files.isEmpty()) || imagesOnly)
        return files;
    files += scan(m_movieRoot, stopAtFirst, false, &CameraDrive::hasMovieExtension);
    return files;
}

const QStringList& CameraDrive::movieExtensions() {
    static const QStringList extensions{QStringLiteral("avi"), QStringLiteral("ts"),
                                        QStringLiteral("mts"), QStringLiteral("m2ts"),
                                        QStringLiteral("mov"), QStringLiteral("mp4")};
    return extensions;
}

bool CameraDrive::hasMovieExtension(const QString& path) {
    return movieExtensions().contains(QFileInfo(path).suffix().toLower());
}

QList<CameraFilePtr> CameraDrive::scanFolderRecursive(const QString& folder, bool stopAtFirst,
                                                      bool filesAreMoveable) {
    return scan(folder, stopAtFirst, filesAreMoveable, {});
}

QList<CameraFilePtr> CameraDrive::scan(const QString& folder, bool stopAtFirst, bool moveable,
                                       const Filter& accept) {
    QList<CameraFilePtr> found;
    if (!folder.isEmpty())
        scanInto(QDir::cleanPath(folder), stopAtFirst, moveable, accept, found);
    return found;
}

// Returns false once the scan should stop (the first file was found).
bool CameraDrive::scanInto(const QString& folder, bool stopAtFirst, bool moveable,
                           const Filter& accept, QList<CameraFilePtr>& found) {
    std::vector<Entry> entries;
    if (!readFolder(QFile::encodeName(folder), entries))
        return true;
    for (const Entry& entry : entries) {
        const QString path = folder + QLatin1Char('/') + QFile::decodeName(entry.name);
        if (entry.directory) {
            if (!scanInto(path, stopAtFirst, moveable, accept, found))
                return false;
            continue;
        }
        if (accept && !accept(path))
            continue;
        found.append(std::make_shared<CameraDriveFile>(path, moveable));
        if (stopAtFirst)
            return false;
    }
    return true;
}
