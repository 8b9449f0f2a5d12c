// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"

#include <QAbstractListModel>
#include <QList>

// The grid's content: the browser items, index for index. Serves the
// title, the thumbnail (null until loaded: views draw the kind's icon) and
// the item itself. Main thread.
class BrowserGridModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        ThumbnailRole = Qt::UserRole + 1, // QImage, null until loaded
        TypeRole,                         // BrowserItemType as int
        PathRole,                         // QString
    };

    explicit BrowserGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    const QList<BrowserItemPtr>& items() const { return m_items; }
    BrowserItemPtr itemAt(int row) const { return m_items.value(row); }
    // Replaces the items (the views drop what they cached).
    void setItems(const QList<BrowserItemPtr>& items);
    // The first row whose item has `path`, or -1.
    int rowOfPath(const QString& path) const;
    // The item at `row` has a new thumbnail.
    void thumbnailChanged(int row);

private:
    QList<BrowserItemPtr> m_items;
};
