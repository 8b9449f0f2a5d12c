// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultiResolutionImage.h"

#include <QImageReader>

namespace {

qint64 pixelCount(const QImage& image) {
    return qint64(image.width()) * qint64(image.height());
}

} // namespace

MultiResolutionImage MultiResolutionImage::fromImage(const QImage& image) {
    MultiResolutionImage result;
    if (image.isNull())
        return result;
    result.m_representations.append(image);
    result.m_size = QSizeF(image.size());
    return result;
}

MultiResolutionImage MultiResolutionImage::fromFile(const QString& path) {
    MultiResolutionImage result;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // canRead() guards the first frame; jumpToNextImage() each further one.
    // The count bounds the loop for readers that never report the end.
    const int count = qMax(1, reader.imageCount());
    for (int index = 0; index < count && reader.canRead(); ++index) {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        result.m_representations.append(image);
        if (!reader.jumpToNextImage())
            break;
    }
    if (!result.isNull())
        result.m_size = QSizeF(result.largestRepresentation().size());
    return result;
}

MultiResolutionImage MultiResolutionImage::fromIcon(const QIcon& icon) {
    MultiResolutionImage result;
    for (const QSize& size : icon.availableSizes()) {
        const QImage image = icon.pixmap(size, 1.0).toImage();
        if (!image.isNull())
            result.m_representations.append(image);
    }
    if (!result.isNull())
        result.m_size = QSizeF(result.largestRepresentation().size());
    return result;
}

void MultiResolutionImage::addRepresentation(const QImage& image) {
    if (!image.isNull())
        m_representations.append(image);
}

QImage MultiResolutionImage::largestRepresentation() const {
    const QImage* largest = nullptr;
    for (const QImage& image : m_representations) {
        if (!largest || pixelCount(image) > pixelCount(*largest))
            largest = &image;
    }
    return largest ? *largest : QImage();
}

void MultiResolutionImage::selectLargestRepresentation() {
    QImage largest = largestRepresentation();
    if (largest.isNull())
        return;
    largest.setDevicePixelRatio(1.0);
    m_representations = {largest};
    m_size = QSizeF(largest.size());
}
