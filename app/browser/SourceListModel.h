// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SourceListItem.h"

#include <QAbstractItemModel>
#include <QSet>
#include <QStringList>

// The source list as a tree model: two group headers, "BROWSER_FAVORITES"
// and "BROWSER_DEVICES" (upper-cased), holding the favourite folders and
// the mounted drives, each expanding lazily into its sub-folders. A view's
// expansion (fetchMore) reads the folder on a worker and inserts the rows
// when it is done, so a slow disk never holds up the window; the browser's
// walk to a path reads at once (checkItemChildren). Main thread.
class SourceListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit SourceListModel(QObject* parent = nullptr);

    SourceListItem* favoritesRootItem() const { return m_roots.at(0).get(); }
    SourceListItem* devicesRootItem() const { return m_roots.at(1).get(); }

    // Builds the two group headers anew (no children yet).
    void refreshSourceListItems();
    // The favourites header's children: one node per existing folder of
    // `favoriteFolders`, in order (missing ones skipped).
    void refreshFavorites(const QStringList& favoriteFolders);
    // The drives header's children: one node per volume, in order, except
    // exactly "/home" and "/net".
    void refreshDevices(const QStringList& volumePaths);

    // Reads a node's sub-folders once (see SourceListItem::checkChildren)
    // and inserts their rows.
    void checkItemChildren(SourceListItem* item);
    // Whether a worker is reading a node's sub-folders.
    bool isFetching(const SourceListItem* item) const { return m_fetching.contains(item); }
    // Forgets a node's children, so the next look reads the disk again.
    void clearItemChildren(SourceListItem* item);
    // The node's title changed.
    void itemChanged(SourceListItem* item);

    SourceListItem* itemForIndex(const QModelIndex& index) const;
    QModelIndex indexForItem(const SourceListItem* item) const;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A worker's reading of a node's sub-folders has been inserted.
    void childrenFetched(const QModelIndex& parent);

private:
    void replaceChildren(SourceListItem* header, const QStringList& paths);
    void insertChildren(SourceListItem* item, const QStringList& paths);
    SourceListItemPtr sharedItem(const SourceListItem* item) const;

    std::vector<SourceListItemPtr> m_roots;
    QSet<const SourceListItem*> m_fetching;
};
