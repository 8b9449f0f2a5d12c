// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickPreviewWindow.h"

#include "SystemUtils.h"

#include <QKeyEvent>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

QuickPreviewWindow::QuickPreviewWindow(QWidget* browserWindow)
    : QWidget(browserWindow, Qt::Tool)
    , m_loading(new QFutureWatcher<QImage>(this)) {
    setObjectName(QStringLiteral("quickPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(720, 540);
    connect(m_loading, &QFutureWatcher<QImage>::finished, this, [this] {
        if (m_loading->property("generation").toULongLong() != m_generation)
            return;
        m_image = m_loading->result();
        update();
        emit imageShown();
    });
}

QuickPreviewWindow::~QuickPreviewWindow() {
    m_loading->waitForFinished();
}

void QuickPreviewWindow::setItems(const QList<BrowserItemPtr>& items, int index) {
    m_items = items;
    m_index = items.isEmpty() ? 0 : qBound(0, index, int(items.size()) - 1);
    load();
}

BrowserItemPtr QuickPreviewWindow::itemAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

void QuickPreviewWindow::step(int delta) {
    if (m_items.isEmpty())
        return;
    const int count = int(m_items.size());
    m_index = ((m_index + delta) % count + count) % count;
    load();
}

void QuickPreviewWindow::load() {
    ++m_generation;
    m_image = QImage();
    updateTitle();
    update();
    const BrowserItemPtr item = itemAt(m_index);
    if (!item)
        return;
    const QSize pixels = size() * devicePixelRatioF();
    const QString path = item->path();
    // A finished earlier load is simply dropped by its generation.
    m_loading->setProperty("generation", m_generation);
    m_loading->setFuture(QtConcurrent::run(
        [path, pixels] { return SystemUtils::imageWithPreviewOfFileAtPath(path, pixels, false); }));
}

void QuickPreviewWindow::updateTitle() {
    const BrowserItemPtr item = itemAt(m_index);
    if (!item) {
        setWindowTitle(QString());
        return;
    }
    setWindowTitle(
        m_items.size() > 1
            ? QStringLiteral("%1 (%2/%3)").arg(item->title()).arg(m_index + 1).arg(m_items.size())
            : item->title());
}

void QuickPreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void QuickPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(30, 30, 30));
    if (m_image.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSizeF size = QSizeF(m_image.size()) / devicePixelRatioF();
    if (size.width() > width() || size.height() > height())
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                        size.height());
    painter.drawImage(target, m_image);
}
