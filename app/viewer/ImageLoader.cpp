// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageLoader.h"

#include "DecodeLimits.h"
#include "OpenedPath.h"
#include "PictureDecoder.h"
#include "PoolTask.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QThreadPool>

#include <algorithm>

namespace {

// Mesa's software renderer takes textures up to this size.
std::atomic_int sMaxSide{16384};
std::atomic_int sScreenSide{2560};

// RAW and HEIF files by name (the bytes are read through `opened`).
PictureDecoder::Result decodeThroughPictureDecoder(const QString& opened,
                                                   PictureDecoder::Format format, int maxSide,
                                                   int screenSide, bool fullDetail) {
    PictureDecoder::Request request;
    request.pixels = maxSide;
    // The embedded preview first; demosaiced only when it is smaller than
    // the screen or more detail is asked for.
    request.demosaicRaw = fullDetail;
    PictureDecoder::Result result = PictureDecoder::decode(opened, request, format);
    const QSize shown = result.image.size();
    if (format == PictureDecoder::Format::Raw && !fullDetail &&
        std::max(shown.width(), shown.height()) < std::min(screenSide, maxSide)) {
        request.demosaicRaw = true;
        PictureDecoder::Result full = PictureDecoder::decode(opened, request, format);
        if (!full.image.isNull())
            return full;
    }
    return result;
}

} // namespace

struct ImageLoader::Decoded {
    bool read = false;
    QImage image;
    bool moreDetail = false;
};

ImageLoader::ImageLoader(const QString& path, QObject* parent)
    : QObject(parent) {
    loadImage(path);
}

ImageLoader::~ImageLoader() {
    abandonRead();
}

int ImageLoader::maxSide() {
    return sMaxSide.load();
}

void ImageLoader::setMaxSide(int pixels) {
    sMaxSide.store(std::max(pixels, 1));
}

int ImageLoader::screenSide() {
    return sScreenSide.load();
}

void ImageLoader::setScreenSide(int pixels) {
    sScreenSide.store(std::max(pixels, 1));
}

void ImageLoader::abandonRead() {
    if (m_cancelled)
        m_cancelled->store(true);
    m_cancelled.reset();
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
}

void ImageLoader::loadImage(const QString& path) {
    // Photographs of up to 200 megapixels decode; set once for the process.
    [[maybe_unused]] static const bool allowed = (DecodeLimits::allowLargePhotographs(), true);

    abandonRead();
    m_image = QImage();
    m_path = path;
    m_status = StatusLoading;
    m_moreDetail = false;
    loadStarted();
    startRead(false);
}

void ImageLoader::loadFullDetail() {
    if (!m_moreDetail || m_watcher)
        return;
    m_moreDetail = false;
    startRead(true);
}

void ImageLoader::startRead(bool fullDetail) {
    const quint64 generation = ++m_generation;
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    m_cancelled = cancelled;
    m_watcher = new Watcher(this);
    connect(m_watcher, &Watcher::finished, this,
            [this, watcher = m_watcher, generation] { readFinished(watcher, generation); });
    m_watcher->setFuture(
        PoolTask::run(QThreadPool::globalInstance(),
                      [path = m_path, side = maxSide(), screen = screenSide(), fullDetail,
                       cancelled] { return decode(path, side, screen, fullDetail, *cancelled); }));
}

ImageLoader::Decoded ImageLoader::decode(const QString& path, int maxSide, int screenSide,
                                         bool fullDetail, const std::atomic_bool& cancelled) {
    Decoded result;
    const OpenedPath opened(path);
    // Not a folder, or a FIFO that would never end.
    if (opened.path().isEmpty() || !QFileInfo(opened.path()).isFile())
        return result;
    const PictureDecoder::Format format = PictureDecoder::formatByName(path);
    if (format == PictureDecoder::Format::Raw || format == PictureDecoder::Format::Heif) {
        result.read = QFile(opened.path()).open(QIODevice::ReadOnly);
        if (!result.read || cancelled.load())
            return result;
        const PictureDecoder::Result picture =
            decodeThroughPictureDecoder(opened.path(), format, maxSide, screenSide, fullDetail);
        result.image = picture.image;
        const QSize shown = picture.image.size();
        result.moreDetail =
            picture.source == PictureDecoder::Source::RawPreview &&
            std::max(shown.width(), shown.height()) <
                std::min(std::max(picture.originalSize.width(), picture.originalSize.height()),
                         maxSide);
        return result;
    }
    QFile file(opened.path());
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return result;
    result.read = true;
    if (cancelled.load())
        return result;

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    // A declared size beyond any camera's is a decompression bomb.
    if (declared.isValid() &&
        qint64(declared.width()) * declared.height() > DecodeLimits::maximumPixels)
        return result;
    // The scaled size is of the stored picture; the box is square, so the
    // turn to upright keeps it inside.
    if (declared.width() > maxSide || declared.height() > maxSide) {
        if (reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(
                declared.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    result.image = std::move(image);
    return result;
}

void ImageLoader::readFinished(Watcher* watcher, quint64 generation) {
    // The watcher is done; it goes once its signal has returned.
    watcher->deleteLater();
    if (watcher != m_watcher || generation != m_generation)
        return;
    m_watcher = nullptr;
    m_cancelled.reset();
    const Decoded decoded = watcher->result();
    if (!decoded.read) {
        m_status = StatusFailed;
        emit imageError(this);
        return;
    }
    m_status = StatusReady;
    m_moreDetail = decoded.moreDetail;
    // A full-detail read that fails keeps the preview.
    if (!decoded.image.isNull() || m_image.isNull())
        m_image = decoded.image;
    imageLoaded();
    emit imageReady(this);
}
