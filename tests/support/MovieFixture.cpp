// SPDX-License-Identifier: GPL-3.0-or-later
#include "MovieFixture.h"

#include <QFile>

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct Output {
    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Output() {
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&encoder);
        if (format && format->pb)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

// Left half red, right half blue, in limited-range YUV 4:2:0.
void paintFrame(AVFrame* frame) {
    for (int y = 0; y < frame->height; ++y)
        for (int x = 0; x < frame->width; ++x)
            frame->data[0][y * frame->linesize[0] + x] = x < frame->width / 2 ? 81 : 41;
    for (int y = 0; y < frame->height / 2; ++y) {
        for (int x = 0; x < frame->width / 2; ++x) {
            const bool left = x < frame->width / 4;
            frame->data[1][y * frame->linesize[1] + x] = left ? 90 : 240;
            frame->data[2][y * frame->linesize[2] + x] = left ? 240 : 110;
        }
    }
}

bool drain(Output& out, AVStream* stream) {
    while (true) {
        const int received = avcodec_receive_packet(out.encoder, out.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return false;
        av_packet_rescale_ts(out.packet, out.encoder->time_base, stream->time_base);
        out.packet->stream_index = stream->index;
        if (av_interleaved_write_frame(out.format, out.packet) < 0)
            return false;
    }
}

} // namespace

bool MovieFixture::writeTwoColourMovie(const QString& path, const QSize& size, int frameCount,
                                       int framesPerSecond, QString* reason) {
    const auto fail = [reason](const char* why) {
        if (reason)
            *reason = QString::fromLatin1(why);
        return false;
    };
    const QByteArray fileName = QFile::encodeName(path);
    Output out;
    if (avformat_alloc_output_context2(&out.format, nullptr, nullptr, fileName.constData()) < 0)
        return fail("no muxer for the file's extension");
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec)
        return fail("FFmpeg offers neither an MPEG-4 nor an MJPEG encoder");
    AVStream* stream = avformat_new_stream(out.format, nullptr);
    out.encoder = avcodec_alloc_context3(codec);
    if (!stream || !out.encoder)
        return fail("out of memory");
    out.encoder->width = size.width();
    out.encoder->height = size.height();
    out.encoder->time_base = AVRational{1, framesPerSecond};
    out.encoder->framerate = AVRational{framesPerSecond, 1};
    out.encoder->gop_size = 5;
    out.encoder->pix_fmt =
        codec->id == AV_CODEC_ID_MJPEG ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    if (out.format->oformat->flags & AVFMT_GLOBALHEADER)
        out.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(out.encoder, codec, nullptr) < 0)
        return fail("the encoder does not open");
    if (avcodec_parameters_from_context(stream->codecpar, out.encoder) < 0)
        return fail("codec parameters");
    stream->time_base = out.encoder->time_base;
    if (avio_open(&out.format->pb, fileName.constData(), AVIO_FLAG_WRITE) < 0)
        return fail("the file does not open for writing");
    if (avformat_write_header(out.format, nullptr) < 0)
        return fail("the header is not written");

    out.frame = av_frame_alloc();
    out.packet = av_packet_alloc();
    if (!out.frame || !out.packet)
        return fail("out of memory");
    out.frame->format = out.encoder->pix_fmt;
    out.frame->width = size.width();
    out.frame->height = size.height();
    if (av_frame_get_buffer(out.frame, 0) < 0)
        return fail("no frame buffer");
    for (int index = 0; index < frameCount; ++index) {
        if (av_frame_make_writable(out.frame) < 0)
            return fail("frame not writable");
        paintFrame(out.frame);
        out.frame->pts = index;
        if (avcodec_send_frame(out.encoder, out.frame) < 0 || !drain(out, stream))
            return fail("encoding failed");
    }
    if (avcodec_send_frame(out.encoder, nullptr) < 0 || !drain(out, stream))
        return fail("flushing the encoder failed");
    if (av_write_trailer(out.format) < 0)
        return fail("the trailer is not written");
    return true;
}
