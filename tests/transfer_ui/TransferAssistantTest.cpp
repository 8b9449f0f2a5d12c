// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCamera.h"
#include "TransferUiFixture.h"

#include "UserDefaults.h"
#include "camera/CameraDeviceFile.h"
#include "camera/gphoto/GPhotoFile.h"
#include "settings/SettingsKeys.h"
#include "transfer/Transferer.h"
#include "transfer/ui/OverwritePromptController.h"
#include "transfer/ui/TransferAssistantController.h"
#include "transfer/ui/TransferProgressPage.h"
#include "transfer/ui/TransferPromptPage.h"
#include "transfer/ui/TransferRunSession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStorageInfo>
#include <QThreadPool>
#include <QToolButton>
#include <QTreeWidget>

using namespace SettingsKeys;
using State = TransferAssistantController::State;

namespace {

template <typename T> T* child(const QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QDateTime at(int year, int month, int day, int hour = 12, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// Every file below `folder`, relative to it, sorted.
QStringList filesBelow(const QString& folder) {
    QStringList found;
    QDir root(folder);
    const QStringList entries =
        root.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        const QString full = root.filePath(entry);
        if (QFileInfo(full).isDir()) {
            for (const QString& inner : filesBelow(full))
                found.append(entry + QLatin1Char('/') + inner);
        } else {
            found.append(entry);
        }
    }
    return found;
}

} // namespace

class TransferAssistant : public TransferUiFixture {
protected:
    UserDefaults& settings() { return UserDefaults::standardUserDefaults(); }

    // An assistant on a folder, shown, with the destination pattern given.
    std::unique_ptr<TransferAssistantController> open(const QString& source,
                                                      const QString& pattern) {
        auto assistant = std::make_unique<TransferAssistantController>(source);
        assistant->setBrowseHandler([this](const QString& folder) { m_browsed.append(folder); });
        assistant->showWindow();
        child<QLineEdit>(assistant.get(), "destination")->setText(pattern);
        return assistant;
    }
    std::unique_ptr<TransferAssistantController> open(std::shared_ptr<Camera> camera,
                                                      const QString& pattern) {
        auto assistant = std::make_unique<TransferAssistantController>(std::move(camera));
        assistant->setBrowseHandler([this](const QString& folder) { m_browsed.append(folder); });
        assistant->showWindow();
        child<QLineEdit>(assistant.get(), "destination")->setText(pattern);
        return assistant;
    }

    static int page(const TransferAssistantController& assistant) {
        return child<QStackedWidget>(&assistant, "tabView")->currentIndex();
    }
    static QString status(const TransferAssistantController& assistant) {
        return child<QLabel>(&assistant, "status")->text();
    }
    static bool waitForPage(const TransferAssistantController& assistant, int index) {
        return waitFor([&] { return page(assistant) == index; });
    }
    // Past the destinations page (Next once the space is measured) to the
    // transfer page.
    static bool waitForRun(TransferAssistantController& assistant) {
        return waitFor([&] {
            if (assistant.state() == State::confirming &&
                child<QPushButton>(&assistant, "nextButton")->isEnabled())
                assistant.next();
            return assistant.state() >= State::transferring;
        });
    }
    static bool waitForCompletion(TransferAssistantController& assistant) {
        return waitForRun(assistant) &&
               waitFor([&] { return status(assistant) == QLatin1String("Completed!"); });
    }

    QStringList m_browsed;
};

TEST_F(TransferAssistant, WindowLoadsTheSettingsAndLocksTheSourceOfACamera) {
    settings().setObject(QStringLiteral("~/Photos/%Y"), transfer_destination);
    settings().setInteger(1, transfer_mode);
    settings().setObject(QStringList{"Zoo", "Beach"}, transfer_desc_history);
    auto camera = std::make_shared<TestCamera>(QList<std::shared_ptr<TestCameraFile>>{});
    TransferAssistantController assistant(camera);
    EXPECT_EQ(child<QLineEdit>(&assistant, "source")->text(), "Test Camera");
    EXPECT_FALSE(child<QLineEdit>(&assistant, "source")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&assistant, "sourceButton")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(&assistant, "destination")->text(), "~/Photos/%Y");
    EXPECT_EQ(child<QComboBox>(&assistant, "transferMode")->currentIndex(), 1);
    auto* history = child<QComboBox>(&assistant, "description");
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(history->itemText(0), "Zoo");
    EXPECT_EQ(page(assistant), 0);
}

