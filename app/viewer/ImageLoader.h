// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

template <typename T> class QFutureWatcher;

// Reads one picture file on the global thread pool and hands the decoded
// picture back on the main thread, upright by its EXIF orientation and at
// most maxSide() pixels on either side. RAW and HEIF files go through
// PictureDecoder (a RAW file's embedded preview first, see screenSide()). The read starts at
// construction; loadImage() starts another one and drops whatever the older read still delivers.
// The worker never touches the loader, so a loader may be destroyed while it reads.
//
// Main thread only. Slots connected to the loader's own signals must delete
// it with deleteLater(), as for any sender.
class ImageLoader : public QObject {
    Q_OBJECT
public:
    enum Status : int {
        StatusLoading = 0,
        StatusReady = 1,  // the file was read; image() may still be null
        StatusFailed = 2, // the file could not be read
    };

    explicit ImageLoader(const QString& path, QObject* parent = nullptr);
    ~ImageLoader() override;

    // Starts reading `path`, abandoning a running read.
    void loadImage(const QString& path);
    // The picture came from a RAW file's embedded preview smaller than the
    // raw data: loadFullDetail() would give more.
    bool hasMoreDetail() const { return m_moreDetail; }
    // Reads the same file again with the RAW data demosaiced (when zoomed
    // past the preview); the preview stays in image() until it is ready.
    void loadFullDetail();

    Status status() const { return m_status; }
    // The decoded picture once ready; null while loading, after a failure,
    // for a file that does not decode, and once a subclass has taken it.
    const QImage& image() const { return m_image; }
    const QString& path() const { return m_path; }

    // The largest width or height a picture is decoded at; larger ones are
    // read scaled down. 16384 unless the view sets its texture limit.
    static int maxSide();
    static void setMaxSide(int pixels);
    // The longer side of the screen: a RAW file's embedded preview serves
    // when at least this large, else the raw data is demosaiced. 2560 until
    // the view sets it.
    static int screenSide();
    static void setScreenSide(int pixels);

signals:
    void imageReady(ImageLoader* loader);
    void imageError(ImageLoader* loader);

protected:
    // Runs when a read has completed, before imageReady is emitted.
    virtual void imageLoaded() {}
    // Runs when a new read starts; a subclass drops what it made of the
    // previous picture.
    virtual void loadStarted() {}
    void releaseImage() { m_image = QImage(); }

private:
    struct Decoded;
    using Watcher = QFutureWatcher<Decoded>;

    // Runs on a pool thread.
    static Decoded decode(const QString& path, int maxSide, int screenSide, bool fullDetail,
                          const std::atomic_bool& cancelled);
    void startRead(bool fullDetail);
    void readFinished(Watcher* watcher, quint64 generation);
    void abandonRead();

    QString m_path;
    QImage m_image;
    Status m_status = StatusLoading;
    bool m_moreDetail = false;
    // Which read is the latest; a result of an older one is dropped.
    quint64 m_generation = 0;
    Watcher* m_watcher = nullptr;
    // Tells a running read that nobody waits for it any more.
    std::shared_ptr<std::atomic_bool> m_cancelled;
};
