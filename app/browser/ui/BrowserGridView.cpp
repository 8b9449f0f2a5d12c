// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserGridView.h"

#include "BrowserItemDelegate.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

BrowserGridView::BrowserGridView(QWidget* parent)
    : QListView(parent)
    , m_delegate(new BrowserItemDelegate(this)) {
    setObjectName(QStringLiteral("browser"));
    setItemDelegate(m_delegate);
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::Batched);
    setBatchSize(500);
    setUniformItemSizes(true);
    setWrapping(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setGridSize(m_delegate->cellSize());
    verticalScrollBar()->setSingleStep(24);

    m_renameDelay.setSingleShot(true);
    m_renameDelay.setInterval(kRenameDelayMs);
    connect(&m_renameDelay, &QTimer::timeout, this, &BrowserGridView::startRename);
}

float BrowserGridView::zoom() const {
    return m_delegate->zoom();
}

void BrowserGridView::setZoom(float zoom) {
    m_delegate->setZoom(zoom);
    setGridSize(m_delegate->cellSize());
    doItemsLayout();
    reportVisibleRange();
}

std::pair<int, int> BrowserGridView::visibleRange() const {
    const int count = model() ? model()->rowCount() : 0;
    const QSize cell = gridSize();
    if (count == 0 || cell.isEmpty())
        return {-1, -1};
    const int columns = qMax(1, viewport()->width() / cell.width());
    const int top = verticalScrollBar()->value();
    const int firstRow = qMax(0, top / cell.height() - 1);
    const int lastRow = (top + viewport()->height()) / cell.height() + 1;
    const int first = qMin(count - 1, firstRow * columns);
    const int last = qMin(count - 1, (lastRow + 1) * columns - 1);
    return {first, last};
}

void BrowserGridView::reportVisibleRange() {
    const std::pair<int, int> range = visibleRange();
    if (range == m_reportedRange)
        return;
    m_reportedRange = range;
    emit visibleRangeChanged(range.first, range.second);
}

bool BrowserGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!QListView::edit(index, trigger, event))
        return false;
    // The view selects the whole text of a new editor; the base name it is.
    if (auto* field = qobject_cast<QLineEdit*>(indexWidget(index)))
        BrowserItemDelegate::selectBaseName(field);
    return true;
}

void BrowserGridView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState) {
        emit enterPressed();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void BrowserGridView::mousePressEvent(QMouseEvent* event) {
    m_renameDelay.stop();
    const QModelIndex index = indexAt(event->position().toPoint());
    m_pressedIndex = index;
    m_pressedWasSelected = index.isValid() && selectionModel()->isSelected(index);
    if (event->button() == Qt::RightButton) {
        // A click outside the selection selects the cell under the pointer.
        if (index.isValid() && !m_pressedWasSelected)
            selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void BrowserGridView::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onName =
        index.isValid() &&
        BrowserItemDelegate::labelRect(visualRect(index)).contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier && onName &&
        index == m_pressedIndex && m_pressedWasSelected &&
        selectionModel()->selectedIndexes().size() == 1) {
        m_renameIndex = index;
        m_renameDelay.start();
    }
}

void BrowserGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click opens; its second release must not start a rename.
    m_renameDelay.stop();
    m_pressedIndex = QPersistentModelIndex();
    QListView::mouseDoubleClickEvent(event);
}

void BrowserGridView::setDropTarget(const QModelIndex& index) {
    if (index == m_dropTarget)
        return;
    if (m_dropTarget.isValid())
        viewport()->update(visualRect(m_dropTarget));
    m_dropTarget = index;
    if (m_dropTarget.isValid())
        viewport()->update(visualRect(m_dropTarget));
}

void BrowserGridView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (!m_dropTarget.isValid())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    QColor highlight = palette().color(QPalette::Highlight);
    painter.setPen(QPen(highlight, 2));
    highlight.setAlpha(40);
    painter.setBrush(highlight);
    painter.drawRoundedRect(QRectF(visualRect(m_dropTarget)).adjusted(3, 3, -3, -3), 6, 6);
}

void BrowserGridView::startRename() {
    if (m_renameIndex.isValid() && selectionModel()->selectedIndexes().size() == 1 &&
        selectionModel()->isSelected(m_renameIndex))
        edit(m_renameIndex);
}

void BrowserGridView::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuAt(event->globalPos());
    event->accept();
}

void BrowserGridView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    reportVisibleRange();
}

void BrowserGridView::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    reportVisibleRange();
}

void BrowserGridView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QListView::rowsInserted(parent, start, end);
    reportVisibleRange();
}

void BrowserGridView::reset() {
    m_renameDelay.stop();
    m_dropTarget = QPersistentModelIndex();
    QListView::reset();
    m_reportedRange = {-2, -2};
    reportVisibleRange();
}
