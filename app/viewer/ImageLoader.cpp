// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageLoader.h"

#include "DecodeLimits.h"
#include "OpenedPath.h"
#include "PictureDecoder.h"
#include "PoolTask.h"

#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QThreadPool>

#include <algorithm>

namespace {

// Mesa's software renderer takes textures up to this size.
std::atomic_int sMaxSide{16384};
std::atomic_int sScreenSide{2560};

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
    PictureDecoder::Request request;
    request.pixels = maxSide;
    // A RAW file's embedded preview as large as the screen serves; more
    // detail is read when the picture is zoomed past it.
    if (!fullDetail)
        request.rawPreviewSuffices = std::min(screenSide, maxSide);
    PictureDecoder::Result picture;
    const PictureDecoder::Format named = PictureDecoder::formatByName(path);
    QFile file(opened.path());
    if (!file.open(QIODevice::ReadOnly))
        return result;
    if (named == PictureDecoder::Format::Raw || named == PictureDecoder::Format::Heif) {
        file.close();
        result.read = true;
        if (cancelled.load())
            return result;
        // Read by path: a RAW file's preview is a small part of it.
        picture = PictureDecoder::decode(opened.path(), request, named);
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return result;
        result.read = true;
        if (cancelled.load())
            return result;
        picture =
            PictureDecoder::decode(bytes, request, PictureDecoder::formatOf(path, bytes.left(64)));
    }
    result.image = picture.image;
    const QSize shown = picture.image.size();
    result.moreDetail =
        picture.source == PictureDecoder::Source::RawPreview &&
        std::max(shown.width(), shown.height()) <
            std::min(std::max(picture.originalSize.width(), picture.originalSize.height()),
                     maxSide);
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
