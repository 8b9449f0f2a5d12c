// SPDX-License-Identifier: GPL-3.0-or-later
// Runs on a private session bus (dbus-run-session).
#include "ApplicationHandOver.h"

#include "DistributedNotificationCenter.h"

#include <QDBusConnection>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Observer {
    DistributedNotificationCenter center;
    QSignalSpy spy{&center, &DistributedNotificationCenter::notificationReceived};
    Observer() { EXPECT_TRUE(center.addObserver(QStringLiteral("launchWithData"))); }
};

} // namespace

TEST(DistributedNotifications, UserInformationArrivesFromAnySender) {
    Observer observer;
    ASSERT_TRUE(DistributedNotificationCenter::post(
        QStringLiteral("launchWithData"),
        {{"pixhaul.transfer", QStringLiteral("/media/ann/EOS DIGITAL")}, {"count", 3}}));
    ASSERT_TRUE(observer.spy.wait(5000));
    const QVariantMap info = observer.spy.at(0).at(1).toMap();
    EXPECT_EQ(observer.spy.at(0).at(0).toString(), "launchWithData");
    EXPECT_EQ(info.value("pixhaul.transfer").toString(), "/media/ann/EOS DIGITAL");
    EXPECT_EQ(info.value("count").toInt(), 3);
}

TEST(ApplicationHandOver, WaitsForTheApplicationBeforePosting) {
    Observer observer;
    ApplicationHandOver handOver(QStringLiteral("/bin/true"));
    QSignalSpy handed(&handOver, &ApplicationHandOver::handedOver);
    ASSERT_FALSE(ApplicationHandOver::isApplicationRunning());
    handOver.handOver(QStringLiteral("/media/card1"));
    handOver.handOver(QStringLiteral("/media/card2"));
    QCoreApplication::processEvents();
    EXPECT_EQ(handed.size(), 0);

    // The application appears on the bus: both paths go out, in order.
    ASSERT_TRUE(QDBusConnection::sessionBus().registerService(
        QLatin1String(DistributedNotificationCenter::applicationServiceName)));
    ASSERT_TRUE(handed.wait(5000));
    ASSERT_EQ(handed.size(), 2);
    EXPECT_TRUE(handed.at(0).at(1).toBool());
    while (observer.spy.size() < 2 && observer.spy.wait(5000)) {
    }
    ASSERT_EQ(observer.spy.size(), 2);
    EXPECT_EQ(observer.spy.at(0).at(1).toMap().value("pixhaul.transfer"), "/media/card1");
    EXPECT_EQ(observer.spy.at(1).at(1).toMap().value("pixhaul.transfer"), "/media/card2");

    // Running already: posted at once.
    handOver.handOver(QStringLiteral("/media/card3"));
    EXPECT_EQ(handed.size(), 3);
    QDBusConnection::sessionBus().unregisterService(
        QLatin1String(DistributedNotificationCenter::applicationServiceName));
}

TEST(ApplicationHandOver, AProgramThatCannotStartIsReported) {
    ApplicationHandOver handOver(QStringLiteral("/no/such/pixhaul"));
    QSignalSpy handed(&handOver, &ApplicationHandOver::handedOver);
    handOver.handOver(QStringLiteral("/media/card"));
    ASSERT_EQ(handed.size(), 1);
    EXPECT_FALSE(handed.at(0).at(1).toBool());
}
