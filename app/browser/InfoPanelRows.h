// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"
#include "MovieMetadata.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

#include <functional>
#include <utility>

// The information panel's rows for the browser's selection, in the order
// the panel shows them: file name, size and date, then an image's
// dimensions and EXIF details (a RAW file's from libraw, a HEIF file's from
// its EXIF item), or a movie's dimensions, duration, codecs
// and bit rates. A row whose value the file does not give is left out.
// Reads the file (EXIF block, header) but decodes no pixels; movies are
// asked through the reader handed in. Any thread, one per instance.
class InfoPanelRows {
public:
    // A row: the label's text and the value.
    using Row = std::pair<QString, QString>;
    using MovieMetadataReader = std::function<MovieMetadata(const QString& path)>;

    // The EXIF tags shown for images, in order, with their label keys.
    struct ExifRow {
        int tag;
        const char* labelKey;
    };
    static const QList<ExifRow>& exifRows();

    // Without a reader movies get no movie rows.
    explicit InfoPanelRows(MovieMetadataReader movieReader = {});

    // Empty unless the selection is exactly one image or movie.
    QList<Row> rowsForSelection(const QList<BrowserItemPtr>& selection) const;
    QList<Row> rowsForItem(const QString& path, BrowserItemType type) const;

    // Medium date, short time, in the locale's words ("Mar 7, 2024 9:41 AM").
    static QString formattedDate(const QDateTime& date, const QLocale& locale = QLocale());

private:
    void appendImageRows(const QString& path, QList<Row>& rows) const;
    // RAW files: from libraw's reading of the camera's own structures.
    void appendRawRows(const QString& path, QList<Row>& rows) const;
    void appendMovieRows(const QString& path, QList<Row>& rows) const;

    MovieMetadataReader m_movieReader;
};
