// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchProcessRun.h"
#include "DngFixture.h"
#include "HeifFixture.h"

#include "Exif.h"
#include "JpegFixture.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using Format = BatchOptions::Format;
using Resize = BatchOptions::Resize;

QByteArray pngBytes(const QSize& size, bool alpha) {
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? QColor(0, 128, 0, 100) : QColor(Qt::green));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(const QSize& size, int orientation = 0) {
    JpegFixture::Options options;
    options.size = size;
    options.orientation = orientation;
    options.make = QStringLiteral("Pixhaul");
    return JpegFixture::jpeg(options);
}

// `jpeg` with an ICC profile in one APP2 segment right after SOI.
QByteArray withIccProfile(const QByteArray& jpeg, const QByteArray& profile) {
    QByteArray payload("ICC_PROFILE", 12);
    payload.append(char(1)).append(char(1)).append(profile);
    const qsizetype length = payload.size() + 2;
    QByteArray segment("\xFF\xE2");
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

struct Written {
    QSize size;
    QByteArray format;
};

Written inspect(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return {reader.size(), reader.format()};
}

class BatchProcessRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A Trash of this test's own.
        m_previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_previousDataHome); }

    QString source(const QString& name) const { return m_sources.filePath(name); }
    QString dest(const QString& name) const { return m_dest.filePath(name); }
    QString trashed(const QString& name) const {
        return m_data.filePath(QStringLiteral("Trash/files/") + name);
    }
    QString put(const QString& name, const QByteArray& bytes) const {
        EXPECT_TRUE(TestFiles::write(source(name), bytes));
        return source(name);
    }

    BatchOptions options() const {
        BatchOptions options;
        options.destinationFolder = m_dest.path();
        options.renameFiles = false;
        return options;
    }

    // Runs on this thread and records what was reported, in order.
    BatchSummary run(const QStringList& images, const BatchOptions& options,
                     const std::function<void(BatchProcessRun&, int)>& onStart = {}) {
        BatchProcessRun run(images, options);
        run.setParallelPictures(2);
        QObject::connect(&run, &BatchProcessRun::imageStarted, [&](int index, const QString&) {
            if (onStart)
                onStart(run, index);
        });
        QObject::connect(&run, &BatchProcessRun::imageFinished,
                         [this](const BatchOutcome& outcome) { m_finished << outcome.index; });
        QObject::connect(&run, &BatchProcessRun::progressIncrement,
                         [this](double step) { m_progress += step; });
        return run.run();
    }

    QStringList leftoversIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_sources;
    QTemporaryDir m_dest;
    QTemporaryDir m_data;
    QByteArray m_previousDataHome;
    QList<int> m_finished;
    double m_progress = 0.0;
};

struct ConvertCase {
    const char* name;
    QByteArray (*make)();
    Resize resize;
    double amount;
    Format format;
    bool rename;
    const char* written;
    QSize size;
    const char* readerFormat;
};

class BatchConvertTest : public BatchProcessRunTest,
                         public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(BatchConvertTest, WritesTheNamedFileAtTheRoundedSize) {
    const ConvertCase& c = GetParam();
    BatchOptions o = options();
    o.resize = c.resize;
    o.resizePixels = int(c.amount);
    o.resizePercent = c.amount;
    o.format = c.format;
    o.renameFiles = c.rename;
    o.renameSuffix = QStringLiteral(" resized");
    const QString path = put(QString::fromUtf8(c.name), c.make());

    const BatchSummary summary = run({path}, o);
    EXPECT_EQ(summary.written, 1);
    EXPECT_EQ(summary.failed, 0) << summary.failures.value(0).reason.toStdString();
    const Written written = inspect(dest(QString::fromUtf8(c.written)));
    EXPECT_EQ(written.size, c.size);
    EXPECT_EQ(written.format, QByteArray(c.readerFormat));
    EXPECT_EQ(TestFiles::read(path), c.make()) << "the source stays as it was";
    EXPECT_DOUBLE_EQ(m_progress, 100.0);
}

