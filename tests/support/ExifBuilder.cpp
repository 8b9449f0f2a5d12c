// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifBuilder.h"

#include <libexif/exif-utils.h>

#include <cstdlib>
#include <cstring>

ExifBuilder::ExifBuilder(ExifByteOrder order)
    : m_exif(exif_data_new())
    , m_byteOrder(order) {
    exif_data_set_byte_order(m_exif.get(), order);
}

ExifBuilder::ExifBuilder(ExifData* data)
    : m_exif(data)
    , m_byteOrder(exif_data_get_byte_order(data)) {}

void ExifBuilder::addEntry(ExifIfd ifd, ExifTag tag, ExifFormat format, const void* bytes,
                           unsigned int components, unsigned int size) {
    ExifMem* mem = exif_mem_new_default();
    ExifEntry* entry = exif_entry_new_mem(mem);
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(mem, size));
    std::memcpy(entry->data, bytes, size);
    entry->size = size;
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    exif_content_add_entry(m_exif->ifd[ifd], entry);
    exif_entry_unref(entry);
    exif_mem_unref(mem);
}

void ExifBuilder::addText(ExifIfd ifd, ExifTag tag, const std::string& text) {
    const auto size = static_cast<unsigned int>(text.size() + 1);
    addEntry(ifd, tag, EXIF_FORMAT_ASCII, text.c_str(), size, size);
}

void ExifBuilder::addShort(ExifIfd ifd, ExifTag tag, int value) {
    unsigned char bytes[2];
    exif_set_short(bytes, m_byteOrder, static_cast<ExifShort>(value));
    addEntry(ifd, tag, EXIF_FORMAT_SHORT, bytes, 1, 2);
}

void ExifBuilder::setThumbnail(const std::vector<unsigned char>& jpeg) {
    std::free(m_exif->data);
    m_exif->data = static_cast<unsigned char*>(std::malloc(jpeg.size()));
    std::memcpy(m_exif->data, jpeg.data(), jpeg.size());
    m_exif->size = static_cast<unsigned int>(jpeg.size());
}

std::vector<unsigned char> ExifBuilder::payload() const {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(m_exif.get(), &bytes, &size);
    std::vector<unsigned char> block(bytes, bytes + size);
    std::free(bytes);
    return block;
}

std::vector<unsigned char> ExifBuilder::withApp1(const std::vector<unsigned char>& jpeg,
                                                 const std::vector<unsigned char>& payload) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8 || payload.size() + 2 > 0xFFFF)
        return {};
    std::size_t rest = 2;
    if (jpeg[2] == 0xFF && jpeg[3] == 0xE0 && jpeg.size() >= 6)
        rest = 4 + ((static_cast<std::size_t>(jpeg[4]) << 8) | jpeg[5]);
    if (rest > jpeg.size())
        return {};
    std::vector<unsigned char> file = {0xFF, 0xD8};
    if (!payload.empty()) {
        const std::size_t length = payload.size() + 2;
        file.insert(file.end(), {0xFF, 0xE1, static_cast<unsigned char>(length >> 8),
                                 static_cast<unsigned char>(length & 0xFF)});
        file.insert(file.end(), payload.begin(), payload.end());
    }
    file.insert(file.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(rest), jpeg.end());
    return file;
}
