// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// Opens a movie file through FFmpeg (libavformat/libavcodec/libswscale) and
// answers its details and a still frame near its start. Construction opens
// the file and reads its stream information; nothing is decoded until
// frameNearStart() is called. Blocking file I/O and decoding: call it off
// the main thread for anything but small files. Any thread, one thread per
// instance; instances are independent.
class MovieFrameReader {
public:
    explicit MovieFrameReader(const QString& path);
    ~MovieFrameReader();
    MovieFrameReader(const MovieFrameReader&) = delete;
    MovieFrameReader& operator=(const MovieFrameReader&) = delete;

    // The file opened and holds a video stream with a decoder.
    bool isValid() const;

    // Pixel size as displayed (sample aspect ratio and rotation applied);
    // empty when invalid.
    QSize frameSize() const;
    // 0 when unknown.
    qint64 durationMilliseconds() const;
    qint64 bitRate() const;
    // The video and audio streams' own bit rates; 0 when the container does
    // not tell.
    qint64 videoBitRate() const;
    qint64 audioBitRate() const;
    // FFmpeg's short codec names ("h264", "aac"); empty when there is no
    // such stream.
    QString videoCodecName() const;
    QString audioCodecName() const;

    // A frame about one second in (a tenth of the length for short movies,
    // the first frame when seeking fails), scaled to fit within `maxSize`
    // keeping its proportions and never enlarged; an empty `maxSize` keeps
    // the displayed size. Null when nothing decodes.
    QImage frameNearStart(const QSize& maxSize = QSize());

private:
    struct Private;
    std::unique_ptr<Private> m_d;
};
