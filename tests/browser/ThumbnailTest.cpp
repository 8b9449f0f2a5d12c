// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifBuilder.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "browser/BrowserItem.h"
#include "browser/ThumbnailCache.h"
#include "browser/ThumbnailJob.h"
#include "browser/ThumbnailLoader.h"
#include "browser/ThumbnailMaker.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kWait = 60000; // only a guard against hanging; nothing is timed

QByteArray encoded(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

QImage filled(QSize size, const QColor& color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A JPEG whose EXIF block carries a thumbnail of another colour.
QByteArray jpegWithExifThumbnail(const QColor& picture, const QColor& thumbnail) {
    const QByteArray small = encoded(filled({160, 120}, thumbnail));
    ExifBuilder exif;
    exif.setThumbnail(std::vector<unsigned char>(small.begin(), small.end()));
    const QByteArray large = encoded(filled({640, 480}, picture));
    const auto file = ExifBuilder::withApp1(std::vector<unsigned char>(large.begin(), large.end()),
                                            exif.payload());
    return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

bool near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

qint64 mtimeOf(const QString& path) {
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch();
}

void shiftMTime(const QString& path, int seconds) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(seconds),
                                 QFileDevice::FileModificationTime));
}

} // namespace

class ThumbnailTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_savedCacheHome = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("cache"))));
    }
    void TearDown() override {
        // Workers blocked in the frame source must be able to finish.
        m_gate.release(1000);
        m_job.reset();
        ThumbnailMaker::setMovieFrameSource({});
        qputenv("XDG_CACHE_HOME", m_savedCacheHome);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Movie items whose frames come from a source that waits for the test,
    // so the order of the loads can be watched one at a time.
    QList<BrowserItemPtr> gatedMovies(int count) {
        ThumbnailMaker::setMovieFrameSource([this](const QString& file, int) {
            {
                QMutexLocker locker(&m_requestsLock);
                m_requests.append(QFileInfo(file).completeBaseName().toInt());
            }
            m_arrived.release();
            m_gate.acquire();
            return filled({32, 18}, Qt::green);
        });
        QList<BrowserItemPtr> items;
        for (int i = 0; i < count; ++i) {
            const QString file = path(QStringLiteral("%1.mp4").arg(i));
            EXPECT_TRUE(TestFiles::write(file, QByteArray("movie")));
            items.append(std::make_shared<BrowserItem>(file, BrowserItemTypeMovie));
        }
        return items;
    }

    QList<int> requests() {
        QMutexLocker locker(&m_requestsLock);
        return m_requests;
    }

    QTemporaryDir m_dir;
    QByteArray m_savedCacheHome;
    QSemaphore m_arrived;
    QSemaphore m_gate;
    QMutex m_requestsLock;
    QList<int> m_requests;
    std::unique_ptr<ThumbnailJob> m_job;
};

TEST_F(ThumbnailTest, JpegWithoutExifThumbnailIsDecodedSmallAndUpright) {
    struct Case {
        int orientation;
        QSize expected;
        QPoint redAt; // where the stored left (red) half lands
    };
    for (const Case& c : {Case{0, {128, 96}, {10, 48}}, Case{6, {96, 128}, {48, 10}}}) {
        const QString file = path(QStringLiteral("o%1.jpg").arg(c.orientation));
        JpegFixture::Options options;
        options.size = QSize(2000, 1500);
        options.orientation = c.orientation;
        ASSERT_TRUE(JpegFixture::write(file, options));
        QSize original;
        const QImage image = ThumbnailMaker::makeThumbnail(file, 128, &original);
        EXPECT_EQ(image.size(), c.expected) << c.orientation;
        EXPECT_EQ(original, c.expected * (2000 / 128.0)) << c.orientation;
        EXPECT_TRUE(near(image.pixelColor(c.redAt), Qt::red)) << c.orientation;
    }
}

TEST_F(ThumbnailTest, ExifThumbnailIsPreferredFromFileAndBytes) {
    const QByteArray bytes = jpegWithExifThumbnail(Qt::green, Qt::magenta);
    const QString file = path(QStringLiteral("t.jpg"));
    ASSERT_TRUE(TestFiles::write(file, bytes));
    for (const QImage& image : {ThumbnailMaker::makeThumbnail(file, 512),
                                ThumbnailMaker::thumbnailFromBytes(bytes, 512)}) {
        EXPECT_EQ(image.size(), QSize(160, 120));
        EXPECT_TRUE(near(image.pixelColor(80, 60), Qt::magenta));
    }
}

