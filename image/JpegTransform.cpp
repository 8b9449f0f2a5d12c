// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegTransform.h"

#include "ImageTransform.h"

#include <FileCopy.h>
#include <FileManagerUtils.h>

#include <QFile>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct TjHandle {
    tjhandle handle = tjInitTransform();
    ~TjHandle() {
        if (handle)
            tjDestroy(handle);
    }
};

constexpr qint64 maxTransformPixels = qint64(1) << 30;

} // namespace

QByteArray jpegTransformData(const QByteArray& bytes, int transform) {
    if (bytes.isEmpty() || transform < JXFORM_NONE || transform > JXFORM_ROT_270)
        return QByteArray();
    const auto* jpeg = reinterpret_cast<const unsigned char*>(bytes.constData());

    TjHandle tj;
    if (!tj.handle)
        return QByteArray();
    int width = 0, height = 0, subsampling = -1, colorspace = 0;
    if (tjDecompressHeader3(tj.handle, jpeg, static_cast<unsigned long>(bytes.size()), &width,
                            &height, &subsampling, &colorspace) != 0 ||
        subsampling < 0 || subsampling >= TJ_NUMSAMP)
        return QByteArray();
    // A few hundred bytes may claim 65535 x 65535 pixels; the transform would
    // then allocate gigabytes of coefficients. No camera makes a gigapixel
    // JPEG, so refuse anything larger.
    if (qint64(width) * qint64(height) > maxTransformPixels)
        return QByteArray();
    // Partial MCUs at the right or bottom edge cannot be moved losslessly;
    // refuse them for every code, flips included.
    if (width <= 0 || height <= 0 || width % tjMCUWidth[subsampling] != 0 ||
        height % tjMCUHeight[subsampling] != 0)
        return QByteArray();

    tjtransform options;
    std::memset(&options, 0, sizeof options);
    options.op = transform;
    options.options = TJXOPT_PERFECT; // markers are copied (no TJXOPT_COPYNONE)
    // Written straight into the result: room for the worst-case entropy data
    // in either orientation, plus every marker of the source.
    const unsigned long worstCase = std::max(tjBufSize(width, height, subsampling),
                                             tjBufSize(height, width, subsampling));
    if (worstCase == static_cast<unsigned long>(-1) ||
        worstCase > static_cast<unsigned long>(std::numeric_limits<qsizetype>::max() / 2))
        return QByteArray();
    QByteArray result(qsizetype(worstCase) + bytes.size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(result.data());
    unsigned long outSize = static_cast<unsigned long>(result.size());
    if (tjTransform(tj.handle, jpeg, static_cast<unsigned long>(bytes.size()), 1, &out, &outSize,
                    &options, TJFLAG_NOREALLOC) != 0 ||
        out != reinterpret_cast<unsigned char*>(result.data()) || outSize == 0 ||
        outSize > static_cast<unsigned long>(result.size()))
        return QByteArray();
    result.truncate(qsizetype(outSize));
    return result;
}

char* jpegTransform(const char* path, int transform) {
    if (!path)
        return nullptr;
    const QString source = QFile::decodeName(path);
    QByteArray bytes;
    if (!FileCopy::readContents(source, &bytes))
        return nullptr;
    const QByteArray transformed = jpegTransformData(bytes, transform);
    bytes.clear();
    if (transformed.isEmpty())
        return nullptr;

    const QString target = FileManagerUtils::temporaryFilename(source);
    // On disk before it is renamed over the original.
    if (target.isEmpty() || !FileCopy::writeContents(target, transformed)) {
        if (!target.isEmpty())
            QFile::remove(target);
        return nullptr;
    }
    return strdup(QFile::encodeName(target).constData());
}
