// SPDX-License-Identifier: GPL-3.0-or-later
#include "DestinationNames.h"

#include "camera/StagedFile.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <dirent.h>

namespace {

// The folder part and the name of a path, split at its last slash.
std::pair<QString, QString> split(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QStringLiteral("."), path};
    return {slash == 0 ? QStringLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

} // namespace

void DestinationNames::visit(const QString& path) {
    const QString folder = split(path).first;
    if (m_namesByFolder.contains(folder))
        return;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    // A folder that is there but cannot be listed stays unknown: its names
    // are looked up one by one.
    if (!listing && errno != ENOENT)
        return;
    QStringList names;
    while (const dirent* entry = listing ? ::readdir(listing) : nullptr) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    if (listing)
        ::closedir(listing);
    StagedFile::removeAbandonedAmong(folder, names);
    QSet<QString>& known = m_namesByFolder[folder];
    known.reserve(names.size());
    for (const QString& name : std::as_const(names))
        known.insert(name.toCaseFolded());
}

bool DestinationNames::mayBeTaken(const QString& path) const {
    const auto [folder, name] = split(path);
    const auto known = m_namesByFolder.constFind(folder);
    // Outside the visited folders nothing is known.
    return known == m_namesByFolder.cend() || known->contains(name.toCaseFolded());
}

void DestinationNames::add(const QString& path) {
    const auto [folder, name] = split(path);
    const auto known = m_namesByFolder.find(folder);
    if (known != m_namesByFolder.end())
        known->insert(name.toCaseFolded());
}
