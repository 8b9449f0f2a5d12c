// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImagePrinter.h"

#include "DecodeLimits.h"
#include "ImageTransform.h"
#include "ImageTransformOps.h"

#include <QImageReader>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Pictures without a resolution of their own are laid out at 72 per inch.
constexpr double kDefaultDotsPerInch = 72.0;
constexpr double kInchesPerMetre = 39.3700787;

double dotsPerInch(const QImage& image) {
    const double dpi = image.dotsPerMeterX() / kInchesPerMetre;
    return dpi >= 1.0 ? dpi : kDefaultDotsPerInch;
}

bool isPortrait(const QSizeF& size) {
    return size.width() < size.height();
}

} // namespace

void ImagePrinter::printImages(const QStringList& paths, QWidget* parent) {
    if (paths.isEmpty())
        return;
    // The settings chosen last time are the next print's starting point.
    static QPrinter* sharedPrinter = new QPrinter(QPrinter::HighResolution);
    auto* dialog = new QPrintDialog(sharedPrinter, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    QObject::connect(dialog, &QDialog::accepted, dialog,
                     [paths] { printImagesTo(*sharedPrinter, paths); });
    dialog->open();
}

bool ImagePrinter::printImagesTo(QPrinter& printer, const QStringList& paths) {
    if (paths.isEmpty())
        return false;
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the printable area's corner.
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (i > 0)
            printer.newPage();
        const QImage image = pageImage(paths[i], page.size());
        if (image.isNull())
            continue;
        const double scale = printer.resolution() / dotsPerInch(image);
        const QRectF target = placement(QSizeF(image.size()) * scale, page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
    }
    return painter.end();
}

QImage ImagePrinter::pageImage(const QString& path, const QSizeF& page) {
    DecodeLimits::allowLargePhotographs();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!DecodeLimits::acceptableSize(reader.size()))
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return image;
    if (isPortrait(page) != isPortrait(QSizeF(image.size()))) {
        const int across = image.dotsPerMeterX();
        const int down = image.dotsPerMeterY();
        image = ImageTransformOps::transform(image, ImageTransformRotate90CW);
        // The resolution turns with the picture.
        image.setDotsPerMeterX(down);
        image.setDotsPerMeterY(across);
    }
    return image;
}

QRectF ImagePrinter::placement(const QSizeF& imageSize, const QRectF& page) {
    QSizeF size = imageSize;
    if (size.width() > page.width() || size.height() > page.height())
        size = size.scaled(page.size(), Qt::KeepAspectRatio);
    return QRectF(page.center().x() - size.width() / 2, page.center().y() - size.height() / 2,
                  size.width(), size.height());
}
