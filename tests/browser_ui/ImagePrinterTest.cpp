// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ui/ImagePrinter.h"

#include "JpegFixture.h"

#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Where red and blue pixels are on a rendered page.
struct Colours {
    QRect red;
    QRect blue;
};

Colours findColours(const QImage& page) {
    Colours found;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 160 && c.green() < 90 && c.blue() < 90)
                found.red |= QRect(x, y, 1, 1);
            else if (c.blue() > 160 && c.red() < 90 && c.green() < 90)
                found.blue |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

class ImagePrinterTest : public ::testing::Test {
protected:
    // The PDF's page count and the pages rendered at `dpi`, through poppler.
    static int pageCount(const QString& pdf) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        if (!info.waitForFinished(60000))
            return -1;
        for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
            if (line.startsWith(QLatin1String("Pages:")))
                return line.mid(6).trimmed().toInt();
        }
        return -1;
    }
    QList<QImage> render(const QString& pdf, int dpi) const {
        QProcess render;
        const QString prefix = m_folder.filePath(QStringLiteral("page"));
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi),
                                                  QStringLiteral("-png"), pdf, prefix});
        if (!render.waitForFinished(60000) || render.exitCode() != 0)
            return {};
        QList<QImage> pages;
        const QStringList files =
            QDir(m_folder.path())
                .entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
        for (const QString& file : files)
            pages.append(QImage(m_folder.filePath(file)).convertToFormat(QImage::Format_RGB32));
        return pages;
    }
    QString photo(const char* name, QSize size) const {
        JpegFixture::Options options;
        options.size = size;
        const QString file = m_folder.filePath(QLatin1String(name));
        return JpegFixture::write(file, options) ? file : QString();
    }

    QTemporaryDir m_folder;
};

TEST_F(ImagePrinterTest, PrintsOnePagePerPictureTurnedToThePageAndScaledDownToFit) {
    for (const char* tool : {"pdfinfo", "pdftoppm"})
        ASSERT_FALSE(QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            << tool << " (poppler-utils) is needed to read the printed pages";

    enum class Expect { Turned, Upright, Empty };
    const struct {
        const char* name;
        QList<QSize> photos; // an empty size: a missing file
        QList<Expect> pages;
    } cases[] = {
        {"two landscape photos", {{3000, 1500}, {2400, 1200}}, {Expect::Turned, Expect::Turned}},
        {"a portrait photo and a missing one",
         {{1500, 3000}, {}},
         {Expect::Upright, Expect::Empty}},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList paths;
        for (const QSize& size : c.photos) {
            const QByteArray name =
                QStringLiteral("photo-%1-%2.jpg").arg(run).arg(paths.size()).toUtf8();
            paths << (size.isEmpty() ? m_folder.filePath(QStringLiteral("missing.jpg"))
                                     : photo(name.constData(), size));
        }
        const QString pdf = m_folder.filePath(QStringLiteral("print-%1.pdf").arg(run++));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        ASSERT_TRUE(ImagePrinter::printImagesTo(printer, paths));

        ASSERT_EQ(pageCount(pdf), c.pages.size());
        for (const QString& old : QDir(m_folder.path()).entryList({QStringLiteral("page-*.png")}))
            QFile::remove(m_folder.filePath(old));
        const QList<QImage> pages = render(pdf, 30);
        ASSERT_EQ(pages.size(), c.pages.size());
        for (qsizetype i = 0; i < pages.size(); ++i) {
            SCOPED_TRACE(i);
            const QImage& page = pages[i];
            EXPECT_LT(page.width(), page.height()); // portrait paper
            const Colours colours = findColours(page);
            if (c.pages[i] == Expect::Empty) {
                EXPECT_TRUE(colours.red.isEmpty() && colours.blue.isEmpty());
                continue;
            }
            ASSERT_FALSE(colours.red.isEmpty());
            ASSERT_FALSE(colours.blue.isEmpty());
            const QRect picture = colours.red | colours.blue;
            // Upright on the paper now: twice as high as wide.
            EXPECT_NEAR(double(picture.height()) / picture.width(), 2.0, 0.1);
            // Scaled down to the printable height (297 - 20 mm), centred.
            const double printableHeight = (297.0 - 20.0) / 25.4 * 30;
            EXPECT_NEAR(picture.height(), printableHeight, 3);
            EXPECT_NEAR(picture.center().x(), page.width() / 2.0, 3);
            if (c.pages[i] == Expect::Turned) {
                // A quarter clockwise: the left (red) half is on top.
                EXPECT_LT(colours.red.bottom(), colours.blue.top());
            } else {
                EXPECT_LT(colours.red.right(), colours.blue.left());
            }
        }
    }
}

TEST(ImagePrinterPlacement, CentresAndScalesDownButNeverUp) {
    const QRectF page(0, 0, 100, 200);
    EXPECT_EQ(ImagePrinter::placement({50, 20}, page), QRectF(25, 90, 50, 20));
    EXPECT_EQ(ImagePrinter::placement({400, 200}, page), QRectF(0, 75, 100, 50));
    EXPECT_EQ(ImagePrinter::placement({100, 400}, page), QRectF(25, 0, 50, 200));
}

} // namespace
