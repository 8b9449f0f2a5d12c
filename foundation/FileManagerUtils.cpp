// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileManagerUtils.h"

#include "StringUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString processName() {
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("pixhaul");
    return name;
}

// Creates a new file in `folder` under a fresh name and opens it; the
// descriptor, or -1 when the folder takes none.
int openIn(const QString& folder, const QString& prefix, const QString& extension,
           QString* created) {
    // A fresh UUID per attempt; a clash is practically impossible, but the
    // exclusive create makes even that safe.
    for (int attempt = 0; attempt < 8; ++attempt) {
        QString name = folder + QLatin1Char('/') + prefix + FileManagerUtils::randomFilename();
        if (!extension.isEmpty())
            name += QLatin1Char('.') + extension;
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *created = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

QString createIn(const QString& folder, const QString& prefix, const QString& extension) {
    QString name;
    const int fd = openIn(folder, prefix, extension, &name);
    if (fd < 0)
        return {};
    ::close(fd);
    return name;
}

} // namespace

QString FileManagerUtils::temporaryDirectoryOnSameVolumeThan(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return {};
    return folder.absoluteFilePath();
}

QString FileManagerUtils::randomFilename() {
    return processName() + QLatin1Char('-') + StringUtils::UUIDString();
}

QString FileManagerUtils::temporaryFilename() {
    return createIn(QDir::tempPath(), QString(), QString());
}

QString FileManagerUtils::temporaryFilename(const QString& path) {
    const QString extension = QFileInfo(path).suffix();
    const QString folder = temporaryDirectoryOnSameVolumeThan(path);
    if (!folder.isEmpty()) {
        // Hidden, so a folder listing or a browser never shows it.
        const QString name = createIn(folder, QStringLiteral("."), extension);
        if (!name.isEmpty())
            return name;
    }
    return createIn(QDir::tempPath(), QString(), extension);
}

int FileManagerUtils::openTemporaryBeside(const QString& path, QString* name) {
    const QFileInfo info(path);
    // Hidden, so a folder listing or a browser never shows it.
    return openIn(info.absolutePath(), QStringLiteral("."), info.suffix(), name);
}

bool FileManagerUtils::isHiddenTemporaryFilename(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\.%1-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}(\\.[^.]*)?$")
            .arg(QRegularExpression::escape(processName())));
    return pattern.match(name).hasMatch();
}