TEST_F(TransferAssistant, TheDestinationChooserStartsAtThePatternsFolderAndFillsTheField) {
    QDir().mkpath(path("photos/chosen"));
    auto assistant = open(path("photos"), path("photos/[%Y]/[%Y-%m-%d] %P"));
    assistant->chooseDestination();
    auto* chooser = assistant->findChild<QFileDialog*>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->windowModality(), Qt::WindowModal);
    EXPECT_EQ(chooser->directory().absolutePath(), path("photos"));
    chooser->selectFile(path("photos/chosen"));
    static_cast<QDialog*>(chooser)->accept();
    EXPECT_EQ(child<QLineEdit>(assistant.get(), "destination")->text(), path("photos/chosen"));

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(assistant->findChild<QFileDialog*>(), nullptr) << "gone once closed";
    assistant->chooseSource();
    chooser = assistant->findChild<QFileDialog*>();
    ASSERT_NE(chooser, nullptr);
    static_cast<QDialog*>(chooser)->reject();
    EXPECT_EQ(child<QLineEdit>(assistant.get(), "source")->text(), path("photos"));
}

TEST_F(TransferAssistant, SetupRefusesABadSourceAndAnEmptyDestination) {
    const QString card = writeCard({at(2012, 5, 7)});
    auto assistant = open(QStringLiteral("~/card"), path("out/%Y"));
    QStringList alerts = answeringAlerts([&] { assistant->next(); });
    EXPECT_EQ(alerts, QStringList{"Source folder must be a valid folder"});
    EXPECT_EQ(assistant->state(), State::setup);

    child<QLineEdit>(assistant.get(), "source")->setText(card);
    child<QLineEdit>(assistant.get(), "destination")->clear();
    alerts = answeringAlerts([&] { assistant->next(); });
    EXPECT_EQ(alerts, QStringList{"Destination folder must not be empty"});
    EXPECT_EQ(assistant->state(), State::setup);
    EXPECT_TRUE(assistant->isVisible());
}

TEST_F(TransferAssistant, AnEmptySourceIsReportedAndTheWindowCloses) {
    QDir().mkpath(path("empty"));
    auto assistant = open(path("empty"), path("out/%Y"));
    const QStringList alerts = answeringAlerts([&] {
        assistant->next();
        EXPECT_TRUE(waitFor([&] { return assistant->state() == State::closed; }));
    });
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], "There are no pictures or movies to import on this camera.");
    EXPECT_FALSE(assistant->isVisible());
}

TEST_F(TransferAssistant, PatternWithoutDescriptionTransfersAtOnceWithTheScannedDays) {
    const QString card = writeCard({at(2012, 5, 7), at(2012, 5, 8, 23, 59), at(2012, 5, 7, 8)});
    auto assistant = open(card, path("out/%Y-%m-%d"));
    child<QComboBox>(assistant.get(), "transferMode")->setCurrentIndex(0);
    assistant->next();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(page(*assistant), 2);
    EXPECT_EQ(filesBelow(path("out")),
              (QStringList{"2012-05-07/IMG_0001.JPG", "2012-05-07/IMG_0003.JPG",
                           "2012-05-08/IMG_0002.JPG"}));
    EXPECT_TRUE(QFileInfo::exists(card + "/DCIM/100TEST/IMG_0001.JPG")) << "copied, not moved";
    EXPECT_EQ(assistant->progressPage()->bytesTransferred(), assistant->transferer()->totalBytes());
    // The edited destination is used but not stored.
    EXPECT_NE(settings().stringForKey(transfer_destination), path("out/%Y-%m-%d"));
    EXPECT_FALSE(child<QPushButton>(assistant.get(), "nextButton")->isEnabled());
    EXPECT_FALSE(child<QLabel>(assistant.get(), "message")->isVisible());
}

TEST_F(TransferAssistant, OnePageForAllGroupsWhenUsedForTheRemaining) {
    const QString card = writeCard({at(2012, 5, 7), at(2012, 6, 1), at(2012, 7, 9)});
    auto assistant = open(card, path("out/%Y-%m-%d %P"));
    assistant->next();
    ASSERT_TRUE(waitForPage(*assistant, 1));
    EXPECT_EQ(child<QDateEdit>(assistant.get(), "datePicker")->date(), QDate(2012, 5, 7));
    child<QDateEdit>(assistant.get(), "datePicker")->setDate(QDate(2013, 1, 2));
    child<QComboBox>(assistant.get(), "description")->setEditText("Holiday");
    child<QCheckBox>(assistant.get(), "useForRemaining")->setChecked(true);
    assistant->next();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(filesBelow(path("out")),
              (QStringList{"2013-01-02 Holiday/IMG_0001.JPG", "2013-01-02 Holiday/IMG_0002.JPG",
                           "2013-01-02 Holiday/IMG_0003.JPG"}));
}

