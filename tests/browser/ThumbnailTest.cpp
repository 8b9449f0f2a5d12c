// SPDX-License-Identifier: GPL-3.0-or-later
#include "DngFixture.h"
#include "ExifBuilder.h"
#include "FileUtils.h"
#include "HeifFixture.h"
#include "JpegFixture.h"
#include "NativePath.h"
#include "TestFiles.h"
#include "browser/BrowserItem.h"
#include "browser/ThumbnailCache.h"
#include "browser/ThumbnailJob.h"
#include "browser/ThumbnailLoader.h"
#include "browser/ThumbnailMaker.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMutex>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kWait = 60000; // only a guard against hanging; nothing is timed

QImage filled(QSize size, const QColor& color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray jpeg(const QImage& image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("jpeg"));
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

bool isRed(const QColor& color) {
    return color.red() > 200 && color.green() < 60 && color.blue() < 60;
}

qint64 mtimeOf(const QString& path) {
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch();
}

void shiftMTime(const QString& path, qint64 seconds) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(seconds),
                                 QFileDevice::FileModificationTime));
}

} // namespace

// Each test has its own cache root; movie frames come from a source that
// waits for the test, so the job's choices can be watched one at a time.
class ThumbnailTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_savedCacheHome = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path(QStringLiteral("cache"))));
    }
    void TearDown() override {
        m_gate.release(100000); // lets blocked workers finish
        m_job.reset();
        ThumbnailMaker::setMovieFrameSource({});
        qputenv("XDG_CACHE_HOME", m_savedCacheHome);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

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
        EXPECT_TRUE(isRed(image.pixelColor(c.redAt))) << c.orientation;
    }
}

TEST_F(ThumbnailTest, ExifThumbnailIsPreferredFromFileAndBytes) {
    const QByteArray small = jpeg(filled({160, 120}, Qt::red));
    const QByteArray large = jpeg(filled({640, 480}, Qt::blue));
    ExifBuilder exif;
    exif.setThumbnail(std::vector<unsigned char>(small.begin(), small.end()));
    const auto withExif = ExifBuilder::withApp1(
        std::vector<unsigned char>(large.begin(), large.end()), exif.payload());
    const QByteArray bytes(reinterpret_cast<const char*>(withExif.data()),
                           qsizetype(withExif.size()));
    const QString file = path(QStringLiteral("t.jpg"));
    ASSERT_TRUE(TestFiles::write(file, bytes));
    for (const QImage& image : {ThumbnailMaker::makeThumbnail(file, 512),
                                ThumbnailMaker::thumbnailFromBytes(bytes, 512)}) {
        EXPECT_EQ(image.size(), QSize(160, 120));
        EXPECT_TRUE(isRed(image.pixelColor(80, 60)));
    }
}

TEST_F(ThumbnailTest, DecompressionBombsAreRefused) {
    // Tiny JPEGs declaring too many pixels, or, progressive, too many
    // coefficients to hold at once (full-size colour, 195 megapixels).
    struct Case {
        bool progressive;
        QSize declared;
    };
    for (const Case& c : {Case{false, {60000, 60000}}, Case{true, {15000, 13000}}}) {
        QByteArray bomb = jpeg(filled({16, 16}, Qt::red), c.progressive);
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
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(ThumbnailCache().hasFailed(file));

    // A good picture under the same modification time is not looked at.
    ASSERT_TRUE(JpegFixture::write(file, {}));
    shiftMTime(file, mtime - mtimeOf(file));
    EXPECT_TRUE(ThumbnailLoader::load(file, 128).failed);

    shiftMTime(file, 10);
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
    const QString entry = cache.thumbnailPath(file, QStringLiteral("large"));
    EXPECT_TRUE(entry.startsWith(path(QStringLiteral("cache/thumbnails/large/"))));
    QImage stored(entry);
    EXPECT_EQ(stored.size(), QSize(256, 170));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::URI")), uri);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")), QString::number(mtimeOf(file)));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::Image::Width")), QStringLiteral("600"));
    // Private to the user: 0600 files in 0700 folders.
    const auto mode = [](const QString& name) {
        struct stat info {};
        return ::stat(QFile::encodeName(name).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
    };
    EXPECT_EQ(mode(entry), 0600u);
    EXPECT_EQ(mode(QFileInfo(entry).path()), 0700u);
    // A smaller request is served by the entry; a larger one is not.
    EXPECT_EQ(cache.read(file, 200).size(), QSize(256, 170));
    EXPECT_TRUE(cache.read(file, 300).isNull());

    shiftMTime(file, 10);
    EXPECT_TRUE(cache.read(file, 256).isNull());
    ASSERT_FALSE(ThumbnailLoader::load(file, 256).image.isNull());
    stored = QImage(entry);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")), QString::number(mtimeOf(file)));

    // A name that is not UTF-8 is thumbnailed and cached under its own bytes.
    const QByteArray latin1 = QFile::encodeName(m_dir.path()) + "/caf\xe9.jpg";
    const QString escaped = NativePath::decode(latin1);
    {
        const QByteArray bytes = JpegFixture::jpeg(options);
        const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    }
    EXPECT_TRUE(ThumbnailCache::uriForPath(escaped).endsWith(QStringLiteral("/caf%E9.jpg")));
    EXPECT_FALSE(ThumbnailLoader::load(escaped, 256).image.isNull());
    EXPECT_EQ(cache.read(escaped, 256).size(), QSize(256, 170));
    ::unlink(latin1.constData());

    // Nothing is cached of the cache itself.
    EXPECT_FALSE(ThumbnailLoader::load(entry, 128).image.isNull());
    EXPECT_FALSE(QFileInfo::exists(cache.thumbnailPath(entry, QStringLiteral("normal"))));
}

