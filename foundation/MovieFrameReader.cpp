// SPDX-License-Identifier: GPL-3.0-or-later
#include "MovieFrameReader.h"

#include "FoundationLog.h"

#include <QFile>
#include <QTransform>

#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

// A damaged file must not make us read it whole looking for a frame.
constexpr int kMaxPacketsToDecode = 4096;
constexpr int kMaxFrameSide = 16384;

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

} // namespace

struct MovieFrameReader::Private {
    std::unique_ptr<AVFormatContext, FormatCloser> format;
    std::unique_ptr<AVCodecContext, CodecContextFreer> decoder;
    int videoStream = -1;
    int audioStream = -1;
    // Clockwise degrees the stored picture must be turned to look upright.
    int rotation = 0;

    QSize codedDisplaySize() const;
    QImage convert(const AVFrame* frame, const QSize& maxSize) const;
};

MovieFrameReader::MovieFrameReader(const QString& path)
    : m_d(std::make_unique<Private>()) {
    AVFormatContext* rawFormat = nullptr;
    const QByteArray fileName = QFile::encodeName(path);
    if (path.isEmpty() ||
        avformat_open_input(&rawFormat, fileName.constData(), nullptr, nullptr) < 0)
        return;
    m_d->format.reset(rawFormat);
    if (avformat_find_stream_info(rawFormat, nullptr) < 0) {
        m_d->format.reset();
        return;
    }
    m_d->audioStream = av_find_best_stream(rawFormat, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    const AVCodec* codec = nullptr;
    const int video = av_find_best_stream(rawFormat, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (video < 0 || !codec)
        return;
    AVStream* stream = rawFormat->streams[video];
    std::unique_ptr<AVCodecContext, CodecContextFreer> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return;
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        qCDebug(lcFoundation) << "no decoder opens the video of" << path;
        return;
    }
    m_d->decoder = std::move(decoder);
    m_d->videoStream = video;

    size_t sideDataSize = 0;
    const uint8_t* matrix =
        av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &sideDataSize);
    if (matrix && sideDataSize >= 9 * sizeof(int32_t)) {
        const double counterClockwise =
            av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (!std::isnan(counterClockwise)) {
            const int degrees = static_cast<int>(std::lround(-counterClockwise / 90.0)) * 90;
            m_d->rotation = ((degrees % 360) + 360) % 360;
        }
    }
}

MovieFrameReader::~MovieFrameReader() = default;

bool MovieFrameReader::isValid() const {
    return m_d->decoder != nullptr;
}

QSize MovieFrameReader::Private::codedDisplaySize() const {
    if (!decoder || decoder->width <= 0 || decoder->height <= 0)
        return {};
    double width = decoder->width;
    const AVRational aspect =
        av_guess_sample_aspect_ratio(format.get(), format->streams[videoStream], nullptr);
    if (aspect.num > 0 && aspect.den > 0)
        width = width * aspect.num / aspect.den;
    return QSize(qBound(1, static_cast<int>(std::lround(width)), kMaxFrameSide),
                 qMin(decoder->height, kMaxFrameSide));
}

QSize MovieFrameReader::frameSize() const {
    const QSize size = m_d->codedDisplaySize();
    return (m_d->rotation == 90 || m_d->rotation == 270) ? size.transposed() : size;
}

qint64 MovieFrameReader::durationMilliseconds() const {
    if (!m_d->format || m_d->format->duration <= 0)
        return 0;
    return m_d->format->duration / (AV_TIME_BASE / 1000);
}

qint64 MovieFrameReader::bitRate() const {
    return m_d->format ? qMax<int64_t>(0, m_d->format->bit_rate) : 0;
}

qint64 MovieFrameReader::videoBitRate() const {
    if (!m_d->format || m_d->videoStream < 0)
        return 0;
    return qMax<int64_t>(0, m_d->format->streams[m_d->videoStream]->codecpar->bit_rate);
}

qint64 MovieFrameReader::audioBitRate() const {
    if (!m_d->format || m_d->audioStream < 0)
        return 0;
    return qMax<int64_t>(0, m_d->format->streams[m_d->audioStream]->codecpar->bit_rate);
}

QString MovieFrameReader::videoCodecName() const {
    if (!m_d->format || m_d->videoStream < 0)
        return {};
    return QString::fromLatin1(
        avcodec_get_name(m_d->format->streams[m_d->videoStream]->codecpar->codec_id));
}

QString MovieFrameReader::audioCodecName() const {
    if (!m_d->format || m_d->audioStream < 0)
        return {};
    return QString::fromLatin1(
        avcodec_get_name(m_d->format->streams[m_d->audioStream]->codecpar->codec_id));
}

QImage MovieFrameReader::Private::convert(const AVFrame* frame, const QSize& maxSize) const {
    if (frame->width <= 0 || frame->height <= 0 || frame->width > kMaxFrameSide ||
        frame->height > kMaxFrameSide)
        return {};
    QSize target = codedDisplaySize();
    if (target.isEmpty())
        target = QSize(frame->width, frame->height);
    if (!maxSize.isEmpty()) {
        // Fit the upright picture into the box, then undo the turn.
        const bool turned = rotation == 90 || rotation == 270;
        QSize upright = turned ? target.transposed() : target;
        if (upright.width() > maxSize.width() || upright.height() > maxSize.height())
            upright = upright.scaled(maxSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        target = turned ? upright.transposed() : upright;
    }
    std::unique_ptr<SwsContext, ScalerFreer> scaler(sws_getContext(
        frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), target.width(),
        target.height(), AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return {};
    QImage image(target, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* destination[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, destination,
                  destinationStride) <= 0)
        return {};
    if (rotation != 0)
        image = image.transformed(QTransform().rotate(rotation));
    return image;
}

QImage MovieFrameReader::frameNearStart(const QSize& maxSize) {
    if (!isValid())
        return {};
    AVFormatContext* format = m_d->format.get();
    AVCodecContext* decoder = m_d->decoder.get();

    if (format->duration > 0) {
        const int64_t target = qMin<int64_t>(AV_TIME_BASE, format->duration / 10);
        if (target > 0 && av_seek_frame(format, -1, target, AVSEEK_FLAG_BACKWARD) < 0)
            av_seek_frame(format, -1, 0, AVSEEK_FLAG_BACKWARD);
    }
    avcodec_flush_buffers(decoder);

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return {};

    bool draining = false;
    for (int packets = 0; packets < kMaxPacketsToDecode; ++packets) {
        if (!draining) {
            const int read = av_read_frame(format, packet.get());
            if (read < 0) {
                draining = true;
                avcodec_send_packet(decoder, nullptr);
            } else {
                const bool ours = packet->stream_index == m_d->videoStream;
                const int sent = ours ? avcodec_send_packet(decoder, packet.get()) : 0;
                av_packet_unref(packet.get());
                if (!ours || (sent < 0 && sent != AVERROR(EAGAIN)))
                    continue;
            }
        }
        const int received = avcodec_receive_frame(decoder, frame.get());
        if (received == 0) {
            QImage image = m_d->convert(frame.get(), maxSize);
            av_frame_unref(frame.get());
            return image;
        }
        if (received == AVERROR_EOF || (draining && received != AVERROR(EAGAIN)))
            break;
        if (draining && received == AVERROR(EAGAIN))
            break;
    }
    return {};
}
