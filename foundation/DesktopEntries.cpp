// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString kDesktopSuffix = QStringLiteral(".desktop");

// Key/value pairs of one [group] of a desktop-style file, in file order.
QList<std::pair<QString, QString>> readGroup(const QString& path, const QString& group) {
    QList<std::pair<QString, QString>> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    QTextStream in(&file);
    bool inGroup = false;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0)
            entries.append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
    return entries;
}

QStringList splitList(const QString& value) {
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QString normalisedId(const QString& desktopId) {
    return desktopId.endsWith(kDesktopSuffix) ? desktopId : desktopId + kDesktopSuffix;
}

// "$desktop-mimeapps.list" names for each desktop of XDG_CURRENT_DESKTOP,
// then "mimeapps.list".
QStringList mimeAppsNames() {
    QStringList names;
    const QString desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QString& desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        names << desktop.toLower() + QStringLiteral("-mimeapps.list");
    names << QStringLiteral("mimeapps.list");
    return names;
}

QStringList mimeAppsFiles() {
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders << DesktopEntries::applicationDirectories();
    QStringList files;
    for (const QString& folder : folders)
        for (const QString& name : mimeAppsNames())
            files << folder + QLatin1Char('/') + name;
    return files;
}

} // namespace

QStringList DesktopEntries::applicationDirectories() {
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

QString DesktopEntries::value(const QString& desktopEntryPath, const QString& key) {
    for (const auto& [name, text] : readGroup(desktopEntryPath, QStringLiteral("Desktop Entry")))
        if (name == key)
            return text;
    return {};
}

QString DesktopEntries::pathForDesktopId(const QString& desktopId) {
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')))
        return {};
    const QString id = normalisedId(desktopId);
    for (const QString& folder : applicationDirectories()) {
        QString found;
        const QString direct = folder + QLatin1Char('/') + id;
        if (QFileInfo(direct).isFile()) {
            found = direct;
        } else if (id.contains(QLatin1Char('-'))) {
            // Entries in sub-folders have ids with '-' for each '/'.
            QDirIterator entries(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                                 QDirIterator::Subdirectories);
            const QDir root(folder);
            while (entries.hasNext() && found.isEmpty()) {
                const QString path = entries.next();
                if (root.relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('-')) == id)
                    found = path;
            }
        }
        if (!found.isEmpty()) {
            // The first entry met decides, also when it hides the others.
            if (value(found, QStringLiteral("Hidden")) == QLatin1String("true"))
                return {};
            return found;
        }
    }
    return {};
}

QString DesktopEntries::defaultForExactType(const QString& mimeType) {
    const QStringList files = mimeAppsFiles();
    // Explicit defaults first, in file order; then added associations.
    for (const QString& group :
         {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")}) {
        for (const QString& file : files) {
            for (const auto& [type, ids] : readGroup(file, group)) {
                if (type != mimeType)
                    continue;
                for (const QString& id : splitList(ids))
                    if (!pathForDesktopId(id).isEmpty())
                        return normalisedId(id);
            }
        }
    }
    // Then any installed application that declares the type.
    for (const QString& folder : applicationDirectories()) {
        const QString cache = folder + QStringLiteral("/mimeinfo.cache");
        for (const auto& [type, ids] : readGroup(cache, QStringLiteral("MIME Cache"))) {
            if (type != mimeType)
                continue;
            for (const QString& id : splitList(ids))
                if (!pathForDesktopId(id).isEmpty())
                    return normalisedId(id);
        }
    }
    return {};
}

QString DesktopEntries::defaultDesktopIdForMimeType(const QString& mimeType) {
    if (mimeType.isEmpty())
        return {};
    QStringList candidates{mimeType};
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid())
        candidates << type.allAncestors();
    for (const QString& candidate : candidates) {
        const QString id = defaultForExactType(candidate);
        if (!id.isEmpty())
            return id;
    }
    return {};
}