TEST_F(ThumbnailTest, DecompressionBombsAreRefused) {
    // Tiny JPEGs whose frame headers declare too many pixels, or, for a
    // progressive one, too many coefficients to hold at once (full-size
    // colour over 195 megapixels).
    struct Case {
        bool progressive;
        QSize declared;
    };
    for (const Case& c : {Case{false, {60000, 60000}}, Case{true, {15000, 13000}}}) {
        QByteArray bomb;
        QBuffer buffer(&bomb);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, QByteArrayLiteral("jpeg"));
        writer.setProgressiveScanWrite(c.progressive);
        ASSERT_TRUE(writer.write(filled({16, 16}, Qt::red)));
        const qsizetype frame = bomb.indexOf(c.progressive ? "\xFF\xC2" : "\xFF\xC0");
        ASSERT_GT(frame, 0);
        const char size[] = {char(c.declared.height() >> 8), char(c.declared.height()),
                             char(c.declared.width() >> 8), char(c.declared.width())};
        bomb.replace(frame + 5, 4, QByteArray(size, 4));
        bomb[frame + 11] = '\x11'; // no chroma subsampling
        const QString file = path(QStringLiteral("bomb%1.jpg").arg(c.progressive));
        ASSERT_TRUE(TestFiles::write(file, bomb));
        EXPECT_TRUE(ThumbnailMaker::makeThumbnail(file, 256).isNull()) << c.progressive;
        EXPECT_TRUE(ThumbnailMaker::thumbnailFromBytes(bomb, 256).isNull()) << c.progressive;
    }
}

TEST_F(ThumbnailTest, FailureIsRecordedAndKeptUntilTheFileChanges) {
    const QString file = path(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(TestFiles::write(file, QByteArray("no picture here")));
    const qint64 mtime = mtimeOf(file);
    ThumbnailLoader::Result result = ThumbnailLoader::load(file, 128);
    EXPECT_TRUE(result.image.isNull());
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(ThumbnailCache().hasFailed(file));

    // A good picture under the same modification time is not looked at.
    ASSERT_TRUE(JpegFixture::write(file, {}));
    shiftMTime(file, int(mtime - mtimeOf(file)));
    EXPECT_TRUE(ThumbnailLoader::load(file, 128).failed);

    shiftMTime(file, 10);
    EXPECT_FALSE(ThumbnailCache().hasFailed(file));
    result = ThumbnailLoader::load(file, 128);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.image.size(), QSize(64, 32));
}

TEST_F(ThumbnailTest, CacheEntryCarriesUriAndMTimeAndIsRebuiltWhenStale) {
    const QString file = path(QStringLiteral("a b/\u00e9.jpg"));
    JpegFixture::Options options;
    options.size = QSize(600, 400);
    ASSERT_TRUE(JpegFixture::write(file, options));
    const QString uri = ThumbnailCache::uriForPath(file);
    EXPECT_EQ(uri, QStringLiteral("file://") + m_dir.path() + QStringLiteral("/a%20b/%C3%A9.jpg"));

    ASSERT_FALSE(ThumbnailLoader::load(file, 256).image.isNull());
    const ThumbnailCache cache;
    EXPECT_EQ(cache.root(), path(QStringLiteral("cache/thumbnails")));
    const QString entry = cache.thumbnailPath(file, QStringLiteral("large"));
    const auto readText = [&](const char* key) {
        return QImage(entry).text(QString::fromLatin1(key));
    };
    EXPECT_EQ(readText("Thumb::URI"), uri);
    EXPECT_EQ(readText("Thumb::MTime"), QString::number(mtimeOf(file)));
    EXPECT_EQ(readText("Thumb::Image::Width"), QStringLiteral("600"));
    EXPECT_EQ(QImageReader(entry).size(), QSize(256, 170));
    // Private to the user: 0600 files in 0700 folders.
    const QFileDevice::Permissions groupOrOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(entry).permissions() & (groupOrOther | QFileDevice::ExeOwner),
              QFileDevice::Permissions());
    EXPECT_EQ(QFileInfo(QFileInfo(entry).path()).permissions() & groupOrOther,
              QFileDevice::Permissions());
    // A smaller request is served by the entry; a larger one is not.
    EXPECT_EQ(cache.read(file, 200).size(), QSize(256, 170));
    EXPECT_TRUE(cache.read(file, 300).isNull());

    shiftMTime(file, 10);
    EXPECT_TRUE(cache.read(file, 256).isNull());
    ASSERT_FALSE(ThumbnailLoader::load(file, 256).image.isNull());
    EXPECT_EQ(readText("Thumb::MTime"), QString::number(mtimeOf(file)));
    EXPECT_FALSE(cache.read(file, 256).isNull());

    // Nothing is cached of the cache itself.
    EXPECT_TRUE(cache.isInsideCache(entry));
    EXPECT_FALSE(ThumbnailLoader::load(entry, 128).image.isNull());
    EXPECT_FALSE(QFileInfo::exists(cache.thumbnailPath(entry, QStringLiteral("normal"))));
}

