// SPDX-License-Identifier: GPL-3.0-or-later
// Runs on a private session bus (dbus-run-session).
#include "shell/AppDelegate.h"
#include "browser/ui/ImageBrowserController.h"
#include "transfer/ui/TransferAssistantController.h"

#include "DistributedNotificationCenter.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Catches anything that would go to the desktop's file manager.
class FileManagerStandIn : public QObject {
    Q_OBJECT
public:
    FileManagerStandIn() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~FileManagerStandIn() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url.toLocalFile(); }
};

// Dismisses the modal alert a call is about to show, once it is up.
void dismissNextAlert() {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->isModal()) {
                window->close();
                timer->deleteLater();
                return;
            }
        }
    });
    timer->start(20);
}

class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        UserDefaults::useFile(m_dir.filePath("pixhaul.conf"));
        // The browser reaches these folders through a favourite, whatever
        // the machine mounts.
        UserDefaults::standardUserDefaults().setObject(QStringList{m_dir.path()},
                                                       "browser_favorites");
        // Past the first run: no start-at-login question over the browser.
        UserDefaults::standardUserDefaults().setObject(QStringLiteral("1"), "first_run");
        m_card = m_dir.filePath("EOS_DIGITAL");
        ASSERT_TRUE(JpegFixture::write(m_card + "/DCIM/100CANON/IMG_0001.JPG", {}));
        m_plain = m_dir.filePath("Holidays");
        ASSERT_TRUE(TestFiles::write(m_plain + "/notes.txt", "text"));
    }
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->close();
        QApplication::processEvents();
        UserDefaults::useFile(QString());
    }

    std::unique_ptr<AppDelegate> start(const QStringList& arguments) {
        auto delegate = std::make_unique<AppDelegate>(arguments);
        delegate->setQuitsWhenIdle(false);
        delegate->awakeFromNib();
        return delegate;
    }

    QTemporaryDir m_dir;
    QString m_card;
    QString m_plain;
    FileManagerStandIn m_fileManager;
};

} // namespace

TEST_F(AppDelegateTest, TransferArgumentSuppressesOnlyTheFirstBrowse) {
    auto delegate = start({"pixhaul", "-transfer"});
    EXPECT_TRUE(delegate->launchedFromDetector());
    delegate->applicationDidFinishLaunching();
    EXPECT_EQ(delegate->imageBrowserController(), nullptr);
    EXPECT_FALSE(delegate->launchedFromDetector());

    EXPECT_FALSE(delegate->applicationShouldHandleReopen(false));
    ASSERT_NE(delegate->imageBrowserController(), nullptr);
    EXPECT_TRUE(delegate->imageBrowserController()->isVisible());
    EXPECT_TRUE(delegate->applicationShouldHandleReopen(true));

    auto plainStart = start({"pixhaul"});
    EXPECT_FALSE(plainStart->launchedFromDetector());
}

TEST_F(AppDelegateTest, LauncherRequestForACardOpensTheAssistant) {
    auto delegate = start({"pixhaul", "-transfer"});
    DistributedNotificationCenter::post("launchWithData", {{"unrelated", m_card}});
    DistributedNotificationCenter::post("launchWithData", {{"pixhaul.transfer", m_plain}});
    DistributedNotificationCenter::post("launchWithData", {{"pixhaul.transfer", m_card}});
    for (int i = 0; i < 50 && !delegate->transferController(); ++i)
        QTest::qWait(100);
    ASSERT_NE(delegate->transferController(), nullptr);
    EXPECT_TRUE(delegate->transferController()->isVisible());
    EXPECT_TRUE(m_fileManager.opened.isEmpty());
}

TEST_F(AppDelegateTest, RequestsWithoutACardOrWithoutFilesOpenNoAssistant) {
    auto delegate = start({"pixhaul", "-transfer"});
    delegate->doStartup({});
    delegate->doStartup({{"pixhaul.transfer", m_plain}});
    delegate->doStartup({{"pixhaul.transfer", m_dir.filePath("missing")}});
    EXPECT_EQ(delegate->transferController(), nullptr);

    const QString emptyCard = m_dir.filePath("EMPTY");
    ASSERT_TRUE(QDir().mkpath(emptyCard + "/DCIM/100CANON"));
    dismissNextAlert();
    delegate->doStartup({{"pixhaul.transfer", emptyCard}});
    // The card is looked at on a worker; its alert comes and goes.
    QTest::qWait(1000);
    EXPECT_EQ(delegate->transferController(), nullptr);
}

TEST_F(AppDelegateTest, HandedFoldersAreImportedWhenCardsAndBrowsedOtherwise) {
    auto delegate = start({"pixhaul"});
    QSignalSpy browsed(delegate.get(), &AppDelegate::browseRequested);
    delegate->openFiles({m_plain});
    ASSERT_NE(delegate->imageBrowserController(), nullptr);
    EXPECT_EQ(delegate->imageBrowserController()->currentPath(), m_plain);
    EXPECT_EQ(browsed.size(), 1);
    EXPECT_TRUE(m_fileManager.opened.isEmpty());
    EXPECT_EQ(delegate->transferController(), nullptr);

    delegate->openFiles({m_card});
    for (int i = 0; i < 50 && !delegate->transferController(); ++i)
        QTest::qWait(100);
    ASSERT_NE(delegate->transferController(), nullptr);
}

TEST_F(AppDelegateTest, HandedImagesGoToTheViewer) {
    QStringList ten;
    for (int i = 0; i < 10; ++i) {
        ten << m_dir.filePath(QStringLiteral("album/photo%1.jpg").arg(i));
        ASSERT_TRUE(JpegFixture::write(ten.last(), {}));
    }
    ASSERT_TRUE(TestFiles::write(m_dir.filePath("album/readme.txt"), "x"));

    int index = -1;
    const QStringList beside = AppDelegate::imagesBesideFile(ten[6], &index);
    EXPECT_EQ(beside.size(), 10);
    ASSERT_GE(index, 0);
    EXPECT_EQ(beside.at(index), ten[6]);

    // Showing them full screen needs OpenGL: the viewer's own tests run it.
    auto delegate = start({"pixhaul"});
    EXPECT_TRUE(delegate->openFile(ten[0]));
    EXPECT_FALSE(delegate->openFile(m_dir.filePath("album/readme.txt")));

    // A file whose folder holds no image: its folder is browsed instead.
    delegate->openFiles({m_plain + "/notes.txt"});
    ASSERT_NE(delegate->imageBrowserController(), nullptr);
    EXPECT_EQ(delegate->imageBrowserController()->currentPath(), m_plain);
}

#include "AppDelegateTest.moc"
