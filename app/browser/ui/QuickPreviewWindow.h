// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserItem.h"

#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QWidget>

// The quick preview: a window beside the browser showing one of the
// selected items at a time, big (an image upright, a movie as a frame near
// its start). Space or Escape closes it, the arrow keys step through the
// items. Pictures are read on the thread pool, the latest request wins.
// Main thread.
class QuickPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit QuickPreviewWindow(QWidget* browserWindow);
    ~QuickPreviewWindow() override;

    // The items to preview (the data source) and the one shown first.
    void setItems(const QList<BrowserItemPtr>& items, int index = 0);
    int count() const { return int(m_items.size()); }
    // The item at `index`; null outside the range.
    BrowserItemPtr itemAt(int index) const;
    int currentIndex() const { return m_index; }
    // Shows the item `delta` places on, wrapping around.
    void step(int delta);
    QImage currentImage() const { return m_image; }

signals:
    // The picture of the current item is on screen.
    void imageShown();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void load();
    void updateTitle();

    QList<BrowserItemPtr> m_items;
    int m_index = 0;
    QImage m_image;
    quint64 m_generation = 0;
    QFutureWatcher<QImage>* m_loading;
};
