// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegCoefficientTransformer.h"

#include "ImageTransform.h"
#include "TiffReader.h"

#include <QLoggingCategory>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <utility>

#include <jerror.h>
#include <jpeglib.h>

Q_LOGGING_CATEGORY(lcJpegTransform, "pixhaul.image.transform", QtInfoMsg)

namespace {

constexpr unsigned long long maxPixels = 1ull << 30;
// Cameras write one scan, progressive encoders about ten; a few hundred
// bytes of hostile input could otherwise make the decoder run thousands.
constexpr int maxScans = 500;

// Where a block of the turned image comes from: the transposed source
// (rows and columns swapped) read right to left and/or bottom to top.
struct Geometry {
    bool transpose;
    bool mirrorColumns;
    bool mirrorRows;
};

// Indexed by JpegTransformCode. A rotation by 90 degrees clockwise is a
// transpose followed by a left-right mirror, and so on.
constexpr Geometry geometries[] = {
    {false, false, false}, // NONE
    {false, true, false},  // FLIP_H
    {false, false, true},  // FLIP_V
    {true, false, false},  // TRANSPOSE
    {true, true, true},    // TRANSVERSE
    {true, true, false},   // ROT_90
    {false, true, true},   // ROT_180
    {true, false, true},   // ROT_270
};

struct ErrorManager {
    jpeg_error_mgr library; // first, so the library's pointer casts to ours
    std::jmp_buf* jump;
    char message[JMSG_LENGTH_MAX];
};

// Everything one transform needs, zero-initialised and without destructors,
// since libjpeg leaves through longjmp.
struct Session {
    jpeg_decompress_struct source;
    jpeg_compress_struct target;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    jpeg_destination_mgr destination;
    std::jmp_buf jump;

    Geometry geometry;
    int sourceIndex[DCTSIZE2]; // coefficient of the source block for each target position
    int sign[DCTSIZE2];        // +1 or -1: odd frequencies change sign in a mirror

    jvirt_barray_ptr* sourceCoefficients;
    int components;
    jvirt_barray_ptr placeholders[MAX_COMPONENTS];
    JDIMENSION widthInBlocks[MAX_COMPONENTS]; // of the target component
    JDIMENSION heightInBlocks[MAX_COMPONENTS];
    JBLOCKARRAY scratch[MAX_COMPONENTS];
    JDIMENSION scratchRows[MAX_COMPONENTS];
    JBLOCKARRAY (*libraryAccess)(j_common_ptr, jvirt_barray_ptr, JDIMENSION, JDIMENSION, boolean);

