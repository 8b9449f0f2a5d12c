// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScaledJpegReader.h"

#include <QFile>

#include <turbojpeg.h>

namespace {

struct Decoder {
    tjhandle handle = tjInitDecompress();
    ~Decoder() {
        if (handle)
            tjDestroy(handle);
    }
};

bool readHeader(tjhandle handle, const QByteArray& bytes, QSize* size) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width <= 0 || height <= 0)
        return false;
    *size = QSize(width, height);
    return true;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

QSize ScaledJpegReader::storedSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSize();
    Decoder decoder;
    QSize size;
    // The header normally sits in the first kilobytes; read on only when the
    // markers before the frame header are larger.
    QByteArray head = file.read(64 * 1024);
    if (decoder.handle && !readHeader(decoder.handle, head, &size) && !file.atEnd()) {
        head += file.readAll();
        readHeader(decoder.handle, head, &size);
    }
    return size;
}

QSize ScaledJpegReader::storedSize(const QByteArray& jpeg) {
    Decoder decoder;
    QSize size;
    if (decoder.handle)
        readHeader(decoder.handle, jpeg, &size);
    return size;
}

QImage ScaledJpegReader::read(const QString& path, const QSize& atLeast) {
    return read(readFile(path), atLeast);
}

QImage ScaledJpegReader::read(const QByteArray& bytes, const QSize& atLeast) {
    Decoder decoder;
    QSize full;
    if (bytes.isEmpty() || !decoder.handle || !readHeader(decoder.handle, bytes, &full))
        return QImage();
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    QSize scaled = full;
    for (int i = 0; factors && i < count; ++i) {
        const QSize candidate(TJSCALED(full.width(), factors[i]),
                              TJSCALED(full.height(), factors[i]));
        if (factors[i].num > factors[i].denom)
            continue;
        if (candidate.width() >= atLeast.width() && candidate.height() >= atLeast.height() &&
            qint64(candidate.width()) * candidate.height() <
                qint64(scaled.width()) * scaled.height())
            scaled = candidate;
    }

    QImage image(scaled, QImage::Format_RGB888);
    if (image.isNull())
        return QImage();
    if (tjDecompress2(decoder.handle, reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<unsigned long>(bytes.size()), image.bits(), scaled.width(),
                      static_cast<int>(image.bytesPerLine()), scaled.height(), TJPF_RGB,
                      TJFLAG_ACCURATEDCT) != 0 &&
        tjGetErrorCode(decoder.handle) == TJERR_FATAL)
        return QImage();
    return image;
}
