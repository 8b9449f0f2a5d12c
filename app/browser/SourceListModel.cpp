// SPDX-License-Identifier: GPL-3.0-or-later
#include "SourceListModel.h"

#include "Localization.h"
#include "PoolTask.h"

#include <QFont>
#include <QFutureWatcher>
#include <QThreadPool>

namespace {

SourceListItemPtr groupHeader(const char* key, const QString& identifier) {
    SourceListItemPtr header =
        SourceListItem::itemWithTitle(Localization::localizedString(key).toUpper(), QString());
    header->setIdentifier(identifier);
    return header;
}

} // namespace

SourceListModel::SourceListModel(QObject* parent)
    : QAbstractItemModel(parent) {
    refreshSourceListItems();
}

void SourceListModel::refreshSourceListItems() {
    beginResetModel();
    m_roots = {groupHeader("BROWSER_FAVORITES", QStringLiteral("Favorites")),
               groupHeader("BROWSER_DEVICES", QStringLiteral("Drives"))};
    for (const SourceListItemPtr& root : m_roots)
        root->initChildren();
    endResetModel();
}

void SourceListModel::refreshFavorites(const QStringList& favoriteFolders) {
    replaceChildren(favoritesRootItem(), favoriteFolders);
}

void SourceListModel::refreshDevices(const QStringList& volumePaths) {
    QStringList shown;
    for (const QString& path : volumePaths) {
        if (path != QLatin1String("/home") && path != QLatin1String("/net"))
            shown.append(path);
    }
    replaceChildren(devicesRootItem(), shown);
}

void SourceListModel::replaceChildren(SourceListItem* header, const QStringList& paths) {
    const QModelIndex parent = indexForItem(header);
    if (const int count = int(header->children().size()); count > 0) {
        beginRemoveRows(parent, 0, count - 1);
        header->initChildren();
        endRemoveRows();
    }
    std::vector<SourceListItemPtr> nodes;
    for (const QString& path : paths) {
        if (SourceListItemPtr node = SourceListItem::sourceListItemForPath(path))
            nodes.push_back(std::move(node));
    }
    header->initChildren();
    if (nodes.empty())
        return;
    beginInsertRows(parent, 0, int(nodes.size()) - 1);
    for (const SourceListItemPtr& node : nodes)
        header->addChild(node);
    endInsertRows();
}

void SourceListModel::checkItemChildren(SourceListItem* item) {
    if (!item || item->isGroupHeader() || item->childrenKnown())
        return;
    insertChildren(item, SourceListItem::subfolderPaths(item->path()));
}

void SourceListModel::insertChildren(SourceListItem* item, const QStringList& paths) {
    // Nodes are made here: their icons belong to this thread.
    std::vector<SourceListItemPtr> nodes;
    for (const QString& path : paths) {
        if (SourceListItemPtr node = SourceListItem::sourceListItemForPath(path))
            nodes.push_back(std::move(node));
    }
    const QModelIndex parent = indexForItem(item);
    item->initChildren();
    if (nodes.empty()) {
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, int(nodes.size()) - 1);
    for (const SourceListItemPtr& node : nodes)
        item->addChild(node);
    endInsertRows();
}

SourceListItemPtr SourceListModel::sharedItem(const SourceListItem* item) const {
    const SourceListItem* parent = item ? item->parent() : nullptr;
    const int row = parent ? parent->indexOfChild(item) : -1;
    return row < 0 ? nullptr : parent->children()[std::size_t(row)];
}

void SourceListModel::clearItemChildren(SourceListItem* item) {
    if (!item || item->isGroupHeader())
        return;
    const QModelIndex parent = indexForItem(item);
    if (const int count = int(item->children().size()); count > 0) {
        beginRemoveRows(parent, 0, count - 1);
        item->clearChildren();
        endRemoveRows();
    } else {
        item->clearChildren();
    }
    emit dataChanged(parent, parent);
}

void SourceListModel::itemChanged(SourceListItem* item) {
    const QModelIndex changed = indexForItem(item);
    emit dataChanged(changed, changed);
}

SourceListItem* SourceListModel::itemForIndex(const QModelIndex& index) const {
    return index.isValid() ? static_cast<SourceListItem*>(index.internalPointer()) : nullptr;
}

QModelIndex SourceListModel::indexForItem(const SourceListItem* item) const {
    if (!item)
        return {};
    if (const SourceListItem* parent = item->parent()) {
        const int row = parent->indexOfChild(item);
        return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<SourceListItem*>(item));
    }
    for (std::size_t row = 0; row < m_roots.size(); ++row) {
        if (m_roots[row].get() == item)
            return createIndex(int(row), 0, const_cast<SourceListItem*>(item));
    }
    return {};
}

QModelIndex SourceListModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(m_roots.size()) ? createIndex(row, 0, m_roots[std::size_t(row)].get())
                                         : QModelIndex();
    const SourceListItem* node = itemForIndex(parent);
    if (!node || row >= int(node->children().size()))
        return {};
    return createIndex(row, 0, node->children()[std::size_t(row)].get());
}

QModelIndex SourceListModel::parent(const QModelIndex& child) const {
    const SourceListItem* node = itemForIndex(child);
    return node ? indexForItem(node->parent()) : QModelIndex();
}

int SourceListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(m_roots.size());
    const SourceListItem* node = itemForIndex(parent);
    return node ? int(node->children().size()) : 0;
}

int SourceListModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant SourceListModel::data(const QModelIndex& index, int role) const {
    const SourceListItem* node = itemForIndex(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return node->title();
    case Qt::ToolTipRole:
        return node->path();
    case Qt::DecorationRole:
        return node->hasIcon() ? QVariant(node->icon()) : QVariant();
    case Qt::FontRole:
        if (node->isGroupHeader()) {
            QFont font;
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 0.85);
            return font;
        }
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags SourceListModel::flags(const QModelIndex& index) const {
    const SourceListItem* node = itemForIndex(index);
    if (!node)
        return Qt::NoItemFlags;
    if (node->isGroupHeader())
        return Qt::ItemIsEnabled;
    // Sub-folders may be renamed in place; favourites and drives may not.
    if (node->parent() && !node->parent()->isGroupHeader())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool SourceListModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return true;
    const SourceListItem* node = itemForIndex(parent);
    return node && node->hasChildren();
}

bool SourceListModel::canFetchMore(const QModelIndex& parent) const {
    const SourceListItem* node = itemForIndex(parent);
    return node && !node->isGroupHeader() && !node->childrenKnown();
}

void SourceListModel::fetchMore(const QModelIndex& parent) {
    SourceListItem* item = itemForIndex(parent);
    if (!item || item->isGroupHeader() || item->childrenKnown() || m_fetching.contains(item))
        return;
    m_fetching.insert(item);
    // The node may be replaced meanwhile (a refresh, a rename): it is only
    // filled in if it is still in the tree and still unread.
    const std::weak_ptr<SourceListItem> node = sharedItem(item);
    auto* watcher = new QFutureWatcher<QStringList>(this);
    connect(watcher, &QFutureWatcher<QStringList>::finished, this, [this, watcher, node, item] {
        watcher->deleteLater();
        m_fetching.remove(item);
        const SourceListItemPtr alive = node.lock();
        if (!alive || alive->childrenKnown() || !indexForItem(alive.get()).isValid())
            return;
        insertChildren(alive.get(), watcher->result());
        emit childrenFetched(indexForItem(alive.get()));
    });
    watcher->setFuture(PoolTask::run(QThreadPool::globalInstance(), [folder = item->path()] {
        return SourceListItem::subfolderPaths(folder);
    }));
}
