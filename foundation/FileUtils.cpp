// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileUtils.h"

#include "FileCopy.h"
#include "FileManagerUtils.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool mimeConforms(const QMimeType& type, const QString& wanted) {
    if (!type.isValid())
        return false;
    if (wanted.endsWith(QLatin1String("/*"))) {
        const QString mediaClass = wanted.left(wanted.size() - 1); // "image/"
        if (type.name().startsWith(mediaClass))
            return true;
        const QStringList ancestors = type.allAncestors();
        return std::any_of(ancestors.begin(), ancestors.end(),
                           [&](const QString& a) { return a.startsWith(mediaClass); });
    }
    return type.inherits(wanted);
}

QDateTime fromTimespec(qint64 seconds, qint64 nanoseconds) {
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1000000);
}

bool setFileTime(const QString& path, const QDateTime& date) {
    if (!date.isValid())
        return false;
    const qint64 ms = date.toMSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT; // leave the access time alone
    times[1].tv_sec = static_cast<time_t>(ms / 1000);
    times[1].tv_nsec = static_cast<long>((ms % 1000) * 1000000);
    if (ms < 0 && times[1].tv_nsec != 0) {
        times[1].tv_sec -= 1;
        times[1].tv_nsec += 1000000000L;
    }
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// QFile::moveToTrash falls back to odd places when the home trash is
// missing; create it first so a file always lands in the user's Trash.
bool ensureHomeTrash() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return false;
    const QString trash = dataHome + QLatin1String("/Trash");
    QDir dir;
    return dir.mkpath(trash + QLatin1String("/files")) &&
           dir.mkpath(trash + QLatin1String("/info"));
}

} // namespace

const QStringList& FileUtils::imageExtensions() {
    static const QStringList list =
        QStringList{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
                    QStringLiteral("gif"), QStringLiteral("tif"),  QStringLiteral("tiff")} +
        rawExtensions() + heifExtensions();
    return list;
}

const QStringList& FileUtils::rawExtensions() {
    static const QStringList list = [] {
        QStringList names;
        for (const char* name :
             {"3fr", "ari", "arw", "bay", "cap", "cr2", "cr3", "crw", "dcr", "dcs",
              "dng", "drf", "eip", "erf", "fff", "iiq", "k25", "kdc", "mdc", "mef",
              "mos", "mrw", "nef", "nrw", "orf", "pef", "ptx", "pxn", "r3d", "raf",
              "raw", "rw2", "rwl", "rwz", "sr2", "srf", "srw", "sti", "x3f"})
            names.append(QLatin1String(name));
        return names;
    }();
    return list;
}

const QStringList& FileUtils::heifExtensions() {
    static const QStringList list{QStringLiteral("heic"), QStringLiteral("heif"),
                                  QStringLiteral("hif")};
    return list;
}

const QStringList& FileUtils::videoExtensions() {
    static const QStringList list{QStringLiteral("mov"),  QStringLiteral("mp4"),
                                  QStringLiteral("avi"),  QStringLiteral("mkv"),
                                  QStringLiteral("divx"), QStringLiteral("ts"),
                                  QStringLiteral("mts"),  QStringLiteral("m2ts")};
    return list;
}

const QStringList& FileUtils::jpegExtensions() {
    static const QStringList list{QStringLiteral("jpg"), QStringLiteral("jpeg")};
    return list;
}

const QStringList& FileUtils::pngExtensions() {
    static const QStringList list{QStringLiteral("png")};
    return list;
}

bool FileUtils::isFile(const QString& path, const QString& mimeType,
                       const QStringList& extensions) {
    const QFileInfo info(path);
    if (info.exists() && info.isFile()) {
        static const QMimeDatabase database; // thread-safe, shared
        if (mimeConforms(database.mimeTypeForFile(info), mimeType))
            return true;
    }
    return extensions.contains(info.suffix().toLower());
}

bool FileUtils::isImageFile(const QString& path) {
    return isFile(path, QStringLiteral("image/*"), imageExtensions());
}

bool FileUtils::isVideoFile(const QString& path) {
    return isFile(path, QStringLiteral("video/*"), videoExtensions());
}

QIcon FileUtils::getIcon(const QString& path) {
    static QMutex cacheLock;
    static QHash<QString, QIcon> iconCache;

    const QFileInfo info(path);
    const QString key = (info.exists() && !info.isDir()) ? info.suffix() : path;

    QMutexLocker locker(&cacheLock);
    const auto found = iconCache.constFind(key);
    if (found != iconCache.constEnd())
        return *found;
    static const QAbstractFileIconProvider provider;
    QIcon icon = provider.icon(info);
    if (icon.isNull())
        icon = provider.icon(info.isDir() ? QAbstractFileIconProvider::Folder
                                          : QAbstractFileIconProvider::File);
    iconCache.insert(key, icon);
    return icon;
}

bool FileUtils::moveItemToTrash(const QString& path, QString* pathInTrash) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return false;
    if (!ensureHomeTrash())
        return false;
    return QFile::moveToTrash(path, pathInTrash);
}

QDateTime FileUtils::getCreationDateForFile(const QString& path) {
    struct statx st {};
    if (statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_BTIME | STATX_MTIME, &st) !=
        0)
        return {};
    if ((st.stx_mask & STATX_BTIME) && (st.stx_btime.tv_sec != 0 || st.stx_btime.tv_nsec != 0))
        return fromTimespec(st.stx_btime.tv_sec, st.stx_btime.tv_nsec);
    return fromTimespec(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
}

QDateTime FileUtils::getModificationDateForFile(const QString& path) {
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return fromTimespec(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

void FileUtils::setCreationDate(const QDateTime&, const QString&) {
    // Linux file systems keep the birth time to themselves.
}

void FileUtils::setModificationDate(const QDateTime& date, const QString& path) {
    setFileTime(path, date);
}

bool FileUtils::replaceFile(const QString& target, const QString& replacement, bool isTemporary) {
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray replacementName = QFile::encodeName(replacement);
    struct stat targetStat {};
    struct stat replacementStat {};
    bool replaced = false;
    if (lstat(targetName.constData(), &targetStat) == 0 && !S_ISDIR(targetStat.st_mode) &&
        lstat(replacementName.constData(), &replacementStat) == 0 &&
        S_ISREG(replacementStat.st_mode)) {
        // rename() swaps the name over atomically: the target is never missing.
        if (::rename(replacementName.constData(), targetName.constData()) == 0) {
            replaced = true;
        } else if (errno == EXDEV) {
            // Another file system: copy beside the target first, then rename.
            const QString parked = FileManagerUtils::temporaryFilename(target);
            if (!parked.isEmpty()) {
                const QByteArray parkedName = QFile::encodeName(parked);
                if (FileCopy::copyContents(replacement, parked) &&
                    ::rename(parkedName.constData(), targetName.constData()) == 0) {
                    replaced = true;
                    ::unlink(replacementName.constData());
                } else {
                    ::unlink(parkedName.constData());
                }
            }
        }
    }
    if (!replaced && isTemporary)
        ::unlink(replacementName.constData());
    return replaced;
}

bool FileUtils::replaceFileContents(const QString& target, const QByteArray& contents) {
    const QString temporary = FileManagerUtils::temporaryFilename(target);
    if (temporary.isEmpty())
        return false;
    if (!FileCopy::writeContents(temporary, contents)) {
        ::unlink(QFile::encodeName(temporary).constData());
        return false;
    }
    return replaceFile(target, temporary, true);
}
