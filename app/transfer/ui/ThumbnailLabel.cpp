// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailLabel.h"

#include <QLabel>
#include <QPixmap>

void ThumbnailLabel::setImage(QLabel* label, const QImage& image) {
    if (image.isNull()) {
        label->clear();
        return;
    }
    const qreal ratio = label->devicePixelRatioF();
    // The labels have a fixed size, known before the first layout.
    const int frame = 2 * label->frameWidth();
    QSize box = label->maximumSize().boundedTo(QSize(4096, 4096)) - QSize(frame, frame);
    if (label->maximumSize().width() >= QWIDGETSIZE_MAX)
        box = label->contentsRect().size();
    box *= ratio;
    QPixmap pixmap = QPixmap::fromImage(
        image.size().width() > box.width() || image.size().height() > box.height()
            ? image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : image);
    pixmap.setDevicePixelRatio(ratio);
    label->setPixmap(pixmap);
}
