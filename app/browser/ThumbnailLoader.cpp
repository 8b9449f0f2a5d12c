// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailLoader.h"

#include "ThumbnailCache.h"
#include "ThumbnailMaker.h"

#include "FileUtils.h"

ThumbnailLoader::Result ThumbnailLoader::load(const QString& path, int pixels) {
    // The root follows $XDG_CACHE_HOME as it is at the time of the call.
    const ThumbnailCache cache;
    if (cache.isInsideCache(path)) {
        const QImage image = ThumbnailMaker::makeThumbnail(path, pixels);
        return {image, image.isNull()};
    }
    const QImage cached = cache.read(path, pixels);
    if (!cached.isNull())
        return {ThumbnailMaker::scaledToFit(cached, pixels), false};
    if (cache.hasFailed(path))
        return {QImage(), true};

    QSize originalSize;
    const QImage image = ThumbnailMaker::makeThumbnail(path, pixels, &originalSize);
    if (image.isNull()) {
        // A movie before the program installed its frame source is no
        // failure of the file.
        const bool movieWithoutSource = !ThumbnailMaker::hasMovieFrameSource() &&
                                        !FileUtils::isImageFile(path) &&
                                        FileUtils::isVideoFile(path);
        if (!movieWithoutSource)
            cache.recordFailure(path);
        return {QImage(), true};
    }
    cache.write(path, image, originalSize.width(), originalSize.height());
    return {image, false};
}
