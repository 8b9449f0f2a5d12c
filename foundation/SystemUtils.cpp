// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemUtils.h"

#include "DesktopEntries.h"
#include "FileUtils.h"
#include "MovieFrameReader.h"

#include <QHash>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPixmap>

namespace {

const QString kNoApplicationMarker = QStringLiteral("nil");

struct BundleCache {
    QMutex lock;
    QHash<QString, QString> bundles;
    SystemUtils::DesktopEntryLocator locator;
};

BundleCache& bundleCache() {
    static BundleCache cache;
    return cache;
}

QSize fitWithoutEnlarging(const QSize& source, const QSize& box) {
    if (source.width() <= box.width() && source.height() <= box.height())
        return source;
    return source.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage decodeImage(const QString& path, const QSize& box) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid()) {
        // The box applies to the upright picture; scaling happens before
        // the turn, so a quarter-turned picture is fitted transposed.
        const bool turned =
            reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        const QSize uprightBox = turned ? box.transposed() : box;
        reader.setScaledSize(fitWithoutEnlarging(stored, uprightBox));
    }
    QImage image = reader.read();
    if (!image.isNull() && (image.width() > box.width() || image.height() > box.height()))
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage themeIcon(const QString& path, const QSize& size) {
    const QIcon icon = FileUtils::getIcon(path);
    QImage image = icon.pixmap(size, 1.0).toImage();
    if (!image.isNull() && image.size() != size &&
        (image.width() < size.width() && image.height() < size.height()))
        image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage asIconCanvas(const QImage& picture, const QSize& size) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    const QRect target(
        QPoint((size.width() - picture.width()) / 2, (size.height() - picture.height()) / 2),
        picture.size());
    painter.drawImage(target, picture);
    painter.setPen(QColor(0, 0, 0, 64));
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    return canvas;
}

} // namespace

QString SystemUtils::defaultApplicationForFile(const QString& path) {
    if (path.isEmpty())
        return {};
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    return DesktopEntries::pathForDesktopId(DesktopEntries::defaultDesktopIdForMimeType(type));
}

QString SystemUtils::bundlePathForIdentifier(const QString& identifier) {
    BundleCache& cache = bundleCache();
    QMutexLocker locker(&cache.lock);
    auto found = cache.bundles.constFind(identifier);
    if (found == cache.bundles.constEnd()) {
        QString path = cache.locator ? cache.locator(identifier)
                                     : DesktopEntries::pathForDesktopId(identifier);
        if (path.isEmpty())
            path = kNoApplicationMarker;
        found = cache.bundles.insert(identifier, path);
    }
    return *found == kNoApplicationMarker ? QString() : *found;
}

void SystemUtils::setDesktopEntryLocator(DesktopEntryLocator locator) {
    BundleCache& cache = bundleCache();
    QMutexLocker locker(&cache.lock);
    cache.locator = std::move(locator);
    cache.bundles.clear();
}

QImage SystemUtils::imageWithPreviewOfFileAtPath(const QString& path, const QSize& size,
                                                 bool asIcon) {
    if (path.isEmpty() || size.isEmpty())
        return {};
    QImage picture;
    if (FileUtils::isVideoFile(path))
        picture = MovieFrameReader(path).frameNearStart(size);
    else
        picture = decodeImage(path, size);
    if (picture.isNull())
        return themeIcon(path, size);
    return asIcon ? asIconCanvas(picture, size) : picture;
}
