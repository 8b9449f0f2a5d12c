// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegTransform.h"

#include "ImageTransform.h"

#include <FileManagerUtils.h>

#include <QFile>

#include <turbojpeg.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

struct TjHandle {
    tjhandle handle = tjInitTransform();
    ~TjHandle() {
        if (handle)
            tjDestroy(handle);
    }
};

bool writeWhole(const QString& path, const unsigned char* bytes, unsigned long size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 written = file.write(reinterpret_cast<const char*>(bytes), qint64(size));
    // On disk before it is renamed over the original.
    const bool flushed = file.flush() && fsync(file.handle()) == 0;
    file.close();
    return written == qint64(size) && flushed && file.error() == QFileDevice::NoError;
}

constexpr qint64 maxTransformPixels = qint64(1) << 30;

} // namespace

char* jpegTransform(const char* path, int transform) {
    if (!path || transform < JXFORM_NONE || transform > JXFORM_ROT_270)
        return nullptr;
    const QString source = QFile::decodeName(path);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = in.readAll();
    in.close();
    if (bytes.isEmpty())
        return nullptr;
    const auto* jpeg = reinterpret_cast<const unsigned char*>(bytes.constData());

    TjHandle tj;
    if (!tj.handle)
        return nullptr;
    int width = 0, height = 0, subsampling = -1, colorspace = 0;
    if (tjDecompressHeader3(tj.handle, jpeg, static_cast<unsigned long>(bytes.size()), &width,
                            &height, &subsampling, &colorspace) != 0 ||
        subsampling < 0 || subsampling >= TJ_NUMSAMP)
        return nullptr;
    // A few hundred bytes may claim 65535 x 65535 pixels; the transform would
    // then allocate gigabytes of coefficients. No camera makes a gigapixel
    // JPEG, so refuse anything larger.
    if (qint64(width) * qint64(height) > maxTransformPixels)
        return nullptr;
    // Partial MCUs at the right or bottom edge cannot be moved losslessly;
    // refuse them for every code, flips included.
    if (width <= 0 || height <= 0 || width % tjMCUWidth[subsampling] != 0 ||
        height % tjMCUHeight[subsampling] != 0)
        return nullptr;

    tjtransform options;
    std::memset(&options, 0, sizeof options);
    options.op = transform;
    options.options = TJXOPT_PERFECT; // markers are copied (no TJXOPT_COPYNONE)
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    if (tjTransform(tj.handle, jpeg, static_cast<unsigned long>(bytes.size()), 1, &out, &outSize,
                    &options, 0) != 0 ||
        !out) {
        tjFree(out);
        return nullptr;
    }

    const QString target = FileManagerUtils::temporaryFilename(source);
    const bool ok = !target.isEmpty() && writeWhole(target, out, outSize);
    tjFree(out);
    if (!ok) {
        if (!target.isEmpty())
            QFile::remove(target);
        return nullptr;
    }
    return strdup(QFile::encodeName(target).constData());
}
