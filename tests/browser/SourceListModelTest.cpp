// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/SourceListModel.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList childPaths(const SourceListItem* header) {
    QStringList paths;
    for (const SourceListItemPtr& child : header->children())
        paths << child->path();
    return paths;
}

TEST(SourceListModel, HeadersHoldFavouritesAndDrivesAndExpandLazily) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir().mkpath(root.filePath("photos/2012")));
    ASSERT_TRUE(QDir().mkpath(root.filePath("photos/.hidden")));
    SourceListModel model;
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(),
              model.favoritesRootItem()->title());
    EXPECT_EQ(model.favoritesRootItem()->title(), model.favoritesRootItem()->title().toUpper());
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);

    // A missing favourite gets no node.
    model.refreshFavorites({root.filePath("photos"), root.filePath("gone")});
    EXPECT_EQ(childPaths(model.favoritesRootItem()), QStringList{root.filePath("photos")});
    // "/home" and "/net" are never drives.
    model.refreshDevices({"/", "/home", "/net", root.path()});
    EXPECT_EQ(childPaths(model.devicesRootItem()), (QStringList{"/", root.path()}));

    const QModelIndex photos = model.index(0, 0, model.index(0, 0));
    EXPECT_TRUE(model.hasChildren(photos));
    EXPECT_TRUE(model.canFetchMore(photos));
    // An expansion reads on a worker and inserts the rows afterwards.
    QSignalSpy fetched(&model, &SourceListModel::childrenFetched);
    model.fetchMore(photos);
    EXPECT_TRUE(model.isFetching(model.itemForIndex(photos)));
    ASSERT_TRUE(fetched.wait(10000));
    EXPECT_EQ(fetched.first().first().value<QModelIndex>(), photos);
    EXPECT_FALSE(model.canFetchMore(photos));
    ASSERT_EQ(model.rowCount(photos), 1);
    const QModelIndex year = model.index(0, 0, photos);
    EXPECT_EQ(model.itemForIndex(year)->path(), root.filePath("photos/2012"));
    EXPECT_EQ(model.parent(year), photos);
    EXPECT_EQ(model.indexForItem(model.itemForIndex(year)), year);
}

} // namespace