TEST_F(ThumbnailTest, JobLoadsVisibleItemsFirstFollowsTheRangeAndStopsWhenCancelled) {
    const QList<BrowserItemPtr> items = gatedMovies(40);
    const int threads = qMin(QThread::idealThreadCount(), 40);
    m_job = std::make_unique<ThumbnailJob>(items, 128);
    QSignalSpy finished(m_job.get(), &ThumbnailJob::finished);
    m_job->setVisibleRange(20, 23);
    m_job->start();
    // One load released at a time: each free worker asks for exactly one
    // item, so the requests come in the order the items were chosen.
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
    EXPECT_EQ(order, (QList<int>{20, 21, 22, 23, 0, 1, 30, 31, 2}));

    // The loads under way complete; no other starts.
    m_job->cancel();
    m_gate.release(100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, kWait));
    EXPECT_EQ(requests().size(), 9);
}

TEST_F(ThumbnailTest, FarItemsGiveTheirThumbnailsBackAndReloadFromTheCache) {
    const QList<BrowserItemPtr> items = gatedMovies(260);
    m_gate.release(1000);
    m_job = std::make_unique<ThumbnailJob>(items, 128);
    QSignalSpy finished(m_job.get(), &ThumbnailJob::finished);
    m_job->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, kWait));

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
    EXPECT_EQ(requests().size(), 260); // reloaded from the cache
    EXPECT_EQ(finished.count(), 1);
}

// RAW and HEIC files are listed as images and get real thumbnails through
// the cache; a damaged HEIC keeps its icon and dates from the file system.
TEST_F(ThumbnailTest, RawAndHeicGetThumbnailsAndADamagedHeicKeepsItsIcon) {
    const QDateTime taken(QDate(2020, 8, 9), QTime(10, 11, 12));
    // Without its raw strip: only the preview can give this thumbnail.
    const QString raw = path(QStringLiteral("IMG_1.DNG"));
    ASSERT_TRUE(DngFixture::write(raw, {.orientation = 8, .taken = taken, .rawData = false}));
    BrowserItem rawItem(raw, BrowserItemTypeImage);
    EXPECT_TRUE(FileUtils::isImageFile(raw));
    EXPECT_EQ(rawItem.creationDate(), taken);
    ASSERT_TRUE(rawItem.loadThumbnailOfSize(96));
    EXPECT_EQ(rawItem.thumbnail().size(), QSize(64, 96));
    EXPECT_TRUE(isRed(rawItem.thumbnail().pixelColor(32, 90))); // turned anticlockwise
    EXPECT_FALSE(ThumbnailCache().hasFailed(raw));
    EXPECT_EQ(ThumbnailLoader::load(raw, 96).image.size(), QSize(64, 96));

    QString reason;
    if (!HeifFixture::canEncode(&reason))
        GTEST_SKIP() << "HEIC cases: " << reason.toStdString();
    const QByteArray heic = HeifFixture::heic({.size = {96, 48}, .taken = taken});
    const QString good = path(QStringLiteral("IMG_2.HEIC"));
    const QString damaged = path(QStringLiteral("IMG_3.HEIC"));
    ASSERT_TRUE(TestFiles::write(good, heic));
    ASSERT_TRUE(TestFiles::write(damaged, heic.left(heic.size() / 2)));
    BrowserItem goodItem(good, BrowserItemTypeImage);
    EXPECT_EQ(goodItem.creationDate(), taken);
    ASSERT_TRUE(goodItem.loadThumbnailOfSize(64));
    EXPECT_EQ(goodItem.thumbnail().size(), QSize(64, 32));

    BrowserItem damagedItem(damaged, BrowserItemTypeImage);
    EXPECT_FALSE(damagedItem.loadThumbnailOfSize(64));
    EXPECT_TRUE(damagedItem.thumbnailFailed());
    EXPECT_TRUE(damagedItem.thumbnail().isNull());
    EXPECT_EQ(damagedItem.creationDate(), FileUtils::getCreationDateForFile(damaged));
}
