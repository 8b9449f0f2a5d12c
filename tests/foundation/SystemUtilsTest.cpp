// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemUtils.h"
#include "DesktopEntries.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString userApplications() {
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

QByteArray desktopEntry(const char* name, const char* extra = "") {
    return QByteArray("[Desktop Entry]\nType=Application\nName=") + name + "\nExec=" + name +
           " %F\n" + extra;
}

// Installed entries are removed again so tests stay independent.
struct InstalledEntries {
    QStringList paths;
    bool add(const QString& relativePath, const QByteArray& contents) {
        const QString path = userApplications() + QLatin1Char('/') + relativePath;
        paths << path;
        return TestFiles::write(path, contents);
    }
    ~InstalledEntries() {
        for (const QString& path : paths)
            QFile::remove(path);
    }
};

QByteArray pngBytes(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(SystemUtils, BundlePathAsksTheDesktopOncePerIdentifierAlsoWhenMissing) {
    QStringList asked;
    SystemUtils::setDesktopEntryLocator([&asked](const QString& identifier) {
        asked << identifier;
        return identifier == QLatin1String("org.gimp.GIMP")
                   ? QStringLiteral("/usr/share/applications/org.gimp.GIMP.desktop")
                   : QString();
    });
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(SystemUtils::bundlePathForIdentifier(QStringLiteral("org.gimp.GIMP")),
                  "/usr/share/applications/org.gimp.GIMP.desktop");
        EXPECT_TRUE(SystemUtils::bundlePathForIdentifier(QStringLiteral("no.such.app")).isEmpty());
    }
    EXPECT_EQ(asked, QStringList({"org.gimp.GIMP", "no.such.app"}));
    SystemUtils::setDesktopEntryLocator({});
}

TEST(DesktopEntries, FindsEntriesByIdIncludingSubfoldersAndHonoursHidden) {
    InstalledEntries entries;
    ASSERT_TRUE(entries.add(QStringLiteral("pixhaul-test-viewer.desktop"), desktopEntry("viewer")));
    ASSERT_TRUE(entries.add(QStringLiteral("pixvendor/tool.desktop"), desktopEntry("tool")));
    ASSERT_TRUE(entries.add(QStringLiteral("pixhaul-test-gone.desktop"),
                            desktopEntry("gone", "Hidden=true\n")));

    const QString viewer = userApplications() + QStringLiteral("/pixhaul-test-viewer.desktop");
    EXPECT_EQ(DesktopEntries::pathForDesktopId(QStringLiteral("pixhaul-test-viewer")), viewer);
    EXPECT_EQ(DesktopEntries::pathForDesktopId(QStringLiteral("pixhaul-test-viewer.desktop")),
              viewer);
    EXPECT_EQ(DesktopEntries::pathForDesktopId(QStringLiteral("pixvendor-tool.desktop")),
              userApplications() + QStringLiteral("/pixvendor/tool.desktop"));
    EXPECT_TRUE(DesktopEntries::pathForDesktopId(QStringLiteral("pixhaul-test-gone")).isEmpty());
    EXPECT_TRUE(DesktopEntries::pathForDesktopId(QStringLiteral("../etc/passwd")).isEmpty());
    EXPECT_EQ(DesktopEntries::value(viewer, QStringLiteral("Name")), "viewer");
}

TEST(SystemUtils, DefaultApplicationComesFromMimeAppsListSkippingUninstalledEntries) {
    InstalledEntries entries;
    ASSERT_TRUE(entries.add(QStringLiteral("pixhaul-test-png.desktop"),
                            desktopEntry("png", "MimeType=image/png;\n")));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/mimeapps.list");
    ASSERT_TRUE(TestFiles::write(config, "[Added Associations]\n"
                                         "image/png=pixhaul-test-other.desktop;\n"
                                         "[Default Applications]\n"
                                         "image/png=pixhaul-not-installed.desktop;"
                                         "pixhaul-test-png.desktop;\n"));
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(TestFiles::write(picture, pngBytes(QSize(4, 4))));
    EXPECT_EQ(SystemUtils::defaultApplicationForFile(picture),
              userApplications() + QStringLiteral("/pixhaul-test-png.desktop"));
    EXPECT_TRUE(SystemUtils::defaultApplicationForFile(QString()).isEmpty());
    QFile::remove(config);
}

TEST(SystemUtils, ImagePreviewFitsTheSizeWithoutEnlarging) {
    QTemporaryDir folder;
    const QString large = folder.filePath(QStringLiteral("large.png"));
    const QString small = folder.filePath(QStringLiteral("small.png"));
    ASSERT_TRUE(TestFiles::write(large, pngBytes(QSize(400, 200))));
    ASSERT_TRUE(TestFiles::write(small, pngBytes(QSize(20, 10))));

    EXPECT_EQ(SystemUtils::imageWithPreviewOfFileAtPath(large, QSize(100, 100), false).size(),
              QSize(100, 50));
    EXPECT_EQ(SystemUtils::imageWithPreviewOfFileAtPath(small, QSize(100, 100), false).size(),
              QSize(20, 10));
    // As an icon the picture sits centred in a canvas of exactly the size.
    const QImage icon = SystemUtils::imageWithPreviewOfFileAtPath(large, QSize(64, 64), true);
    EXPECT_EQ(icon.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(icon.pixel(32, 2)), 0);
    EXPECT_EQ(QColor(icon.pixel(32, 32)), QColor(Qt::green));

    EXPECT_TRUE(
        SystemUtils::imageWithPreviewOfFileAtPath(QString(), QSize(64, 64), false).isNull());
    EXPECT_TRUE(SystemUtils::imageWithPreviewOfFileAtPath(large, QSize(), false).isNull());
}