    QByteArray* output; // owned by the caller
    size_t written;
};

// The library's memory of each half goes with these, however the transform
// ended; destroying a half that was never created (zeroed) does nothing.
struct DecompressDestroy {
    void operator()(jpeg_decompress_struct* source) const { jpeg_destroy_decompress(source); }
};
struct CompressDestroy {
    void operator()(jpeg_compress_struct* target) const { jpeg_destroy_compress(target); }
};

Session* sessionOf(j_common_ptr cinfo) {
    return static_cast<Session*>(cinfo->client_data);
}

[[noreturn]] void leave(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(*errors->jump, 1);
}

// libjpeg's warnings report damaged data (a premature end, bad Huffman
// codes, bytes between markers): such a file is refused, not half turned.
void leaveOnWarning(j_common_ptr cinfo, int level) {
    if (level < 0)
        leave(cinfo);
}

void discardMessage(j_common_ptr) {}

void limitScans(j_common_ptr cinfo) {
    auto* source = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (source->input_scan_number <= maxScans)
        return;
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(errors->message, sizeof errors->message, "more than %d scans", maxScans);
    std::longjmp(*errors->jump, 1);
}

// Never throws: QByteArray reports a failed allocation by std::bad_alloc.
bool resizeOutput(QByteArray* output, qsizetype size) noexcept {
    try {
        output->resize(size);
        return true;
    } catch (...) {
        return false;
    }
}

void startOutput(j_compress_ptr cinfo) {
    Session* session = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    session->destination.next_output_byte = reinterpret_cast<JOCTET*>(session->output->data());
    session->destination.free_in_buffer = size_t(session->output->size());
}

boolean growOutput(j_compress_ptr cinfo) {
    Session* session = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    const qsizetype used = session->output->size();
    const qsizetype room = std::numeric_limits<qsizetype>::max() - used;
    const qsizetype step = std::min(room, used / 2 + 65536);
    if (step <= 0 || !resizeOutput(session->output, used + step))
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    session->destination.next_output_byte =
        reinterpret_cast<JOCTET*>(session->output->data()) + used;
    session->destination.free_in_buffer = size_t(step);
    return TRUE;
}

void finishOutput(j_compress_ptr cinfo) {
    Session* session = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    session->written = size_t(session->output->size()) - session->destination.free_in_buffer;
}

void prepareBlockMap(Session* session) {
    const Geometry& geometry = session->geometry;
    for (int row = 0; row < DCTSIZE; ++row) {
        for (int column = 0; column < DCTSIZE; ++column) {
            const int index = row * DCTSIZE + column;
            session->sourceIndex[index] = geometry.transpose ? column * DCTSIZE + row : index;
            const bool negate =
                (geometry.mirrorColumns && (column & 1)) != (geometry.mirrorRows && (row & 1));
            session->sign[index] = negate ? -1 : 1;
        }
    }
}

void transformBlock(const Session* session, const JCOEF* in, JCOEF* out) {
    for (int index = 0; index < DCTSIZE2; ++index)
        out[index] = JCOEF(in[session->sourceIndex[index]] * session->sign[index]);
}

JBLOCKROW sourceRow(Session* session, int component, JDIMENSION row) {
    j_common_ptr source = reinterpret_cast<j_common_ptr>(&session->source);
    // One row per call is within every array's access limit.
    return (*session->source.mem->access_virt_barray)(
        source, session->sourceCoefficients[component], row, 1, FALSE)[0];
}

void fillRow(Session* session, int component, JDIMENSION row, JBLOCKROW out) {
    const Geometry& geometry = session->geometry;
    const JDIMENSION width = session->widthInBlocks[component];
    const JDIMENSION height = session->heightInBlocks[component];
    const JDIMENSION turnedRow = geometry.mirrorRows ? height - 1 - row : row;
    if (!geometry.transpose) {
        const JBLOCKROW in = sourceRow(session, component, turnedRow);
        for (JDIMENSION column = 0; column < width; ++column) {
            const JDIMENSION from = geometry.mirrorColumns ? width - 1 - column : column;
            transformBlock(session, in[from], out[column]);
        }
        return;
    }
    // Row r of the transposed image is column r of the source.
    for (JDIMENSION column = 0; column < width; ++column) {
        const JDIMENSION from = geometry.mirrorColumns ? width - 1 - column : column;
        transformBlock(session, sourceRow(session, component, from)[turnedRow], out[column]);
    }
}

// The compressor's access to its coefficient arrays: rows of our
// placeholders are computed from the source; anything else is the library's.
JBLOCKARRAY accessCoefficients(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION startRow,
                               JDIMENSION rows, boolean writable) {
    Session* session = sessionOf(cinfo);
    int component = 0;
    while (component < session->components && session->placeholders[component] != array)
        ++component;
    if (component == session->components)
        return (*session->libraryAccess)(cinfo, array, startRow, rows, writable);

    const JDIMENSION width = session->widthInBlocks[component];
    if (rows > session->scratchRows[component]) {
        session->scratch[component] = (*cinfo->mem->alloc_barray)(cinfo, JPOOL_IMAGE, width, rows);
        session->scratchRows[component] = rows;
    }
    JBLOCKARRAY scratch = session->scratch[component];
    for (JDIMENSION index = 0; index < rows; ++index) {
        const JDIMENSION row = startRow + index;
        if (row < session->heightInBlocks[component])
            fillRow(session, component, row, scratch[index]);
        else
            std::memset(scratch[index], 0, width * sizeof(JBLOCK));
    }
    return scratch;
}

bool hasPrefix(const jpeg_marker_struct* marker, const char* prefix, unsigned length) {
    return marker->data_length >= length && std::memcmp(marker->data, prefix, length) == 0;
}

bool startsWithExif(const jpeg_decompress_struct& source) {
    const jpeg_marker_struct* first = source.marker_list;
    return first && first->marker == JPEG_APP0 + 1 && hasPrefix(first, "Exif\0\0", 6);
}

// The EXIF block's PixelXDimension and PixelYDimension (Exif IFD) follow a
// turn that swaps the sides, written as LONG values in place.
void setExifPixelDimensions(jpeg_marker_struct* exif, JDIMENSION width, JDIMENSION height) {
    // The TIFF structure after the "Exif\0\0" header.
    const std::span<std::uint8_t> bytes(exif->data + 6, exif->data_length - 6);
    TiffReader tiff(bytes);
    const auto ifd0 = tiff.firstIfd();
    const auto pointer = ifd0 ? tiff.findEntry(*ifd0, 0x8769) : std::nullopt;
    const auto exifIfd = pointer ? tiff.subIfd(*pointer) : std::nullopt;
    if (!exifIfd)
        return;
    const std::pair<std::uint16_t, JDIMENSION> dimensions[] = {{0xA002, width}, {0xA003, height}};
    for (const auto& [tag, value] : dimensions) {
        if (const auto entry = tiff.findEntry(*exifIfd, tag)) {
            const auto patched = tiff.singleValueEntry(tag, TiffReader::Long, value);
            std::memcpy(bytes.data() + entry->offset, patched.data(), patched.size());
        }
    }
}

// Critical parameters of the turned image: sides and sampling factors
// swapped, quantization tables transposed with the coefficients.
void transposeParameters(jpeg_compress_struct* target) {
    std::swap(target->image_width, target->image_height);
    for (int component = 0; component < target->num_components; ++component) {
        jpeg_component_info& info = target->comp_info[component];
        std::swap(info.h_samp_factor, info.v_samp_factor);
    }
    for (JQUANT_TBL* table : target->quant_tbl_ptrs) {
        if (!table)
            continue;
        for (int row = 0; row < DCTSIZE; ++row)
            for (int column = row + 1; column < DCTSIZE; ++column)
                std::swap(table->quantval[row * DCTSIZE + column],
                          table->quantval[column * DCTSIZE + row]);
    }
}

bool wholeMcus(const jpeg_decompress_struct& source) {
    // A single component is coded in 8x8 units whatever its sampling factors.
    const bool single = source.num_components == 1;
    const JDIMENSION mcuWidth = JDIMENSION(DCTSIZE * (single ? 1 : source.max_h_samp_factor));
    const JDIMENSION mcuHeight = JDIMENSION(DCTSIZE * (single ? 1 : source.max_v_samp_factor));
    return source.image_width % mcuWidth == 0 && source.image_height % mcuHeight == 0;
}

void requestPlaceholders(Session* session) {
    jpeg_compress_struct* target = &session->target;
    j_common_ptr common = reinterpret_cast<j_common_ptr>(target);
    session->components = session->source.num_components;
    for (int component = 0; component < session->components; ++component) {
        const jpeg_component_info& from = session->source.comp_info[component];
        const bool transpose = session->geometry.transpose;
        session->widthInBlocks[component] =
            transpose ? from.height_in_blocks : from.width_in_blocks;
        session->heightInBlocks[component] =
            transpose ? from.width_in_blocks : from.height_in_blocks;
        // One iMCU row, a valid array the library may realize and release;
        // its contents are never used.
        const JDIMENSION rows = JDIMENSION(target->comp_info[component].v_samp_factor);
        session->placeholders[component] = (*target->mem->request_virt_barray)(
            common, JPOOL_IMAGE, FALSE, session->widthInBlocks[component], rows, rows);
    }
    session->libraryAccess = target->mem->access_virt_barray;
    target->mem->access_virt_barray = accessCoefficients;
}

// The compressor works out the component sizes itself; ours must agree.
bool sizesAgree(const Session* session) {
    for (int component = 0; component < session->components; ++component) {
        const jpeg_component_info& info = session->target.comp_info[component];
        if (info.width_in_blocks != session->widthInBlocks[component] ||
            info.height_in_blocks != session->heightInBlocks[component])
            return false;
    }
    return true;
}

void writeMarkers(Session* session) {
    jpeg_compress_struct* target = &session->target;
    for (const jpeg_marker_struct* marker = session->source.marker_list; marker;
         marker = marker->next) {
        // The library wrote its own JFIF or Adobe segment in their place.
        if (target->write_JFIF_header && marker->marker == JPEG_APP0 &&
            hasPrefix(marker, "JFIF\0", 5))
            continue;
        if (target->write_Adobe_marker && marker->marker == JPEG_APP0 + 14 &&
            hasPrefix(marker, "Adobe", 5))
            continue;
        jpeg_write_marker(target, marker->marker, marker->data, marker->data_length);
    }
}

// libjpeg leaves through longjmp to this frame: it holds no object with a
// destructor, and everything it changes lives in *session.
bool runSession(Session* session, const unsigned char* bytes, unsigned long size) {
    if (setjmp(session->jump))
        return false;

    jpeg_decompress_struct* source = &session->source;
    jpeg_compress_struct* target = &session->target;
    source->err = target->err = &session->errors.library;
    jpeg_create_decompress(source);
    source->client_data = session;
    session->progress.progress_monitor = limitScans;
    source->progress = &session->progress;
    jpeg_mem_src(source, bytes, size);
    jpeg_save_markers(source, JPEG_COM, 0xFFFF);
    for (int app = 0; app < 16; ++app)
        jpeg_save_markers(source, JPEG_APP0 + app, 0xFFFF);
    jpeg_read_header(source, TRUE);
    // A few hundred bytes may claim 65535 x 65535 pixels and gigabytes of
    // coefficients; no camera makes a gigapixel JPEG. Partial MCUs at the
    // right or bottom edge cannot be moved losslessly: refused for every
    // code, flips included.
    if (static_cast<unsigned long long>(source->image_width) * source->image_height > maxPixels ||
        !wholeMcus(*source))
        return false;
    session->sourceCoefficients = jpeg_read_coefficients(source);

    jpeg_create_compress(target);
    target->client_data = session;
    jpeg_copy_critical_parameters(source, target);
    if (startsWithExif(*source))
        target->write_JFIF_header = FALSE; // EXIF wants to be the first segment
    if (session->geometry.transpose) {
        transposeParameters(target);
        if (target->image_width != target->image_height && startsWithExif(*source))
            setExifPixelDimensions(source->marker_list, target->image_width, target->image_height);
    }
    if (source->progressive_mode)
        jpeg_simple_progression(target);
    session->destination.init_destination = startOutput;
    session->destination.empty_output_buffer = growOutput;
    session->destination.term_destination = finishOutput;
    target->dest = &session->destination;

    requestPlaceholders(session);
    jpeg_write_coefficients(target, session->placeholders);
    if (!sizesAgree(session))
        return false;
    writeMarkers(session);
    jpeg_finish_compress(target);
    jpeg_finish_decompress(source);
    return true;
}

} // namespace

