// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailMaker.h"

#include "PictureDecoder.h"

#include "FileUtils.h"
#include "OpenedPath.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <utility>

namespace {

QMutex& movieSourceLock() {
    static QMutex lock;
    return lock;
}

ThumbnailMaker::MovieFrameSource& movieSource() {
    static ThumbnailMaker::MovieFrameSource source;
    return source;
}

// Any picture's EXIF thumbnail serves the grid whatever its size; a RAW
// file's preview is demosaiced past only when it is too small.
PictureDecoder::Request thumbnailRequest(int pixels) {
    PictureDecoder::Request request;
    request.pixels = std::max(pixels, 1);
    request.exifThumbnail = true;
    return request;
}

} // namespace

QImage ThumbnailMaker::makeThumbnail(const QString& path, int pixels, QSize* originalSize) {
    if (originalSize)
        *originalSize = QSize();
    // The kind by the name as listed; the bytes through a path Qt can open.
    const OpenedPath opened(path);
    if (opened.path().isEmpty())
        return QImage();
    if (FileUtils::isImageFile(path)) {
        PictureDecoder::Result picture = PictureDecoder::decode(
            opened.path(), thumbnailRequest(pixels), PictureDecoder::formatByName(path));
        if (originalSize)
            *originalSize = picture.originalSize;
        return picture.image;
    }
    if (FileUtils::isVideoFile(path)) {
        MovieFrameSource source;
        {
            QMutexLocker locker(&movieSourceLock());
            source = movieSource();
        }
        return source ? scaledToFit(source(opened.path(), pixels), pixels) : QImage();
    }
    return QImage();
}

QImage ThumbnailMaker::thumbnailFromBytes(const QByteArray& bytes, int pixels) {
    return PictureDecoder::decode(bytes, thumbnailRequest(pixels)).image;
}

QImage ThumbnailMaker::scaledToFit(const QImage& image, int pixels) {
    return PictureDecoder::scaledToFit(image, std::max(pixels, 1));
}

void ThumbnailMaker::setMovieFrameSource(MovieFrameSource source) {
    QMutexLocker locker(&movieSourceLock());
    movieSource() = std::move(source);
}

bool ThumbnailMaker::hasMovieFrameSource() {
    QMutexLocker locker(&movieSourceLock());
    return bool(movieSource());
}
