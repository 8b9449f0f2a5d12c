// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/Transferer.h"

#include "PrivateSettings.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

// A camera file that only knows its name, size and date, and counts how
// often it is asked for them.
class FakeFile : public CameraFile {
public:
    FakeFile(const QString& name, qint64 size, const QDateTime& taken)
        : name(name)
        , size(size)
        , taken(taken) {}
    QString title() const override { return name; }
    qint64 fileSize() const override {
        ++sizeAsked;
        return size;
    }
    QDateTime creationDate() const override {
        ++dateAsked;
        return taken;
    }
    QString name;
    qint64 size;
    QDateTime taken;
    mutable int sizeAsked = 0;
    mutable int dateAsked = 0;
};

class FakeCamera : public Camera {
public:
    QString title() override { return QStringLiteral("fake"); }
    QList<CameraFilePtr> getFilesButImagesOnly(bool, bool stopAtFirst) override {
        ++listed;
        return stopAtFirst ? files.mid(0, 1) : files;
    }
    void add(const QString& name, qint64 size, const QDateTime& taken) {
        files.append(std::make_shared<FakeFile>(name, size, taken));
    }
    QList<CameraFilePtr> files;
    int listed = 0;
};

QDateTime at(int year, int month, int day, int hour = 12, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

QStringList titles(const TransferTarget& target) {
    QStringList names;
    for (const CameraFilePtr& file : target.items())
        names << file->title();
    return names;
}

TransferTarget targetOn(const QDate& day, const QString& description = {}) {
    TransferTarget target;
    target.setDate(day.startOfDay());
    target.setDescription(description);
    return target;
}

QString folderFor(const QString& pattern, const TransferTarget& target) {
    return Transferer::calcTargetFolderForFile({}, target, pattern);
}

TEST(TransfererTest, GroupsByLocalDayAscendingAskingEachFileOnce) {
    FakeCamera camera;
    camera.add(QStringLiteral("late.jpg"), 10, at(2012, 9, 8, 0, 1));
    camera.add(QStringLiteral("night.jpg"), 20, at(2012, 9, 7, 23, 59));
    for (int i = 0; i < 10; ++i)
        camera.add(QStringLiteral("day%1.jpg").arg(i), 1, at(2012, 5, 7, 8 + i));
    camera.add(QStringLiteral("again.jpg"), 5, at(2012, 9, 8, 18));

    EXPECT_TRUE(Transferer::cameraHasFiles(camera, false));
    Transferer transferer;
    transferer.scanCamera(camera);

    EXPECT_EQ(transferer.totalBytes(), 45);
    ASSERT_EQ(transferer.targets().size(), 3);
    EXPECT_EQ(transferer.targets()[0].date(), QDate(2012, 5, 7).startOfDay());
    EXPECT_EQ(transferer.targets()[0].items().size(), 10);
    EXPECT_EQ(titles(transferer.targets()[0]).first(), QStringLiteral("day0.jpg"));
    EXPECT_EQ(titles(transferer.targets()[1]), QStringList{QStringLiteral("night.jpg")});
    EXPECT_EQ(titles(transferer.targets()[2]), (QStringList{"late.jpg", "again.jpg"}));
    for (const CameraFilePtr& file : camera.files) {
        EXPECT_EQ(static_cast<FakeFile*>(file.get())->sizeAsked, 1);
        EXPECT_EQ(static_cast<FakeFile*>(file.get())->dateAsked, 1);
    }

    // A rescan rebuilds everything.
    FakeCamera empty;
    transferer.scanCamera(empty);
    EXPECT_TRUE(transferer.targets().isEmpty());
    EXPECT_EQ(transferer.totalBytes(), 0);
    EXPECT_FALSE(Transferer::cameraHasFiles(empty, false));
}

TEST(TransfererTest, ActionsRunGroupByGroupIntoEachGroupsFolder) {
    FakeCamera camera;
    camera.add(QStringLiteral("b.jpg"), 1, at(2012, 9, 8));
    camera.add(QStringLiteral("a.jpg"), 1, at(2012, 9, 7));
    camera.add(QStringLiteral("c.mov"), 1, at(2012, 9, 8));
    PrivateSettings settings;
    Transferer transferer;
    transferer.setMode(TransferModeMove);
    transferer.scanCamera(camera);
    transferer.targets()[1].setDescription(QStringLiteral("Trip"));

    const QList<TransferActionPtr> actions =
        transferer.getActionsFor(QStringLiteral("/p/%Y-%m-%d %P"), settings.store);
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->destination(), QStringLiteral("/p/2012-09-07/a.jpg"));
    EXPECT_EQ(actions[1]->destination(), QStringLiteral("/p/2012-09-08 Trip/b.jpg"));
    EXPECT_EQ(actions[2]->destination(), QStringLiteral("/p/2012-09-08 Trip/c.mov"));
    EXPECT_EQ(actions[2]->mode(), 1);
    EXPECT_EQ(actions[2]->source(), camera.files[2]);
}

TEST(TransfererTest, PatternTokensAndPathStandardisation) {
    const QString home = QDir::homePath();
    const TransferTarget holiday = targetOn(QDate(2012, 5, 7), QStringLiteral("Holiday"));
    const QString defaultPattern = QStringLiteral("~/Pictures/[%Y]/[%Y-%m-%d] %P");
    EXPECT_EQ(folderFor(defaultPattern, holiday),
              home + QStringLiteral("/Pictures/[2012]/[2012-05-07] Holiday"));
    EXPECT_EQ(folderFor(defaultPattern, targetOn(QDate(2012, 5, 7))),
              home + QStringLiteral("/Pictures/[2012]/[2012-05-07]"));

    const TransferTarget september = targetOn(QDate(2012, 9, 7), QStringLiteral("%Y is literal"));
    EXPECT_EQ(folderFor(QStringLiteral("/x/%y|%Y|%m|%d|%a|%M|%D|%p|%P"), september),
              QStringLiteral("/x/12|2012|09|07|Sep|September|%D|%p|%Y is literal"));
    EXPECT_EQ(folderFor(QStringLiteral("/x/%P"),
                        targetOn(QDate(2012, 9, 7), QStringLiteral("Trip/Day 1"))),
              QStringLiteral("/x/Trip/Day 1"));
    EXPECT_EQ(folderFor(QStringLiteral("/x//%Y///%m/"), september), QStringLiteral("/x/2012/09"));
    EXPECT_EQ(folderFor(QStringLiteral("/x/./a/../%Y  \n"), september), QStringLiteral("/x/2012"));
    EXPECT_EQ(
        folderFor(QStringLiteral("/x/%P"), targetOn(QDate(2012, 9, 7), QStringLiteral("Trip/ "))),
        QStringLiteral("/x/Trip"));
    EXPECT_EQ(folderFor(QStringLiteral("~"), september), home);
    EXPECT_EQ(folderFor(QStringLiteral("~user/%Y"), september), QStringLiteral("~user/2012"));
}

TEST(TransfererTest, MonthNamesFollowTheUsersLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const TransferTarget september = targetOn(QDate(2012, 9, 7));
    // French writes "sept." and "septembre" in lower case.
    EXPECT_EQ(folderFor(QStringLiteral("/x/%a %M"), september),
              QStringLiteral("/x/Sept Septembre"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(folderFor(QStringLiteral("/x/%d. %M %Y"), targetOn(QDate(2012, 3, 1))),
              QStringLiteral("/x/01. März 2012"));
    QLocale::setDefault(previous);
}

} // namespace