TEST_F(TransferAssistant, OnePagePerGroupWithRecallOfThePreviousValues) {
    const QString card = writeCard({at(2012, 5, 7), at(2012, 6, 1), at(2012, 7, 9)});
    auto assistant = open(card, path("out/%Y-%m-%d %P"));
    auto* date = child<QDateEdit>(assistant.get(), "datePicker");
    auto* description = child<QComboBox>(assistant.get(), "description");
    auto* recall = child<QPushButton>(assistant.get(), "recallButton");
    assistant->next();
    ASSERT_TRUE(waitForPage(*assistant, 1));

    EXPECT_FALSE(recall->isEnabled());
    EXPECT_EQ(description->currentText(), "");
    description->setEditText("Birthday");
    assistant->next();

    // Second group: its own day and no description, recall restores the first's.
    EXPECT_EQ(page(*assistant), 1);
    EXPECT_EQ(date->date(), QDate(2012, 6, 1));
    EXPECT_EQ(description->currentText(), "");
    EXPECT_TRUE(recall->isEnabled());
    recall->click();
    EXPECT_EQ(date->date(), QDate(2012, 5, 7));
    EXPECT_EQ(description->currentText(), "Birthday");
    assistant->next();

    EXPECT_EQ(date->date(), QDate(2012, 7, 9));
    EXPECT_TRUE(recall->isEnabled());
    assistant->next(); // no description
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(filesBelow(path("out")),
              (QStringList{"2012-05-07 Birthday/IMG_0001.JPG", "2012-05-07 Birthday/IMG_0002.JPG",
                           "2012-07-09/IMG_0003.JPG"}));
}

TEST_F(TransferAssistant, DescriptionHistoryKeepsTheTenNewestFirst) {
    QStringList old;
    for (int i = 1; i <= 10; ++i)
        old.append(QStringLiteral("Trip %1").arg(i));
    settings().setObject(old, transfer_desc_history);
    const QString card = writeCard({at(2012, 5, 7), at(2012, 6, 1)});
    auto assistant = open(card, path("out/%P"));
    auto* description = child<QComboBox>(assistant.get(), "description");
    assistant->next();
    ASSERT_TRUE(waitForPage(*assistant, 1));
    description->setEditText("Eleventh");
    assistant->next();
    ASSERT_EQ(description->count(), 10);
    EXPECT_EQ(description->itemText(0), "Eleventh");
    EXPECT_EQ(description->itemText(9), "Trip 9");
    EXPECT_EQ(description->currentText(), "") << "the next group starts empty";
    // An entry used again moves to the front instead of doubling.
    description->setEditText("Trip 5");
    assistant->next();
    const QStringList stored = settings().stringArrayForKey(transfer_desc_history);
    ASSERT_EQ(stored.size(), 10);
    EXPECT_EQ(stored.mid(0, 3), (QStringList{"Trip 5", "Eleventh", "Trip 1"}));
    EXPECT_EQ(stored.count("Trip 5"), 1);
    ASSERT_TRUE(waitForCompletion(*assistant));
}

TEST_F(TransferAssistant, ThumbnailsWrapAroundWithinTheGroup) {
    const QString card = writeCard({at(2012, 5, 7, 8), at(2012, 5, 7, 9), at(2012, 5, 7, 10)});
    auto assistant = open(card, path("out/%P"));
    assistant->next();
    ASSERT_TRUE(waitForPage(*assistant, 1));
    auto* thumbnail = child<QLabel>(assistant.get(), "thumbnail");
    TransferPromptPage* prompt = assistant->promptPage();
    EXPECT_EQ(prompt->currentThumbnailIndex(), 0);
    EXPECT_EQ(thumbnail->toolTip(), "IMG_0001.JPG");
    child<QToolButton>(assistant.get(), "previousThumbnail")->click();
    EXPECT_EQ(prompt->currentThumbnailIndex(), 2);
    EXPECT_EQ(thumbnail->toolTip(), "IMG_0003.JPG");
    child<QToolButton>(assistant.get(), "nextThumbnail")->click();
    child<QToolButton>(assistant.get(), "nextThumbnail")->click();
    EXPECT_EQ(prompt->currentThumbnailIndex(), 1);
    assistant->stepThumbnail(1);
    assistant->stepThumbnail(1);
    EXPECT_EQ(prompt->currentThumbnailIndex(), 0);
    assistant->cancel();
    EXPECT_EQ(assistant->state(), State::closed);
    EXPECT_FALSE(assistant->isVisible());
}

