// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/SourceListItem.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SourceListItem, ReadsSubFoldersOnceWhenAsked) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("empty"));
    ASSERT_TRUE(QDir(root.path()).mkpath("z/.hidden"));
    ASSERT_TRUE(TestFiles::write(root.filePath("photo.jpg"), "x"));
    ASSERT_TRUE(QFile::link(root.filePath("z"), root.filePath("shortcut")));

    const SourceListItemPtr node = SourceListItem::sourceListItemForPath(root.path());
    ASSERT_TRUE(node);
    EXPECT_EQ(node->title(), QDir(root.path()).dirName());
    EXPECT_TRUE(node->hasChildren()); // not read yet
    EXPECT_TRUE(node->checkChildren());
    EXPECT_FALSE(node->checkChildren());
    QStringList titles;
    for (const SourceListItemPtr& child : node->children()) {
        titles.append(child->title());
        EXPECT_EQ(child->path(), root.filePath(child->title()));
        EXPECT_EQ(child->parent(), node.get());
        EXPECT_EQ(node->children().at(node->indexOfChild(child.get())), child);
        // An empty folder shows a triangle until it is read.
        EXPECT_TRUE(child->hasChildren());
        child->checkChildren();
        EXPECT_FALSE(child->hasChildren());
    }
    titles.sort();
    EXPECT_EQ(titles, QStringList({"empty", "shortcut", "z"}));
    node->clearChildren();
    EXPECT_FALSE(node->childrenKnown());

    EXPECT_FALSE(SourceListItem::sourceListItemForPath(root.filePath("photo.jpg")));
    EXPECT_FALSE(SourceListItem::sourceListItemForPath(root.filePath("gone")));
    const SourceListItemPtr volume = SourceListItem::sourceListItemForPath("/");
    ASSERT_TRUE(volume);
    EXPECT_FALSE(volume->title().isEmpty());
}

TEST(SourceListItem, HeadersAndRelocation) {
    const SourceListItemPtr header = SourceListItem::itemWithTitle("DRIVES", QString());
    header->setIdentifier("Drives");
    EXPECT_FALSE(header->checkChildren());
    header->addChild(nullptr);
    EXPECT_FALSE(header->childrenKnown());

    const SourceListItemPtr b = SourceListItem::itemWithTitle("b", "/a/b");
    const SourceListItemPtr x = SourceListItem::itemWithTitle("x", "/a/b/x");
    const SourceListItemPtr y = SourceListItem::itemWithTitle("y", "/a/b/x/y");
    header->addChild(b);
    b->addChild(x);
    x->addChild(y);
    b->relocateItem("/a/c");
    EXPECT_EQ(header->path(), "");
    EXPECT_EQ(x->path(), "/a/c/x");
    EXPECT_EQ(y->path(), "/a/c/x/y");
    EXPECT_EQ(b->title(), "b");
    EXPECT_TRUE(
        QRegularExpression(R"(^<SourceListItem: 0x[0-9a-f]+ \| path = /a/c \| title = b >$)")
            .match(b->description())
            .hasMatch())
        << b->description().toStdString();
}
