// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class SourceListItem;
using SourceListItemPtr = std::shared_ptr<SourceListItem>;

// One node of the browser's source list: a group header ("Favorites",
// "Drives"), a favourite folder, a drive, or a sub-folder of one of them.
// Children are read from the disk lazily: absent until first asked for.
// Main thread only.
class SourceListItem {
public:
    static SourceListItemPtr itemWithTitle(const QString& title, const QString& path,
                                           const QIcon& icon = QIcon());
    // A node for an existing folder (null otherwise): the folder's display
    // name through the localisation table, and its icon.
    static SourceListItemPtr sourceListItemForPath(const QString& path);

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    // Empty for the two group headers.
    QString path() const { return m_path; }
    QIcon icon() const { return m_icon; }
    bool hasIcon() const { return !m_icon.isNull(); }
    // "Favorites" or "Drives" on the group headers, else empty.
    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString& identifier) { m_identifier = identifier; }
    bool isGroupHeader() const { return !m_identifier.isEmpty(); }

    SourceListItem* parent() const { return m_parent; }
    // Whether the children have been read (an empty list counts).
    bool childrenKnown() const { return m_children.has_value(); }
    // The children read so far (none while unknown).
    const std::vector<SourceListItemPtr>& children() const;
    // The position of `child` among the children, or -1.
    int indexOfChild(const SourceListItem* child) const;

    void initChildren();
    void clearChildren();
    void addChild(const SourceListItemPtr& child);
    // True while the children are unknown, else when there is any.
    bool hasChildren() const;

    // Reads the sub-folders once (hidden names and packages skipped, in
    // listing order); nothing for a group header or known children. True
    // when it read the disk.
    bool checkChildren();
    // The sub-folders of `folder` as checkChildren() reads them; any thread.
    static QStringList subfolderPaths(const QString& folder);

    // Gives this node `newPath` and re-paths every descendant by replacing
    // the old path's text in theirs. Titles stay.
    void relocateItem(const QString& newPath);

    // "<SourceListItem: 0x... | path = ... | title = ... >"
    QString description() const;

private:
    SourceListItem(const QString& title, const QString& path, const QIcon& icon);

    QString m_title;
    QString m_path;
    QIcon m_icon;
    QString m_identifier;
    SourceListItem* m_parent = nullptr;
    std::optional<std::vector<SourceListItemPtr>> m_children;
};
