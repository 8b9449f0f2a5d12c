// SPDX-License-Identifier: GPL-3.0-or-later
#include "ItemReplacement.h"

#include "FileCopy.h"
#include "FileManagerUtils.h"
#include "FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace {

bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool isRealFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

bool renamePath(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool removeItem(const QString& path) {
    if (isRealFolder(path))
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

// A new, empty hidden folder beside `path`.
QString temporaryFolder(const QString& path) {
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString candidate =
            info.absolutePath() + QStringLiteral("/.") + FileManagerUtils::randomFilename();
        if (QDir().mkdir(candidate))
            return candidate;
    }
    return {};
}

// A hidden name beside `destination` reserved for an item like `source`.
QString stagingName(const QString& source, const QString& destination) {
    if (isRealFolder(source))
        return temporaryFolder(destination);
    const QString name = FileManagerUtils::temporaryFilename(destination);
    // Only a name beside the destination keeps the final rename atomic.
    if (!name.isEmpty() &&
        QFileInfo(name).absolutePath() != QFileInfo(destination).absolutePath()) {
        QFile::remove(name);
        return {};
    }
    return name;
}

bool copyFile(const QString& source, const QString& destination) {
    const QFileInfo info(source);
    if (info.isSymLink()) {
        QFile::remove(destination);
        return QFile::link(info.symLinkTarget(), destination);
    }
    if (!FileCopy::copyContents(source, destination))
        return false;
    QFile::setPermissions(destination, info.permissions());
    FileUtils::setModificationDate(info.lastModified(), destination);
    return true;
}

} // namespace

bool ItemReplacement::copyItem(const QString& source, const QString& destination) {
    return transfer(source, destination, false);
}

bool ItemReplacement::moveItem(const QString& source, const QString& destination) {
    return transfer(source, destination, true);
}

bool ItemReplacement::copyTree(const QString& source, const QString& destination) {
    if (!isRealFolder(source)) {
        if (copyFile(source, destination))
            return true;
        QFile::remove(destination);
        return false;
    }
    if (!QDir().mkdir(destination) && !isRealFolder(destination))
        return false;
    const QFileInfoList entries = QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (!copyTree(entry.filePath(), destination + QLatin1Char('/') + entry.fileName())) {
            QDir(destination).removeRecursively();
            return false;
        }
    }
    QFile::setPermissions(destination, QFileInfo(source).permissions());
    return true;
}

bool ItemReplacement::transfer(const QString& source, const QString& destination, bool move) {
    if (!existsAt(source) || QDir::cleanPath(source) == QDir::cleanPath(destination))
        return false;
    if (isRealFolder(source)) {
        const QString inner = QDir::cleanPath(QFileInfo(destination).absolutePath());
        const QString outer = QDir::cleanPath(source);
        if (inner == outer || inner.startsWith(outer + QLatin1Char('/')))
            return false; // a folder never goes into itself
    }
    // A move on one file system to a free name, or a file over a file.
    if (move && (!existsAt(destination) || (!isRealFolder(source) && !isRealFolder(destination)))) {
        if (renamePath(source, destination))
            return true;
        if (errno != EXDEV)
            return false;
    }

    const QString staged = stagingName(source, destination);
    if (staged.isEmpty())
        return false;
    bool moved = false;
    if (move && renamePath(source, staged)) {
        moved = true;
    } else {
        if (!copyTree(source, staged)) {
            removeItem(staged);
            return false;
        }
    }
    if (!install(staged, destination)) {
        if (moved)
            renamePath(staged, source); // back where it was
        else
            removeItem(staged);
        return false;
    }
    if (move && !moved)
        removeItem(source); // only now that the copy is in place
    return true;
}

bool ItemReplacement::install(const QString& staged, const QString& destination) {
    if (existsAt(destination) && (isRealFolder(staged) || isRealFolder(destination))) {
        // Two kinds of item, or two folders: the old one is kept in the Trash.
        if (!FileUtils::moveItemToTrash(destination))
            return false;
    }
    return renamePath(staged, destination);
}