INSTANTIATE_TEST_SUITE_P(Outputs, BatchConvertTest,
                         ::testing::Values(ConvertCase{"IMG_0001.JPG",
                                                       [] {
                                                           return jpegBytes({400, 300});
                                                       },
                                                       Resize::ToPixels,
                                                       160,
                                                       Format::Png,
                                                       true,
                                                       "IMG_0001 resized.PNG",
                                                       {160, 120},
                                                       "png"},
                                           ConvertCase{"b.jpeg",
                                                       [] {
                                                           return jpegBytes({1001, 667});
                                                       },
                                                       Resize::ByPercent,
                                                       50,
                                                       Format::Same,
                                                       false,
                                                       "b.jpeg",
                                                       {501, 334},
                                                       "jpeg"},
                                           ConvertCase{"c.png",
                                                       [] {
                                                           return pngBytes({64, 32}, true);
                                                       },
                                                       Resize::None,
                                                       0,
                                                       Format::Jpeg,
                                                       true,
                                                       "c resized.jpg",
                                                       {64, 32},
                                                       "jpeg"},
                                           ConvertCase{"d.png",
                                                       [] {
                                                           return pngBytes({30, 40}, false);
                                                       },
                                                       Resize::ToPixels,
                                                       80,
                                                       Format::Same,
                                                       false,
                                                       "d.png",
                                                       {60, 80},
                                                       "png"},
                                           ConvertCase{"scan",
                                                       [] {
                                                           return jpegBytes({50, 50});
                                                       },
                                                       Resize::ByPercent,
                                                       100,
                                                       Format::Jpeg,
                                                       false,
                                                       "scan.JPG",
                                                       {50, 50},
                                                       "jpeg"}));

TEST_F(BatchProcessRunTest, SameFolderSameNameSendsTheSourceToTheTrashFirst) {
    const QString path = put(QStringLiteral("IMG_0002.JPG"), jpegBytes({400, 300}));
    BatchOptions o = options();
    o.destinationFolder = m_sources.path();
    o.resize = Resize::ToPixels;
    o.resizePixels = 100;

    const BatchSummary summary = run({path}, o);
    EXPECT_EQ(summary.written, 1);
    EXPECT_EQ(inspect(path).size, QSize(100, 75));
    EXPECT_EQ(inspect(trashed(QStringLiteral("IMG_0002.JPG"))).size, QSize(400, 300));
    EXPECT_TRUE(
        QFileInfo::exists(m_data.filePath(QStringLiteral("Trash/info/IMG_0002.JPG.trashinfo"))));
    EXPECT_EQ(leftoversIn(m_sources.path()), QStringList{QStringLiteral("IMG_0002.JPG")});
}

// Sound behaviour: another source of the batch is never overwritten, while
// the one taking its own name goes through the Trash.
TEST_F(BatchProcessRunTest, AnotherSourceOfTheBatchIsNotReplaced) {
    const QString png = put(QStringLiteral("a.png"), pngBytes({20, 10}, false));
    const QString jpeg = put(QStringLiteral("a.jpg"), jpegBytes({40, 20}));
    BatchOptions o = options();
    o.destinationFolder = m_sources.path();
    o.format = Format::Jpeg;

    const BatchSummary summary = run({png, jpeg}, o);
    EXPECT_EQ(summary.written, 1);
    ASSERT_EQ(summary.failures.size(), 1);
    EXPECT_EQ(summary.failures.at(0).source, png);
    EXPECT_EQ(inspect(jpeg).size, QSize(40, 20));
    EXPECT_TRUE(QFileInfo::exists(png));
}

TEST_F(BatchProcessRunTest, TiffInItsOwnFormatFailsAndIsReported) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QString path = source(QStringLiteral("scan.tif"));
    if (!image.save(path, "TIFF"))
        put(QStringLiteral("scan.tif"), QByteArray("II*\0\x08\0\0\0", 8));
    const QByteArray before = TestFiles::read(path);

    const BatchSummary summary = run({path}, options());
    EXPECT_EQ(summary.written, 0);
    ASSERT_EQ(summary.failures.size(), 1);
    EXPECT_EQ(summary.failures.at(0).source, path);
    EXPECT_FALSE(summary.failures.at(0).reason.isEmpty());
    EXPECT_TRUE(leftoversIn(m_dest.path()).isEmpty());
    EXPECT_EQ(TestFiles::read(path), before);
    EXPECT_EQ(m_progress, 0.0);
}

