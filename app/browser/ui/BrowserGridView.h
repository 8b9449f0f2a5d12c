// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QTimer>

class BrowserItemDelegate;

// The browser grid: cells of one size in rows, file drags out of it (file
// URLs), a right click that selects the cell under the pointer first, Return
// reported to the browser, and the in-place rename started by a click on
// the name of the only selected cell after 0.7 s. Reports the range of
// rows on screen whenever it changes. Main thread.
class BrowserGridView : public QListView {
    Q_OBJECT
public:
    explicit BrowserGridView(QWidget* parent = nullptr);

    using QListView::edit;

    BrowserItemDelegate* itemDelegate() const { return m_delegate; }
    float zoom() const;
    // Cells of 120 x zoom by 148.63637 x zoom; laid out again, not rebuilt.
    void setZoom(float zoom);

    // The rows on screen with one row of overflow, first to last; -1, -1
    // when there are none.
    std::pair<int, int> visibleRange() const;

    // The folder cell a drag hovers over is outlined; an invalid index
    // clears it.
    void setDropTarget(const QModelIndex& index);
    QModelIndex dropTarget() const { return m_dropTarget; }

    // The delay between a click on a selected name and its edit field.
    static constexpr int kRenameDelayMs = 700;

signals:
    void enterPressed();
    void visibleRangeChanged(int first, int last);
    void contextMenuAt(const QPoint& globalPosition);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void reset() override;

private:
    void reportVisibleRange();
    void startRename();

    BrowserItemDelegate* m_delegate;
    QPersistentModelIndex m_pressedIndex;
    bool m_pressedWasSelected = false;
    QPersistentModelIndex m_renameIndex;
    QPersistentModelIndex m_dropTarget;
    QTimer m_renameDelay;
    std::pair<int, int> m_reportedRange{-1, -1};
};
