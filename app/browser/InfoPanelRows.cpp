// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoPanelRows.h"

#include "ByteCountFormatter.h"
#include "Exif.h"
#include "ExifDataIO.h"
#include "HeifPictureReader.h"
#include "ImageUtils.h"
#include "Localization.h"
#include "PictureDecoder.h"
#include "RawPictureReader.h"
#include "StringUtils.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

using Localization::localizedString;

const QList<InfoPanelRows::ExifRow>& InfoPanelRows::exifRows() {
    static const QList<ExifRow> rows = {
        {0x0112, "Orientation"},   {0xA406, "Scene Type"},   {0x829A, "Exposure"},
        {0x829D, "F-Number"},      {0x920A, "Focal length"}, {0x8827, "ISO Rating"},
        {0x9204, "Exposure Bias"}, {0x9209, "Flash"},        {0xA403, "White balance"},
        {0x9203, "Brightness"},    {0xA408, "Contrast"},     {0xA409, "Saturation"},
        {0x010F, "Camera Make"},   {0x0110, "Camera Model"}, {0xA001, "Color Model"},
        {0x8773, "Profile Name"},
    };
    return rows;
}

InfoPanelRows::InfoPanelRows(MovieMetadataReader movieReader)
    : m_movieReader(std::move(movieReader)) {}

QList<InfoPanelRows::Row>
InfoPanelRows::rowsForSelection(const QList<BrowserItemPtr>& selection) const {
    if (selection.size() != 1 || !selection.first() || !selection.first()->isMedia())
        return {};
    return rowsForItem(selection.first()->path(), selection.first()->type());
}

QList<InfoPanelRows::Row> InfoPanelRows::rowsForItem(const QString& path,
                                                     BrowserItemType type) const {
    if (type == BrowserItemTypeFolder)
        return {};
    QList<Row> rows;
    rows.append({localizedString("Filename"), QFileInfo(path).fileName()});
    const QFileInfo file(path);
    if (file.exists() && file.size() > 0)
        rows.append({localizedString("File size"),
                     ByteCountFormatter::stringFromByteCount(file.size(), QStringLiteral("B"), 0)});
    rows.append(
        {localizedString("Taken on"), formattedDate(ImageUtils::getCreationDateForImage(path))});
    if (type == BrowserItemTypeImage)
        appendImageRows(path, rows);
    else
        appendMovieRows(path, rows);
    return rows;
}

void InfoPanelRows::appendImageRows(const QString& path, QList<Row>& rows) const {
    const PictureDecoder::Format format =
        QFileInfo(path).isFile() ? PictureDecoder::formatOf(path) : PictureDecoder::Format::Unknown;
    if (format == PictureDecoder::Format::Raw) {
        appendRawRows(path, rows);
        return;
    }
    const QSize size = ImageUtils::getImageSize(path);
    if (size.width() > 0 && size.height() > 0)
        rows.append({localizedString("Dimensions"),
                     QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())});
    QByteArray heifExif;
    if (format == PictureDecoder::Format::Heif)
        heifExif = HeifPictureReader(path).exifBlock();
    // A HEIF file's EXIF block sits in its own item, not where libexif looks.
    const Exif exif(heifExif.isEmpty()
                        ? ExifDataPtr(ExifDataIO::loadExifDataFromFile(path))
                        : ExifDataPtr(ExifDataIO::loadExifData(
                              reinterpret_cast<const unsigned char*>(heifExif.constData()),
                              std::size_t(heifExif.size()))));
    if (!exif.hasExifData())
        return;
    for (const ExifRow& row : exifRows()) {
        const QString value = exif.getTagValue(row.tag);
        if (!value.isNull())
            rows.append({localizedString(row.labelKey), value});
    }
}

void InfoPanelRows::appendRawRows(const QString& path, QList<Row>& rows) const {
    const PictureMetadata raw = RawPictureReader(path).metadata();
    if (!raw.size.isEmpty())
        rows.append({localizedString("Dimensions"),
                     QStringLiteral("%1 x %2").arg(raw.size.width()).arg(raw.size.height())});
    // Written as libexif renders the same tags of a JPEG file.
    if (raw.exposureSeconds > 0) {
        const QString exposure =
            raw.exposureSeconds < 1
                ? QStringLiteral("1/%1 sec.").arg(std::lround(1 / raw.exposureSeconds))
                : QStringLiteral("%1 sec.").arg(raw.exposureSeconds, 0, 'g', 3);
        rows.append({localizedString("Exposure"), exposure});
    }
    if (raw.fNumber > 0)
        rows.append(
            {localizedString("F-Number"), QStringLiteral("f/%1").arg(raw.fNumber, 0, 'f', 1)});
    if (raw.focalLength > 0)
        rows.append({localizedString("Focal length"),
                     QStringLiteral("%1 mm").arg(raw.focalLength, 0, 'f', 1)});
    if (raw.iso > 0)
        rows.append({localizedString("ISO Rating"), QString::number(raw.iso)});
    if (!raw.make.isEmpty())
        rows.append({localizedString("Camera Make"), raw.make});
    if (!raw.model.isEmpty())
        rows.append({localizedString("Camera Model"), raw.model});
}

void InfoPanelRows::appendMovieRows(const QString& path, QList<Row>& rows) const {
    if (!m_movieReader)
        return;
    const MovieMetadata movie = m_movieReader(path);
    if (movie.pixelWidth && movie.pixelHeight)
        rows.append({localizedString("Dimensions"),
                     QStringLiteral("%1 x %2").arg(*movie.pixelWidth).arg(*movie.pixelHeight)});
    if (movie.durationSeconds && std::isfinite(*movie.durationSeconds))
        rows.append(
            {localizedString("Duration"), StringUtils::stringFromDurationInSeconds(
                                              static_cast<qint64>(*movie.durationSeconds))});
    if (!movie.codecs.isEmpty())
        rows.append({localizedString("Codecs"), movie.codecs.join(QLatin1Char('\n'))});
    const QString bitsPerSecond = localizedString("bits/sec");
    if (movie.videoBitRate)
        rows.append({localizedString("Video Bitrate"), ByteCountFormatter::stringFromByteCount(
                                                           *movie.videoBitRate, bitsPerSecond,
                                                           ByteCountFormatter::DecimalCountStyle)});
    if (movie.audioBitRate)
        rows.append({localizedString("Audio Bitrate"), ByteCountFormatter::stringFromByteCount(
                                                           *movie.audioBitRate, bitsPerSecond,
                                                           ByteCountFormatter::DecimalCountStyle)});
}

QString InfoPanelRows::formattedDate(const QDateTime& date, const QLocale& locale) {
    if (!date.isValid())
        return {};
    // Qt has long and short dates; the medium one is the long one with the
    // month's name abbreviated and without the weekday.
    QString dateFormat = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("d{4}[,.]?\\s*"));
    dateFormat.remove(weekday);
    dateFormat.replace(QLatin1String("MMMM"), QLatin1String("MMM"));
    const QDateTime local = date.toLocalTime();
    return locale.toString(local.date(), dateFormat.trimmed()) + QLatin1Char(' ') +
           locale.toString(local.time(), QLocale::ShortFormat);
}