// RAW and HEIC files are read (a RAW file through its full-size preview,
// upright) and written as JPEG or PNG; their own format is refused, the
// sources untouched.
TEST_F(BatchProcessRunTest, RawAndHeicBecomeJpegOrPngButNotTheirOwnFormat) {
    QStringList sources{put(QStringLiteral("IMG_1.DNG"),
                            DngFixture::dng({.rawSize = {96, 64},
                                             .previewSize = {96, 64},
                                             .orientation = 6,
                                             .taken = QDateTime(QDate(2024, 5, 1), QTime(9, 30)),
                                             .rawData = false}))};
    QString reason;
    if (HeifFixture::canEncode(&reason))
        sources.append(put(QStringLiteral("IMG_2.HEIC"),
                           HeifFixture::heic({.size = {64, 32},
                                              .taken = QDateTime(QDate(2024, 5, 1), QTime(9, 30)),
                                              .make = QStringLiteral("Phone")})));
    else
        std::printf("HEIC case skipped: %s\n", qPrintable(reason));
    QList<QByteArray> before;
    for (const QString& file : sources)
        before.append(TestFiles::read(file));

    for (const Format format : {Format::Jpeg, Format::Png}) {
        BatchOptions o = options();
        o.format = format;
        o.renameFiles = true;
        const BatchSummary summary = run(sources, o);
        EXPECT_EQ(summary.written, sources.size());
        EXPECT_TRUE(summary.failures.isEmpty());
    }
    const QStringList written = leftoversIn(m_dest.path());
    EXPECT_EQ(written.size(), 2 * sources.size()) << written.join(QLatin1Char(' ')).toStdString();
    for (const QString& name : written) {
        const Written output = inspect(dest(name));
        EXPECT_EQ(output.size,
                  name.startsWith(QLatin1String("IMG_1")) ? QSize(64, 96) : QSize(64, 32))
            << name.toStdString();
        // The capture date travels into a JPEG: a HEIC file's EXIF block, a
        // RAW file's metadata.
        if (output.format == "jpeg") {
            EXPECT_EQ(Exif(dest(name)).getTagValue(36867), QStringLiteral("2024:05:01 09:30:00"));
        }
    }

    BatchOptions same = options();
    same.format = Format::Same;
    const BatchSummary refused = run(sources, same);
    EXPECT_EQ(refused.written, 0);
    EXPECT_EQ(refused.failures.size(), sources.size());
    for (qsizetype i = 0; i < sources.size(); ++i)
        EXPECT_EQ(TestFiles::read(sources[i]), before[i]);
}

