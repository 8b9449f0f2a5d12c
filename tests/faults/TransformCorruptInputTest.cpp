// SPDX-License-Identifier: GPL-3.0-or-later
// The lossless transform's fuzz entry over damaged copies of valid files,
// under ASan: truncations, flipped bytes and forged headers must be refused
// or transformed, never read out of bounds. Inputs kept from fuzzing runs
// (tests/data/transform-*.jpg) are replayed as well.
#include "JpegFixture.h"
#include "TransformFuzzEntry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

void feed(const QByteArray& bytes) {
    TransformFuzzEntry::jpegTransform(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      std::size_t(bytes.size()));
}

QList<QByteArray> seeds() {
    QList<QByteArray> files;
    for (const QSize size : {QSize(64, 32), QSize(17, 9)}) {
        JpegFixture::Options options;
        options.size = size;
        options.orientation = 6;
        options.make = QStringLiteral("Seed");
        files.append(JpegFixture::jpeg(options));
    }
    return files;
}

TEST(TransformCorruptInputTest, DamagedFilesAreRefusedOrTransformedSafely) {
    QRandomGenerator random(20260512);
    for (const QByteArray& seed : seeds()) {
        for (qsizetype cut = 2; cut < seed.size(); cut += 1 + seed.size() / 40)
            feed(seed.left(cut));
        for (int round = 0; round < 200; ++round) {
            QByteArray damaged = seed;
            for (int flips = 1 + random.bounded(4); flips > 0; --flips)
                damaged[random.bounded(damaged.size())] = char(random.bounded(256));
            feed(damaged);
        }
    }
}

TEST(TransformCorruptInputTest, KeptFuzzingInputsStaySafe) {
    const QDir data(QStringLiteral(PIXHAUL_TEST_DATA_DIR));
    for (const QString& name : data.entryList({QStringLiteral("transform-*")}, QDir::Files)) {
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
        feed(file.readAll());
    }
}

} // namespace
