// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationBusService.h"

#include "DistributedNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {
const QString objectPath = QStringLiteral("/Application");
const QString interfaceName = QStringLiteral("com.zentrovo.pixhaul.Application");
} // namespace

ApplicationBusService::ApplicationBusService(QObject* parent)
    : QObject(parent) {}

bool ApplicationBusService::registerPrimaryInstance() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus.registerService(
            QLatin1String(DistributedNotificationCenter::applicationServiceName))) {
        bus.unregisterObject(objectPath);
        return false;
    }
    return true;
}

bool ApplicationBusService::forwardToPrimaryInstance(const QStringList& files) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(DistributedNotificationCenter::applicationServiceName), objectPath,
        interfaceName, files.isEmpty() ? QStringLiteral("Reopen") : QStringLiteral("OpenFiles"));
    if (!files.isEmpty())
        call << files;
    const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void ApplicationBusService::Reopen() {
    Q_EMIT reopenRequested();
}

void ApplicationBusService::OpenFiles(const QStringList& files) {
    Q_EMIT openFilesRequested(files);
}
