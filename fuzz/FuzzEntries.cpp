// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzEntries.h"

#include "Exif.h"
#include "ExifDataIO.h"
#include "ExifOrient.h"
#include "ImageUtils.h"
#include "JpegData.h"

#include <FileManagerUtils.h>

#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace {

// A scratch file holding the input, removed when done.
class ScratchFile {
public:
    ScratchFile(const std::uint8_t* data, std::size_t size)
        : path_(FileManagerUtils::temporaryFilename()) {
        QFile file(path_);
        if (!path_.isEmpty() && file.open(QIODevice::WriteOnly))
            ok_ = file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
    }
    ~ScratchFile() {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }
    bool ok() const { return ok_; }
    const QString& path() const { return path_; }
    QByteArray nativePath() const { return QFile::encodeName(path_); }

private:
    QString path_;
    bool ok_ = false;
};

constexpr int kTagsRead[] = {271,   272,   274,   33434, 33437, 34675, 34855, 36868, 37379,
                             37380, 37385, 37386, 40961, 41987, 41990, 41992, 41993};

} // namespace

int FuzzEntries::jpegSections(const std::uint8_t* data, std::size_t size) {
    if (size > 0xFFFFFFu)
        return 0;
    JPEGData* jpeg = jpeg_data_new_from_data(data, static_cast<unsigned int>(size));
    ExifData* exif = jpeg_data_get_exif_data(jpeg);
    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    jpeg_data_save_data(jpeg, &saved, &savedSize);
    if (saved) {
        JPEGData* again = jpeg_data_new_from_data(saved, savedSize);
        if (exif)
            jpeg_data_set_exif_data(again, exif);
        unsigned char* twice = nullptr;
        unsigned int twiceSize = 0;
        jpeg_data_save_data(again, &twice, &twiceSize);
        std::free(twice);
        jpeg_data_unref(again);
        std::free(saved);
    }
    ExifData* empty = ExifDataIO::newExifData();
    jpeg_data_set_exif_data(jpeg, empty);
    exif_data_unref(empty);
    if (exif)
        exif_data_unref(exif);
    for (unsigned int i = 0; jpeg && i < jpeg->count; ++i) {
        jpeg_marker_get_name(jpeg->sections[i].marker);
        jpeg_marker_get_description(jpeg->sections[i].marker);
    }
    jpeg_data_unref(jpeg);
    return 0;
}

int FuzzEntries::exifOrient(const std::uint8_t* data, std::size_t size) {
    ScratchFile file(data, size);
    if (!file.ok())
        return 0;
    unsigned char value = 0;
    exif_orient(file.nativePath().constData(), &value);
    value = 1;
    exif_orient(file.nativePath().constData(), &value);
    if (QFileInfo(file.path()).size() != qint64(size))
        std::abort(); // patching in place must never change the file's size
    return 0;
}

int FuzzEntries::exifRead(const std::uint8_t* data, std::size_t size) {
    ExifData* parsed = ExifDataIO::loadExifData(data, size);
    if (parsed)
        exif_data_unref(parsed);
    ScratchFile file(data, size);
    if (!file.ok())
        return 0;
    Exif exif(file.path());
    for (int tag : kTagsRead)
        exif.getTagValue(tag);
    Exif::getExifThumbnail(file.path());
    ImageUtils::getCreationDateForImage(file.path());
    return 0;
}
