// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileManagerUtils.h"

#include "StringUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString processName() {
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("pixhaul");
    return name;
}

// Creates `path` exclusively; false when it exists or cannot be made.
bool createExclusively(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

QString createIn(const QString& folder, const QString& prefix, const QString& extension) {
    // A fresh UUID per attempt; a clash is practically impossible, but the
    // exclusive create makes even that safe.
    for (int attempt = 0; attempt < 8; ++attempt) {
        QString name = folder + QLatin1Char('/') + prefix + FileManagerUtils::randomFilename();
        if (!extension.isEmpty())
            name += QLatin1Char('.') + extension;
        if (createExclusively(name))
            return name;
    }
    return {};
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

bool FileManagerUtils::isHiddenTemporaryFilename(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\.%1-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}(\\.[^.]*)?$")
            .arg(QRegularExpression::escape(processName())));
    return pattern.match(name).hasMatch();
}
