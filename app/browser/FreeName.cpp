// SPDX-License-Identifier: GPL-3.0-or-later
#include "FreeName.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace FreeName {

namespace {

QString lastComponent(const QString& path) {
    QString cleaned = QDir::cleanPath(path);
    return cleaned.mid(cleaned.lastIndexOf(QLatin1Char('/')) + 1);
}

bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString joined(const QString& folder, const QString& name) {
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

} // namespace

QString pathExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == fileName.size() - 1)
        return {};
    return fileName.mid(dot + 1);
}

QString baseName(const QString& fileName) {
    const QString extension = pathExtension(fileName);
    return extension.isEmpty() ? fileName : fileName.left(fileName.size() - extension.size() - 1);
}

QString pasteDestination(const QString& folder, const QString& sourcePath) {
    const QString name = lastComponent(sourcePath);
    QString destination = joined(folder, name);
    if (!existsAt(destination))
        return destination;

    const QString extension = pathExtension(name);
    const QString base = baseName(name);
    QStringList words = base.split(QLatin1Char(' '));
    QString stem = base;
    qlonglong counter = 2;
    if (words.size() > 1) {
        bool whole = false;
        const qlonglong last = words.constLast().toLongLong(&whole);
        if (whole) {
            words.removeLast();
            stem = words.join(QLatin1Char(' '));
            counter = last + 1;
        }
    }
    do {
        QString candidate = stem + QLatin1Char(' ') + QString::number(counter);
        if (!extension.isEmpty())
            candidate += QLatin1Char('.') + extension;
        destination = joined(folder, candidate);
        ++counter;
    } while (existsAt(destination));
    return destination;
}

} // namespace FreeName