TEST_F(BatchProcessRunTest, TheSecondOfThreeFailingIsReportedAndTheOthersWritten) {
    const QStringList images{put(QStringLiteral("a.jpg"), jpegBytes({40, 30})),
                             put(QStringLiteral("b.jpg"), QByteArray("\xFF\xD8\xFF broken", 11)),
                             put(QStringLiteral("c.jpg"), jpegBytes({40, 30}))};
    const BatchSummary summary = run(images, options());
    EXPECT_EQ(summary.written, 2);
    EXPECT_EQ(summary.failed, 1);
    ASSERT_EQ(summary.failures.size(), 1);
    EXPECT_EQ(summary.failures.at(0).source, images.at(1));
    EXPECT_EQ(m_finished, (QList<int>{0, 1, 2}));
    EXPECT_NEAR(m_progress, 66.67, 0.01);
    EXPECT_TRUE(QFileInfo::exists(dest(QStringLiteral("a.jpg"))));
    EXPECT_FALSE(QFileInfo::exists(dest(QStringLiteral("b.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(dest(QStringLiteral("c.jpg"))));
}

TEST_F(BatchProcessRunTest, CancelDuringTheSecondOfFiveStopsAfterIt) {
    QStringList images;
    for (int i = 0; i < 5; ++i)
        images << put(QStringLiteral("%1.jpg").arg(i), jpegBytes({200, 150}));
    const BatchSummary summary = run(images, options(), [](BatchProcessRun& r, int index) {
        if (index == 1)
            r.cancel();
    });
    EXPECT_TRUE(summary.canceled);
    EXPECT_EQ(summary.written, 2);
    EXPECT_EQ(summary.notStarted, 3);
    EXPECT_EQ(m_finished, (QList<int>{0, 1}));
    // The pictures worked on ahead left nothing behind.
    EXPECT_EQ(leftoversIn(m_dest.path()),
              (QStringList{QStringLiteral("0.jpg"), QStringLiteral("1.jpg")}));
}

TEST_F(BatchProcessRunTest, OrientedPhotoIsResizedUprightAndItsExifDescribesTheOutput) {
    JpegFixture::Options fixture;
    fixture.size = QSize(64, 32); // red left, blue right; shown turned clockwise
    fixture.orientation = 6;
    fixture.make = QStringLiteral("Pixhaul");
    const QString path = put(QStringLiteral("turned.jpg"), JpegFixture::jpeg(fixture));
    BatchOptions o = options();
    o.resize = Resize::ToPixels;
    o.resizePixels = 32;

    ASSERT_EQ(run({path}, o).written, 1);
    const QString output = dest(QStringLiteral("turned.jpg"));
    const QImage picture(output);
    ASSERT_EQ(picture.size(), QSize(16, 32));
    EXPECT_GT(picture.pixelColor(8, 3).red(), 200);
    EXPECT_GT(picture.pixelColor(8, 28).blue(), 200);
    const Exif exif(output);
    EXPECT_EQ(Exif::orientationOf(exif.exifData()), 1);
    EXPECT_EQ(exif.getTagValue(EXIF_TAG_MAKE), QStringLiteral("Pixhaul"));
    EXPECT_EQ(exif.getTagValue(EXIF_TAG_PIXEL_X_DIMENSION), QStringLiteral("16"));
    EXPECT_EQ(exif.getTagValue(EXIF_TAG_PIXEL_Y_DIMENSION), QStringLiteral("32"));
    const QImage thumbnail = Exif::getExifThumbnail(output);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.size(), QSize(120, 160));
    EXPECT_GT(thumbnail.pixelColor(60, 20).red(), 200);

    // Stripped: upright all the same, and no EXIF left to say otherwise.
    o.copyExif = false;
    o.renameFiles = true;
    o.renameSuffix = QStringLiteral(" stripped");
    ASSERT_EQ(run({path}, o).written, 1);
    const QString stripped = dest(QStringLiteral("turned stripped.jpg"));
    EXPECT_EQ(QImage(stripped).size(), QSize(16, 32));
    EXPECT_FALSE(Exif(stripped).hasExifData());
}

TEST_F(BatchProcessRunTest, TheColourProfileIsKeptInJpegAndPng) {
    const QByteArray profile = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    if (profile.isEmpty())
        GTEST_SKIP() << "Qt writes no ICC profile for a built-in colour space";
    const QString path =
        put(QStringLiteral("profiled.jpg"), withIccProfile(jpegBytes({40, 30}), profile));
    for (const Format format : {Format::Jpeg, Format::Png}) {
        BatchOptions o = options();
        o.format = format;
        o.resize = Resize::ByPercent;
        o.resizePercent = 50;
        ASSERT_EQ(run({path}, o).written, 1);
        const QImage written(o.targetPathFor(path));
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.colorSpace().iccProfile(), profile) << int(format);
    }
}

TEST_F(BatchProcessRunTest, DecompressionBombIsRefused) {
    QByteArray bomb = jpegBytes({16, 16});
    // The frame header declares 65000 x 65000 pixels.
    const qsizetype frame = bomb.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    bomb[frame + 5] = char(0xFD);
    bomb[frame + 6] = char(0xE8);
    bomb[frame + 7] = char(0xFD);
    bomb[frame + 8] = char(0xE8);
    const QString path = put(QStringLiteral("bomb.jpg"), bomb);
    const BatchSummary summary = run({path}, options());
    ASSERT_EQ(summary.failures.size(), 1);
    EXPECT_TRUE(summary.failures.at(0).reason.contains(QLatin1String("too large")))
        << summary.failures.at(0).reason.toStdString();
}

TEST_F(BatchProcessRunTest, RunsOnItsOwnThreadWithReportsInOrder) {
    QStringList images;
    for (int i = 0; i < 4; ++i)
        images << put(QStringLiteral("%1.png").arg(i), pngBytes({30, 20}, false));
    BatchProcessRun run(images, options());
    QList<int> finished;
    QObject receiver;
    QObject::connect(&run, &BatchProcessRun::imageFinished, &receiver,
                     [&](const BatchOutcome& outcome) { finished << outcome.index; });
    QSignalSpy done(&run, &BatchProcessRun::finished);
    run.start();
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(finished, (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(done.at(0).at(0).value<BatchSummary>().written, 4);
}

// A destination that takes nothing: every picture fails, every source
// stays as it was (none goes to the Trash), no temporary file is left.
class UnwritableDestinationTest : public BatchProcessRunTest,
                                  public ::testing::WithParamInterface<const char*> {};

TEST_P(UnwritableDestinationTest, LeavesEverySourceUntouched) {
    const QString kind = QString::fromUtf8(GetParam());
    QStringList images;
    QList<QByteArray> before;
    for (int i = 0; i < 3; ++i) {
        before << jpegBytes({300, 200});
        images << put(QStringLiteral("%1.jpg").arg(i), before.last());
    }
    BatchOptions o = options();
    o.deleteOriginals = true;
    rlimit previous{};
    if (kind == QLatin1String("missing")) {
        o.destinationFolder = dest(QStringLiteral("nowhere"));
    } else if (kind == QLatin1String("read-only")) {
        if (::geteuid() == 0)
            GTEST_SKIP() << "root writes into read-only folders";
        QFile::setPermissions(m_dest.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else {
        // A full disk as a writer sees it: a write past the limit fails.
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limit = previous;
        limit.rlim_cur = 512;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    const BatchSummary summary = run(images, o);
    if (kind == QLatin1String("full"))
        ::setrlimit(RLIMIT_FSIZE, &previous);
    QFile::setPermissions(m_dest.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(summary.written, 0);
    EXPECT_EQ(summary.failed, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(summary.failures.value(i).source, images.at(i));
        EXPECT_EQ(TestFiles::read(images.at(i)), before.at(i)) << i;
    }
    EXPECT_TRUE(leftoversIn(m_dest.path()).isEmpty())
        << leftoversIn(m_dest.path()).join(u' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_data.filePath(QStringLiteral("Trash/files/0.jpg"))));
}

INSTANTIATE_TEST_SUITE_P(Destinations, UnwritableDestinationTest,
                         ::testing::Values("missing", "read-only", "full"));

} // namespace