TEST_F(TransferAssistant, ADeviceThumbnailArrivingLaterIsShown) {
    const auto deviceFile = [](const QString& name) {
        return std::make_shared<GPhotoFile>("/DCIM/100TEST", name, 100, at(2012, 5, 7),
                                            "image/jpeg", QStringList());
    };
    const GPhotoFilePtr first = deviceFile("A.JPG");
    const GPhotoFilePtr second = deviceFile("B.JPG");
    auto camera = std::make_shared<TestCamera>(QList<CameraFilePtr>{
        std::make_shared<CameraDeviceFile>(first), std::make_shared<CameraDeviceFile>(second)});
    auto assistant = open(camera, path("out/%P"));
    assistant->next();
    ASSERT_TRUE(waitForPage(*assistant, 1));
    auto* thumbnail = child<QLabel>(assistant.get(), "thumbnail");
    EXPECT_TRUE(thumbnail->pixmap().isNull());

    QImage arrived(40, 30, QImage::Format_RGB32);
    arrived.fill(Qt::green);
    second->setThumbnail(arrived);
    assistant->cameraFileThumbnailBecomeReady(second.get());
    EXPECT_TRUE(thumbnail->pixmap().isNull()) << "not the file on display";
    first->setThumbnail(arrived);
    assistant->cameraFileThumbnailBecomeReady(first.get());
    EXPECT_FALSE(thumbnail->pixmap().isNull());
    assistant->cancel();
}

TEST_F(TransferAssistant, CancelDuringTheRunFinishesTheCurrentFileAndBrowsesLater) {
    settings().setBool(true, transfer_browse);
    QList<std::shared_ptr<TestCameraFile>> files;
    for (int i = 1; i <= 3; ++i)
        files.append(
            std::make_shared<TestCameraFile>(QStringLiteral("F%1.JPG").arg(i), at(2012, 5, i)));
    files[1]->closeGate();
    auto assistant = open(std::make_shared<TestCamera>(files), path("out/%Y-%m-%d"));
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor([&] { return files[1]->transferStarted(); }));
    EXPECT_EQ(assistant->state(), State::transferring);

    assistant->cancel();
    EXPECT_TRUE(assistant->canceled());
    EXPECT_TRUE(assistant->isVisible()) << "the first press only stops the run";
    files[1]->openGate();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(filesBelow(path("out")), (QStringList{"2012-05-01/F1.JPG", "2012-05-02/F2.JPG"}));
    EXPECT_FALSE(files[2]->transferStarted());

    QTimer* timer = assistant->browseTimer();
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(m_browsed.isEmpty());
    timer->setInterval(0); // fire now rather than in three seconds
    ASSERT_TRUE(waitFor([&] { return !m_browsed.isEmpty(); }));
    EXPECT_EQ(m_browsed, QStringList{path("out/2012-05-01")});
    EXPECT_FALSE(assistant->isVisible()) << "a stopped run's window closes with the timer";
}

TEST_F(TransferAssistant, AfterACompletedRunTheSecondCancelCloses) {
    settings().setBool(false, transfer_browse);
    auto file = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    auto assistant = open(std::make_shared<TestCamera>(QList{file}), path("out"));
    assistant->next();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_FALSE(assistant->browseTimer()->isActive());
    assistant->cancel();
    EXPECT_TRUE(assistant->isVisible());
    assistant->cancel();
    EXPECT_FALSE(assistant->isVisible());
    EXPECT_EQ(page(*assistant), 0);
    EXPECT_TRUE(assistant->transferer()->targets().isEmpty()) << "a fresh transferer";
}

