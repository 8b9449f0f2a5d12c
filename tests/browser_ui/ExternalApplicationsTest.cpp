// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ui/ExternalApplications.h"

#include "SystemUtils.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ExternalApplications, ExecLinesTakeTheFilesAsArgumentsNeverAsText) {
    const QStringList files = {"/pics/a b.jpg", "/pics/it's \"quoted\"; rm -rf ~.jpg"};
    const struct {
        const char* exec;
        QList<QStringList> expected;
    } cases[] = {
        {"gimp-2.10 %U",
         {{"gimp-2.10", "file:///pics/a%20b.jpg",
           "file:///pics/it's%20%22quoted%22;%20rm%20-rf%20~.jpg"}}},
        {"shotwell %F", {{"shotwell", files[0], files[1]}}},
        {"viewer --one %f", {{"viewer", "--one", files[0]}, {"viewer", "--one", files[1]}}},
        {"\"/opt/My App/run\" --name \"a \\\"b\\\"\" %i %c %k %F",
         {{"/opt/My App/run", "--name", "a \"b\"", files[0], files[1]}}},
        {"digikam", {{"digikam", files[0], files[1]}}},
        {"tool --rate=50%% %F", {{"tool", "--rate=50%", files[0], files[1]}}},
        {"broken \"quote %F", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        EXPECT_EQ(ExternalApplications::execCommandLines(QString::fromUtf8(c.exec), files),
                  c.expected);
    }
}

TEST(ExternalApplications, TheEditorAndTheLibraryAreFoundByTheirDesktopEntries) {
    QTemporaryDir folder;
    const QString shotwell = folder.filePath("org.gnome.Shotwell.desktop");
    const QString digikam = folder.filePath("org.kde.digikam.desktop");
    ASSERT_TRUE(TestFiles::write(shotwell, "[Desktop Entry]\nName=Shotwell\nExec=shotwell %U\n"));
    ASSERT_TRUE(TestFiles::write(digikam, "[Desktop Entry]\nName=digiKam\nExec=digikam %F\n"));
    QStringList installed;
    SystemUtils::setDesktopEntryLocator([&](const QString& id) {
        const QString entry = folder.filePath(id + ".desktop");
        return installed.contains(id) ? entry : QString();
    });

    EXPECT_TRUE(ExternalApplications::imageEditorEntry().isEmpty());
    EXPECT_TRUE(ExternalApplications::photoLibraryEntry().isEmpty());

    installed = {"org.kde.digikam", "org.gnome.Shotwell"};
    SystemUtils::setDesktopEntryLocator([&](const QString& id) {
        return installed.contains(id) ? folder.filePath(id + ".desktop") : QString();
    });
    EXPECT_EQ(ExternalApplications::photoLibraryEntry(), shotwell);
    EXPECT_EQ(ExternalApplications::displayName(shotwell), "Shotwell");

    installed = {"org.kde.digikam"};
    SystemUtils::setDesktopEntryLocator([&](const QString& id) {
        return installed.contains(id) ? folder.filePath(id + ".desktop") : QString();
    });
    EXPECT_EQ(ExternalApplications::photoLibraryEntry(), digikam);
    EXPECT_EQ(ExternalApplications::displayName(digikam), "digiKam");
    SystemUtils::setDesktopEntryLocator({});
}

} // namespace
