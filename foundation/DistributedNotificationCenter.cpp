// SPDX-License-Identifier: GPL-3.0-or-later
#include "DistributedNotificationCenter.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace {

// Values inside an a{sv} may arrive wrapped; hand plain values on.
QVariant unwrapped(const QVariant& value) {
    if (value.canConvert<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

DistributedNotificationCenter::DistributedNotificationCenter(QObject* parent)
    : QObject(parent) {}

bool DistributedNotificationCenter::post(const QString& name, const QVariantMap& userInfo) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/"), QLatin1String(interfaceName), name);
    signal << userInfo;
    return bus.send(signal);
}

bool DistributedNotificationCenter::addObserver(const QString& name) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // Empty service and path: any sender, any object.
    return bus.connect(QString(), QString(), QLatin1String(interfaceName), name, this,
                       SLOT(onSignal(QDBusMessage)));
}

void DistributedNotificationCenter::onSignal(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 1 || !arguments.first().canConvert<QDBusArgument>())
        return;
    const QDBusArgument argument = arguments.first().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sv}"))
        return;
    QVariantMap userInfo = qdbus_cast<QVariantMap>(argument);
    for (auto it = userInfo.begin(); it != userInfo.end(); ++it)
        it.value() = unwrapped(it.value());
    Q_EMIT notificationReceived(message.member(), userInfo);
}