TEST_F(TransferAssistant, SkippedAndFailedFilesAreNoticed) {
    settings().setInteger(2, transfer_overwrite_mode);
    QList<std::shared_ptr<TestCameraFile>> files;
    for (const char* name : {"A.JPG", "B.JPG", "C.JPG", "D.JPG"})
        files.append(std::make_shared<TestCameraFile>(name, at(2012, 5, 7)));
    files[2]->setFails(true);
    // Only the last file is skipped: no later file start reveals it.
    QDir().mkpath(path("out"));
    QFile(path("out/D.JPG")).open(QIODevice::WriteOnly);
    auto assistant = open(std::make_shared<TestCamera>(files), path("out"));
    auto* skipNotice = child<QLabel>(assistant.get(), "message");
    auto* failureNotice = child<QLabel>(assistant.get(), "failureMessage");
    assistant->next();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_TRUE(skipNotice->isVisible());
    EXPECT_TRUE(failureNotice->isVisible());
    EXPECT_EQ(failureNotice->text(), "1 file could not be transferred: C.JPG");
    EXPECT_EQ(QFileInfo(path("out/D.JPG")).size(), 0) << "kept";
    EXPECT_TRUE(
        child<QLabel>(assistant.get(), "progressDetails")->text().startsWith("4 of 4 files"));
    EXPECT_EQ(child<QLabel>(assistant.get(), "finishedCounts")->text(),
              "Transferred: 2, skipped: 1, already imported: 0, failed: 1");
    child<QPushButton>(assistant.get(), "showInBrowserButton")->click();
    EXPECT_EQ(m_browsed, QStringList{path("out")});
}

TEST_F(TransferAssistant, TheSkipNoticeAppearsWhenTheNextFileStarts) {
    settings().setInteger(2, transfer_overwrite_mode);
    auto first = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    auto second = std::make_shared<TestCameraFile>("B.JPG", at(2012, 5, 7));
    second->closeGate();
    QDir().mkpath(path("out"));
    QFile(path("out/A.JPG")).open(QIODevice::WriteOnly);
    auto assistant = open(std::make_shared<TestCamera>(QList{first, second}), path("out"));
    auto* skipNotice = child<QLabel>(assistant.get(), "message");
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor([&] { return status(*assistant) == "B.JPG"; }));
    EXPECT_TRUE(skipNotice->isVisible());
    second->openGate();
    ASSERT_TRUE(waitForCompletion(*assistant));
}

TEST_F(TransferAssistant, ConflictsAreAskedOnTheWindowAndAnsweredForTheRun) {
    settings().setInteger(0, transfer_overwrite_mode);
    QList<std::shared_ptr<TestCameraFile>> files;
    for (const char* name : {"A.JPG", "B.JPG", "C.JPG"})
        files.append(std::make_shared<TestCameraFile>(name, at(2012, 5, 7), 10));
    QDir().mkpath(path("out"));
    QFile(path("out/A.JPG")).open(QIODevice::WriteOnly);
    QFile(path("out/C.JPG")).open(QIODevice::WriteOnly);
    auto assistant = open(std::make_shared<TestCamera>(files), path("out"));
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor(
        [&] { return assistant->runSession() && assistant->runSession()->overwritePrompt(); }));
    OverwritePromptController* prompt = assistant->runSession()->overwritePrompt();
    EXPECT_EQ(prompt->parentWidget(), assistant.get());
    EXPECT_EQ(prompt->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(child<QLabel>(prompt, "message")->text().contains("“A.JPG”"));
    EXPECT_EQ(prompt->applyChoice(), 1);
    prompt->replace();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(QFileInfo(path("out/A.JPG")).size(), 10);
    EXPECT_EQ(QFileInfo(path("out/C.JPG")).size(), 10) << "replaced without a second question";
    EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 0);
}

TEST_F(TransferAssistant, StoppingInTheOverwritePromptEndsTheRun) {
    settings().setInteger(0, transfer_overwrite_mode);
    auto first = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    auto second = std::make_shared<TestCameraFile>("B.JPG", at(2012, 5, 7));
    QDir().mkpath(path("out"));
    QFile(path("out/A.JPG")).open(QIODevice::WriteOnly);
    auto assistant = open(std::make_shared<TestCamera>(QList{first, second}), path("out"));
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor(
        [&] { return assistant->runSession() && assistant->runSession()->overwritePrompt(); }));
    assistant->runSession()->overwritePrompt()->cancelTransfer();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_FALSE(second->transferStarted());
    EXPECT_EQ(QFileInfo(path("out/A.JPG")).size(), 0);
}

TEST_F(TransferAssistant, ClosingTheWindowMidQuestionStopsTheWorker) {
    settings().setInteger(0, transfer_overwrite_mode);
    auto first = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    QDir().mkpath(path("out"));
    QFile(path("out/A.JPG")).open(QIODevice::WriteOnly);
    auto assistant = open(std::make_shared<TestCamera>(QList{first}), path("out"));
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor(
        [&] { return assistant->runSession() && assistant->runSession()->overwritePrompt(); }));
    assistant.reset(); // must not hang or crash
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(QFileInfo(path("out/A.JPG")).size(), 0);
}

