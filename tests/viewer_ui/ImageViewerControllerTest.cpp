// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ui/ImageViewerController.h"
#include "DngFixture.h"
#include "JpegFixture.h"
#include "PrivateSettings.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "viewer/GLDrawingImage.h"
#include "viewer/GLImageLoader.h"
#include "viewer/ViewerPlaylist.h"
#include "viewer/ui/GLImageView.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kWait = 60000; // a guard against hanging only

class ImageViewerControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // A private Trash for the deletion.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        SettingsDefaults::registerDefaults(m_settings.store);
        m_settings.store.setBool(false, QLatin1String(SettingsKeys::viewer_transition));
        for (int i = 0; i < 3; ++i) {
            JpegFixture::Options options;
            options.size = QSize(40 + 10 * i, 30);
            m_files.append(m_dir.filePath(QStringLiteral("%1.jpg").arg(i)));
            ASSERT_TRUE(JpegFixture::write(m_files.last(), options));
        }
        m_viewer = std::make_unique<ImageViewerController>(m_settings.store);
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    // The width of the picture on screen once the current one has loaded.
    int shownWidth() {
        const auto shown = [this] {
            const auto image = m_viewer->imageView()->currentImage();
            const auto* loader = m_viewer->playlist().currentLoader();
            return image && loader && loader->glImage() == image;
        };
        if (!QTest::qWaitFor(shown, kWait))
            return -1;
        return int(m_viewer->imageView()->currentImage()->imgWidth());
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(m_viewer.get(), Qt::Key(key), modifiers);
    }

    QTemporaryDir m_dir;
    PrivateSettings m_settings;
    QStringList m_files;
    std::unique_ptr<ImageViewerController> m_viewer;
};

} // namespace

TEST_F(ImageViewerControllerTest, KeysStepWrapAndCycleTheOverlay) {
    m_viewer->startViewer(m_files, 0, false);
    EXPECT_TRUE(m_viewer->isFullScreen());
    EXPECT_EQ(shownWidth(), 40);
    key(Qt::Key_Left); // wraps to the last
    EXPECT_EQ(shownWidth(), 60);
    key(Qt::Key_Space);
    EXPECT_EQ(shownWidth(), 40);
    key(Qt::Key_Right, Qt::AltModifier); // to the end
    EXPECT_EQ(shownWidth(), 60);

    m_viewer->setInfoDisplayLevel(0);
    for (int level : {1, 2, 3, 0}) {
        key(Qt::Key_I);
        EXPECT_EQ(m_viewer->imageView()->infoLevel(), level);
        EXPECT_EQ(m_settings.store.integerForKey(SettingsKeys::viewer_info_level), level);
    }
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(m_viewer->isSlideshowRunning());
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m_viewer->isSlideshowRunning());

    QSignalSpy browse(m_viewer.get(), &ImageViewerController::browseRequested);
    key(Qt::Key_Return);
    ASSERT_EQ(browse.size(), 1);
    EXPECT_EQ(browse.at(0).at(0).toString(), m_files[2]);
    EXPECT_FALSE(m_viewer->isVisible());
}

TEST_F(ImageViewerControllerTest, DeletingTheLastFileTrashesItAndShowsTheFirst) {
    m_viewer->startViewer(m_files, 2, false);
    EXPECT_EQ(shownWidth(), 60);
    // The confirmation's default button.
    QTimer::singleShot(200, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->isModal())
                QTest::keyClick(window, Qt::Key_Return);
        }
    });
    key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !QFileInfo::exists(m_files[2]); }, kWait));
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath("data/Trash/files/2.jpg")));
    EXPECT_EQ(m_viewer->playlist().files(), m_files.mid(0, 2));
    EXPECT_EQ(m_viewer->playlist().index(), 0);
    EXPECT_EQ(shownWidth(), 40);
}

TEST_F(ImageViewerControllerTest, ZoomingPastARawPreviewReadsTheDemosaicedPicture) {
    // The preview fills the 1280-pixel screen, so it is shown first.
    const QString raw = m_dir.filePath("big.dng");
    ASSERT_TRUE(DngFixture::write(raw, {.rawSize = {2600, 1800}, .previewSize = {1300, 900}}));
    m_viewer->startViewer({raw}, 0, false);
    EXPECT_EQ(shownWidth(), 1300);
    const GLImageLoader* loader = m_viewer->playlist().currentLoader();
    ASSERT_TRUE(loader->hasMoreDetail());
    const std::shared_ptr<GLDrawingImage> preview = loader->glImage();

    // Any zoom past the preview's own pixels, here as the wheel would set it.
    m_viewer->imageView()->setZoom(2.0, false);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return loader->glImage() && loader->glImage() != preview; }, kWait));
    EXPECT_FALSE(loader->hasMoreDetail());
}
