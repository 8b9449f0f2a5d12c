// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchOptions.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Half up, then at least one pixel: a sliver of a picture stays a picture.
int roundedSide(double value) {
    if (!std::isfinite(value) || value < 1.0)
        return 1;
    return int(std::min(std::floor(value + 0.5), double(std::numeric_limits<int>::max())));
}

// The last component's extension; a leading dot belongs to the name.
qsizetype extensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? dot : -1;
}

QString lastComponent(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

BatchOptions BatchOptions::fromSettings(const UserDefaults& settings) {
    using namespace SettingsKeys;
    BatchOptions options;
    options.resizePixels = int(settings.integerForKey(QLatin1String(batch_resize_pixels)));
    options.resizePercent = double(settings.integerForKey(QLatin1String(batch_resize_pct)));
    options.copyExif = settings.boolForKey(QLatin1String(batch_convert_copy_exif));
    options.renameFiles = settings.boolForKey(QLatin1String(batch_rename_files));
    options.renameSuffix = settings.stringForKey(QLatin1String(batch_rename_suffix));
    options.deleteOriginals = settings.boolForKey(QLatin1String(batch_delete_originals));
    options.jpegCompression = settings.doubleForKey(QLatin1String(jpeg_compression));
    return options;
}

void BatchOptions::saveTo(UserDefaults& settings) const {
    using namespace SettingsKeys;
    if (resize == Resize::ToPixels)
        settings.setInteger(resizePixels, QLatin1String(batch_resize_pixels));
    else if (resize == Resize::ByPercent)
        settings.setInteger(qint64(resizePercent), QLatin1String(batch_resize_pct));
    settings.setBool(copyExif, QLatin1String(batch_convert_copy_exif));
    settings.setBool(renameFiles, QLatin1String(batch_rename_files));
    if (renameFiles)
        settings.setObject(renameSuffix, QLatin1String(batch_rename_suffix));
    settings.setBool(deleteOriginals, QLatin1String(batch_delete_originals));
}

QSize BatchOptions::resizedSize(const QSize& size) const {
    const double width = size.width(), height = size.height();
    switch (resize) {
    case Resize::None:
        return size;
    case Resize::ToPixels: {
        const double pixels = resizePixels;
        if (width > height)
            return QSize(roundedSide(pixels), roundedSide(height * pixels / width));
        return QSize(roundedSide(width * pixels / height), roundedSide(pixels));
    }
    case Resize::ByPercent:
        return QSize(roundedSide(width * resizePercent / 100.0),
                     roundedSide(height * resizePercent / 100.0));
    }
    return size;
}

QString BatchOptions::targetNameFor(const QString& source) const {
    const QString name = lastComponent(source);
    const qsizetype dot = extensionDot(name);
    QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (renameFiles)
        base += renameSuffix;

    QString newExtension = extension;
    if (format != Format::Same) {
        newExtension = format == Format::Jpeg ? QStringLiteral("jpg") : QStringLiteral("png");
        // An empty extension counts as upper case.
        if (extension == extension.toUpper())
            newExtension = newExtension.toUpper();
    }
    return newExtension.isEmpty() ? base : base + QLatin1Char('.') + newExtension;
}

QString BatchOptions::targetPathFor(const QString& source) const {
    return QDir::cleanPath(destinationFolder + QLatin1Char('/') + targetNameFor(source));
}