QByteArray JpegCoefficientTransformer::transformed(const QByteArray& jpeg, int code) {
    if (jpeg.isEmpty() || code < JXFORM_NONE || code > JXFORM_ROT_270 ||
        static_cast<unsigned long long>(jpeg.size()) > std::numeric_limits<unsigned long>::max())
        return QByteArray();
    std::unique_ptr<Session> session;
    QByteArray output;
    try {
        session = std::make_unique<Session>();
        // Room for a turn of the same size; grown as the encoder needs.
        output.resize(jpeg.size() + jpeg.size() / 8 + 65536);
    } catch (...) {
        return QByteArray();
    }
    session->geometry = geometries[code];
    prepareBlockMap(session.get());
    session->output = &output;
    jpeg_std_error(&session->errors.library);
    session->errors.library.error_exit = leave;
    session->errors.library.emit_message = leaveOnWarning;
    session->errors.library.output_message = discardMessage;
    session->errors.jump = &session->jump;

    const std::unique_ptr<jpeg_decompress_struct, DecompressDestroy> source(&session->source);
    const std::unique_ptr<jpeg_compress_struct, CompressDestroy> target(&session->target);
    const bool done =
        runSession(session.get(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                   static_cast<unsigned long>(jpeg.size()));
    if (!done || session->written == 0) {
        if (session->errors.message[0])
            qCDebug(lcJpegTransform) << "lossless transform refused:" << session->errors.message;
        return QByteArray();
    }
    output.truncate(qsizetype(session->written));
    return output;
}