TEST_F(ThumbnailTest, JobLoadsVisibleItemsFirstAndFollowsTheVisibleRange) {
    const QList<BrowserItemPtr> items = gatedMovies(40);
    const int threads = qMin(QThread::idealThreadCount(), 40);
    m_job = std::make_unique<ThumbnailJob>(items, 128);
    QSignalSpy loaded(m_job.get(), &ThumbnailJob::thumbnailLoaded);
    QSignalSpy finished(m_job.get(), &ThumbnailJob::finished);
    m_job->setVisibleRange(20, 23);
    m_job->start();
    // One load released at a time: each free worker asks for exactly one
    // item, so the requests come in the order they were chosen.
    ASSERT_TRUE(m_arrived.tryAcquire(threads, kWait));
    for (int step = threads; step < 9; ++step) {
        if (step == 6)
            m_job->setVisibleRange(30, 31);
        m_gate.release();
        ASSERT_TRUE(m_arrived.tryAcquire(1, kWait));
    }
    // The first workers start together and may reach the source in any order.
    QList<int> order = requests();
    std::sort(order.begin(), order.begin() + threads);
    EXPECT_EQ(order.mid(0, 6), (QList<int>{20, 21, 22, 23, 0, 1}));
    // The new visible range comes next, then the rest goes on in order.
    EXPECT_EQ(order.mid(6), (QList<int>{30, 31, 2}));

    m_gate.release(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, kWait));
    QCoreApplication::processEvents();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(loaded.count(), 40);
    EXPECT_EQ(requests().size(), 40);
}

TEST_F(ThumbnailTest, CancelledJobStopsBeforeItsNextItem) {
    const QList<BrowserItemPtr> items = gatedMovies(10);
    const int threads = qMin(QThread::idealThreadCount(), 10);
    m_job = std::make_unique<ThumbnailJob>(items, 128);
    QSignalSpy finished(m_job.get(), &ThumbnailJob::finished);
    m_job->start();
    ASSERT_TRUE(m_arrived.tryAcquire(threads, kWait));
    m_job->cancel();
    m_gate.release(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, kWait));
    EXPECT_TRUE(m_job->isCancelled());
    EXPECT_EQ(requests().size(), threads);
}

TEST_F(ThumbnailTest, FarItemsGiveTheirThumbnailsBackAndReloadFromTheCache) {
    const QList<BrowserItemPtr> items = gatedMovies(260);
    m_gate.release(1000);
    m_job = std::make_unique<ThumbnailJob>(items, 128);
    QSignalSpy finished(m_job.get(), &ThumbnailJob::finished);
    m_job->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, kWait));
    ASSERT_FALSE(items.last()->thumbnail().isNull());

    // Ten visible items keep 200 on each side.
    m_job->setVisibleRange(0, 9);
    EXPECT_FALSE(items.at(209)->thumbnail().isNull());
    EXPECT_TRUE(items.at(210)->thumbnail().isNull());
    EXPECT_FALSE(items.at(210)->thumbnailLoaded());

    m_job->setVisibleRange(250, 259);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(items.begin() + 50, items.end(),
                               [](const BrowserItemPtr& item) { return item->thumbnailLoaded(); });
        },
        kWait));
    EXPECT_TRUE(items.at(49)->thumbnail().isNull());
    EXPECT_FALSE(items.at(259)->thumbnail().isNull());
    // Reloaded from the cache, not from the movies.
    EXPECT_EQ(requests().size(), 260);
}
