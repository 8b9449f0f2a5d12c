// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransformFuzzEntry.h"

#include "ImageUtils.h"
#include "JpegTransform.h"

#include <FileManagerUtils.h>

#include <QFile>

#include <turbojpeg.h>

#include <cstdlib>

namespace {

bool withinLimits(const std::uint8_t* data, std::size_t size) {
    tjhandle handle = tjInitDecompress();
    if (!handle)
        return false;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    const bool read = tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width,
                                          &height, &subsampling, &colorspace) == 0;
    tjDestroy(handle);
    if (read && static_cast<long long>(width) * height > TransformFuzzEntry::kMaxPixels)
        return false;
    int scans = 0;
    for (std::size_t i = 0; i + 1 < size; ++i)
        if (data[i] == 0xFF && data[i + 1] == 0xDA && ++scans > TransformFuzzEntry::kMaxScans)
            return false;
    return true;
}

} // namespace

int TransformFuzzEntry::jpegTransform(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > (1u << 20) || !withinLimits(data, size))
        return 0;
    const QString path = FileManagerUtils::temporaryFilename();
    if (path.isEmpty())
        return 0;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size)) {
        file.close();
        if (char* result = ::jpegTransform(QFile::encodeName(path).constData(), int(size % 8))) {
            QFile::remove(QFile::decodeName(result));
            std::free(result);
        }
    }
    QFile::remove(path);
    // The in-memory turn also rebuilds the EXIF block and its thumbnail.
    ImageUtils::losslesslyTransformed(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)),
        int(size % 8));
    return 0;
}
