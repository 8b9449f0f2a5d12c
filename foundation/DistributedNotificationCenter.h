// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusMessage;

// Notifications between processes of the same user: a session-bus signal
// `<name>` on interface "com.zentrovo.pixhaul" carrying one a{sv} argument
// (the user information). Observers hear such signals from any object path
// and any sender. Main thread.
class DistributedNotificationCenter : public QObject {
    Q_OBJECT
public:
    static constexpr const char* interfaceName = "com.zentrovo.pixhaul";
    // Well-known bus name the application owns while it runs.
    static constexpr const char* applicationServiceName = "com.zentrovo.pixhaul";

    explicit DistributedNotificationCenter(QObject* parent = nullptr);

    // Sends the signal from the object path "/". False without a session bus.
    static bool post(const QString& name, const QVariantMap& userInfo);

    // Starts delivering `name` signals as notificationReceived().
    bool addObserver(const QString& name);

Q_SIGNALS:
    void notificationReceived(const QString& name, const QVariantMap& userInfo);

private Q_SLOTS:
    void onSignal(const QDBusMessage& message);
};
