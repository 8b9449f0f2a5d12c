// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerInfoText.h"

#include "DrawingImageBase.h"

#include "ByteCountFormatter.h"
#include "Exif.h"
#include "FileUtils.h"
#include "Localization.h"
#include "OpenedPath.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr int kTagDateTimeDigitized = 0x9004;
constexpr int kTagExposureTime = 0x829A;
constexpr int kTagFNumber = 0x829D;
constexpr int kTagIsoSpeed = 0x8827;
constexpr int kTagFocalLength = 0x920A;

// What a missing value leaves in the shooting line until it is cleaned up.
constexpr QLatin1String kMissing("(null)");

// printf's "%g".
QString shortest(double value) {
    return QString::number(value, 'g', 6);
}

qint64 fileSize(const QString& path) {
    const OpenedPath opened(path);
    return opened.path().isEmpty() ? 0 : QFileInfo(opened.path()).size();
}

// Qt has no medium time format; the long one without its time zone is the
// same: hours, minutes and seconds in the locale's order.
QString mediumTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result += c;
    }
    return result.simplified();
}

QString capitalizedWords(QString text) {
    bool wordStart = true;
    for (QChar& c : text) {
        if (wordStart)
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return text;
}

QString valueOrMissing(const Exif& exif, int tag) {
    const QString value = exif.getTagValue(tag);
    return value.isNull() ? QString(kMissing) : value;
}

} // namespace

QString ViewerInfoText::text(DrawingImageBase& image, int level, bool glFormat) {
    if (level <= 0)
        return QString();
    QString text = image.path();
    if (level == 1)
        return text;
    const QString zoom = glFormat ? QString::number(image.zoom(), 'f', 3) : shortest(image.zoom());
    text += QStringLiteral("\n%1 x %2 pixels (%3 x%4), ")
                .arg(shortest(image.imgWidth()), shortest(image.imgHeight()),
                     Localization::localizedString("Zoom"), zoom);
    text += ByteCountFormatter::stringFromByteCount(fileSize(image.path()), QStringLiteral("B"), 0);
    if (level == 2)
        return text;
    text += u'\n' + dateLine(image);
    const QString shooting = shootingLine(image);
    if (!shooting.isEmpty())
        text += u'\n' + shooting;
    return text;
}

QString ViewerInfoText::dateLine(DrawingImageBase& image) {
    const Exif* exif = image.exifData();
    QDateTime date =
        exif ? Exif::parseExifDate(exif->getTagValue(kTagDateTimeDigitized)) : QDateTime();
    if (!date.isValid() && !image.path().isEmpty())
        date = FileUtils::getCreationDateForFile(image.path());
    if (!date.isValid())
        return QString();
    const QLocale locale;
    const QDateTime local = date.toLocalTime();
    return capitalizedWords(locale.toString(local.date(), QLocale::LongFormat) + u' ' +
                            locale.toString(local.time(), mediumTimeFormat(locale)));
}

QString ViewerInfoText::shootingLine(DrawingImageBase& image) {
    const Exif* exif = image.exifData();
    if (!exif || !exif->hasExifData())
        return QString();
    QString line =
        QStringLiteral("%1 %2 ISO%3 %4")
            .arg(valueOrMissing(*exif, kTagExposureTime), valueOrMissing(*exif, kTagFNumber),
                 valueOrMissing(*exif, kTagIsoSpeed), valueOrMissing(*exif, kTagFocalLength));
    line.remove(kMissing);
    line.replace(QStringLiteral(" ISO "), QStringLiteral(" "));
    return line.trimmed();
}
