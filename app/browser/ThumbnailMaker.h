// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Makes the thumbnail of a picture or movie, upright, at least `pixels` on
// its longer side where the source is that large, by the cheapest way that
// is good enough: pictures through PictureDecoder (the EXIF-embedded
// thumbnail, a RAW file's embedded preview, a JPEG decoded at the smallest
// DCT scale that covers the size, libheif, Qt's readers with a scaled read
// where the format offers one), a movie through the movie frame source.
// Declared sizes are checked before decoding, so a decompression bomb is
// refused. Any thread.
namespace ThumbnailMaker {

// Null when the file is neither picture nor movie or cannot be decoded.
// `originalSize`, when given, receives the upright size of the original
// where the way taken reads it (invalid otherwise).
QImage makeThumbnail(const QString& path, int pixels, QSize* originalSize = nullptr);
// The picture path for bytes read from a file (also the fuzzing entry).
QImage thumbnailFromBytes(const QByteArray& bytes, int pixels);

// `image` scaled down so its longer side is at most max(pixels, 1); never
// scaled up.
QImage scaledToFit(const QImage& image, int pixels);

// Where movie frames come from (the program installs the FFmpeg reader;
// without one, movies get no thumbnail).
using MovieFrameSource = std::function<QImage(const QString& path, int pixels)>;
void setMovieFrameSource(MovieFrameSource source);
bool hasMovieFrameSource();

} // namespace ThumbnailMaker
