// SPDX-License-Identifier: GPL-3.0-or-later
#include "SourceListItem.h"

#include "FileUtils.h"
#include "Localization.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/stat.h>

namespace {

// A folder on another device than its parent (or "/") is a volume's root.
bool isMountPoint(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("/"))
        return true;
    struct stat own {};
    struct stat parent {};
    const QString parentPath = QFileInfo(clean).path();
    return ::stat(QFile::encodeName(clean).constData(), &own) == 0 &&
           ::stat(QFile::encodeName(parentPath).constData(), &parent) == 0 &&
           own.st_dev != parent.st_dev;
}

QString displayName(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("/")) {
        const QString label = QStorageInfo(clean).name();
        return label.isEmpty() ? clean : label;
    }
    return QFileInfo(clean).fileName();
}

} // namespace

SourceListItem::SourceListItem(const QString& title, const QString& path, const QIcon& icon)
    : m_title(title)
    , m_path(path)
    , m_icon(icon) {}

SourceListItemPtr SourceListItem::itemWithTitle(const QString& title, const QString& path,
                                                const QIcon& icon) {
    return SourceListItemPtr(new SourceListItem(title, path, icon));
}

SourceListItemPtr SourceListItem::sourceListItemForPath(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return nullptr;
    // Names the catalogue knows (the standard folders) show translated.
    const QString name = displayName(path);
    const QString title = Localization::localizedString(name.toUtf8().constData());
    const QIcon folderIcon = FileUtils::getIcon(path);
    const QIcon icon = isMountPoint(path)
                           ? QIcon::fromTheme(QStringLiteral("drive-harddisk"), folderIcon)
                           : folderIcon;
    return itemWithTitle(title, path, icon);
}

const std::vector<SourceListItemPtr>& SourceListItem::children() const {
    static const std::vector<SourceListItemPtr> none;
    return m_children ? *m_children : none;
}

int SourceListItem::indexOfChild(const SourceListItem* child) const {
    const std::vector<SourceListItemPtr>& list = children();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == child)
            return static_cast<int>(i);
    }
    return -1;
}

void SourceListItem::initChildren() {
    m_children.emplace();
}

void SourceListItem::clearChildren() {
    m_children.reset();
}

void SourceListItem::addChild(const SourceListItemPtr& child) {
    if (!child)
        return;
    if (!m_children)
        m_children.emplace();
    child->m_parent = this;
    m_children->push_back(child);
}

bool SourceListItem::hasChildren() const {
    return !m_children || !m_children->empty();
}

bool SourceListItem::checkChildren() {
    if (isGroupHeader() || m_children)
        return false;
    initChildren();
    for (const QString& path : subfolderPaths(m_path))
        addChild(sourceListItemForPath(path));
    return true;
}

QStringList SourceListItem::subfolderPaths(const QString& folder) {
    // Directory order, as the file system gives it. Linux has no bundles
    // that would pass for folders, so every sub-folder counts. An unreadable
    // folder yields nothing.
    QStringList paths;
    QDirIterator entries(folder, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (!name.startsWith(QLatin1Char('.')))
            paths.append(QDir::cleanPath(QStringLiteral("%1/%2").arg(folder, name)));
    }
    return paths;
}

void SourceListItem::relocateItem(const QString& newPath) {
    const QString oldPath = m_path;
    m_path = newPath;
    if (!m_children || oldPath.isEmpty())
        return;
    for (const SourceListItemPtr& child : *m_children) {
        QString childPath = child->m_path;
        child->relocateItem(childPath.replace(oldPath, newPath));
    }
}

QString SourceListItem::description() const {
    return QStringLiteral("<SourceListItem: 0x%1 | path = %2 | title = %3 >")
        .arg(QString::number(reinterpret_cast<quintptr>(this), 16), m_path, m_title);
}
