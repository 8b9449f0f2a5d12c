// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserGridModel.h"

#include <QMimeData>
#include <QUrl>

BrowserGridModel::BrowserGridModel(QObject* parent)
    : QAbstractListModel(parent) {}

int BrowserGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant BrowserGridModel::data(const QModelIndex& index, int role) const {
    const BrowserItemPtr item = index.isValid() ? m_items.value(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return item->title();
    case ThumbnailRole:
        return item->thumbnail();
    case TypeRole:
        return int(item->type());
    case PathRole:
        return item->path();
    default:
        return {};
    }
}

Qt::ItemFlags BrowserGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

QStringList BrowserGridModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* BrowserGridModel::mimeData(const QModelIndexList& indexes) const {
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes) {
        if (const BrowserItemPtr item = m_items.value(index.row()))
            urls.append(item->previewItemURL());
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions BrowserGridModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

void BrowserGridModel::setItems(const QList<BrowserItemPtr>& items) {
    beginResetModel();
    m_items = items;
    endResetModel();
}

int BrowserGridModel::rowOfPath(const QString& path) const {
    for (qsizetype row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row)->path() == path)
            return int(row);
    }
    return -1;
}

void BrowserGridModel::thumbnailChanged(int row) {
    if (row < 0 || row >= m_items.size())
        return;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {ThumbnailRole});
}
