// SPDX-License-Identifier: GPL-3.0-or-later
#include "DropOperation.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString resolved(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

} // namespace

DropOperation::DropOperation(quint64 operation)
    : m_operation(operation) {}

DropOperation DropOperation::plan(const QStringList& sources, const QString& folder,
                                  quint64 operation) {
    DropOperation drop(operation);
    for (const QString& source : sources) {
        const QString cleaned = QDir::cleanPath(source);
        const QString destination =
            QDir::cleanPath(folder + QLatin1Char('/') + QFileInfo(cleaned).fileName());
        if (destination == cleaned)
            continue; // already there
        const QFileInfo info(cleaned);
        if (info.isDir() && !info.isSymLink() && isInside(folder, cleaned)) {
            drop.m_refused.append(cleaned);
            continue;
        }
        drop.m_targets.append({cleaned, destination});
        const QFileInfo existing(destination);
        if (existing.exists() || existing.isSymLink())
            drop.m_conflicts.append(destination);
    }
    return drop;
}

QStringList DropOperation::sources() const {
    QStringList paths;
    for (const auto& target : m_targets)
        paths.append(target.first);
    return paths;
}

QString DropOperation::destinationFor(const QString& source) const {
    for (const auto& target : m_targets) {
        if (target.first == source)
            return target.second;
    }
    return {};
}

bool DropOperation::isInside(const QString& folder, const QString& source) {
    const QString inner = resolved(folder);
    const QString outer = resolved(source);
    return inner == outer || inner.startsWith(outer + QLatin1Char('/')) ||
           outer == QLatin1String("/");
}