TEST_F(TransferAssistant, ClosingTheWindowMidFileDoesNotWaitForTheWorker) {
    // A device file's download needs the main thread: closing must not block.
    auto first = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    auto second = std::make_shared<TestCameraFile>("B.JPG", at(2012, 5, 7));
    first->closeGate();
    auto assistant = open(std::make_shared<TestCamera>(QList{first, second}), path("out"));
    assistant->next();
    ASSERT_TRUE(waitForRun(*assistant));
    ASSERT_TRUE(waitFor([&] { return first->transferStarted(); }));
    assistant.reset(); // returns while the worker waits at the gate
    first->openGate();
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(QFileInfo::exists(path("out/A.JPG")));
    EXPECT_FALSE(second->transferStarted());
}

TEST_F(TransferAssistant, FilesImportedBeforeAreCountedAndLeftOutWhenOnlyNewOnesAreWanted) {
    writeCard({at(2012, 5, 7), at(2012, 5, 8)});
    auto first = open(path("card"), path("first"));
    first->next();
    ASSERT_TRUE(waitForCompletion(*first));

    const QString card = writeCard({at(2012, 5, 7), at(2012, 5, 8), at(2012, 5, 9)});
    auto assistant = open(card, path("second"));
    assistant->next();
    ASSERT_TRUE(waitFor([&] { return assistant->state() == State::reviewing; }));
    EXPECT_EQ(page(*assistant), 0);
    EXPECT_EQ(child<QLabel>(assistant.get(), "historyCounts")->text(), "1 new, 2 already imported");
    EXPECT_TRUE(child<QCheckBox>(assistant.get(), "newOnly")->isChecked());
    EXPECT_FALSE(child<QComboBox>(assistant.get(), "transferMode")->isEnabled());
    assistant->next();
    ASSERT_TRUE(waitForCompletion(*assistant));
    EXPECT_EQ(filesBelow(path("second")), QStringList{"IMG_0003.JPG"});
}

TEST_F(TransferAssistant, TheDestinationsPageShowsTheSpaceAndARunThatCannotFitCannotStart) {
    const QString card = writeCard({at(2012, 5, 7)});
    auto assistant = open(card, path("out"));
    auto* next = child<QPushButton>(assistant.get(), "nextButton");
    auto* list = child<QTreeWidget>(assistant.get(), "destinationList");
    assistant->next();
    ASSERT_TRUE(
        waitFor([&] { return assistant->state() == State::confirming && next->isEnabled(); }));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(list->topLevelItem(0)->text(1).contains(" to write, "))
        << list->topLevelItem(0)->text(1).toStdString();
    ASSERT_EQ(list->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->child(0)->text(0), path("out"));
    EXPECT_FALSE(child<QLabel>(assistant.get(), "verifyNote")->isVisibleTo(assistant.get()));
    assistant->cancel();

    // Checked copies from a camera that offers no hash: said on the page.
    settings().setBool(true, transfer_verify);
    auto file = std::make_shared<TestCameraFile>("A.JPG", at(2012, 5, 7));
    auto camera = open(std::make_shared<TestCamera>(QList{file}), path("out"));
    camera->next();
    ASSERT_TRUE(waitFor([&] { return camera->state() == State::confirming; }));
    EXPECT_TRUE(child<QLabel>(camera.get(), "verifyNote")->isVisibleTo(camera.get()));
    camera->cancel();
    settings().setBool(false, transfer_verify);

    // Sparse: as large as the free space and more, without taking any.
    QFile huge(card + "/DCIM/100TEST/MVI_0002.MOV");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(QStorageInfo(path(QString())).bytesAvailable() + (qint64(1) << 30)));
    huge.close();
    assistant = open(card, path("out"));
    next = child<QPushButton>(assistant.get(), "nextButton");
    auto* message = child<QLabel>(assistant.get(), "spaceMessage");
    assistant->next();
    ASSERT_TRUE(waitFor([&] { return message->text().contains("Not enough space on "); }))
        << message->text().toStdString();
    EXPECT_TRUE(message->text().contains(path("out"))) << message->text().toStdString();
    EXPECT_FALSE(next->isEnabled());
    assistant->next();
    EXPECT_EQ(assistant->state(), State::confirming);
    EXPECT_FALSE(QFileInfo::exists(path("out")));
}
