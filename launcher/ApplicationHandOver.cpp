// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationHandOver.h"

#include "DistributedNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

Q_LOGGING_CATEGORY(lcLauncher, "pixhaul.launcher")

namespace {
constexpr int startTimeoutMs = 60000;
}

ApplicationHandOver::ApplicationHandOver(const QString& applicationProgram, QObject* parent)
    : QObject(parent)
    , program(applicationProgram)
    , watcher(new QDBusServiceWatcher(
          QLatin1String(DistributedNotificationCenter::applicationServiceName),
          QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration, this))
    , startTimeout(new QTimer(this)) {
    startTimeout->setSingleShot(true);
    startTimeout->setInterval(startTimeoutMs);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &ApplicationHandOver::postPending);
    connect(startTimeout, &QTimer::timeout, this, &ApplicationHandOver::giveUp);
}

bool ApplicationHandOver::isApplicationRunning() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(
                      QLatin1String(DistributedNotificationCenter::applicationServiceName));
}

void ApplicationHandOver::handOver(const QString& cameraPath) {
    pending.append(cameraPath);
    if (isApplicationRunning()) {
        postPending();
        return;
    }
    if (startTimeout->isActive())
        return; // already starting; the path goes out with the others
    qCInfo(lcLauncher) << "starting" << program << "for" << cameraPath;
    if (!QProcess::startDetached(program, {QStringLiteral("-transfer")})) {
        qCWarning(lcLauncher) << "could not start" << program;
        giveUp();
        return;
    }
    startTimeout->start();
}

void ApplicationHandOver::postPending() {
    startTimeout->stop();
    const QStringList paths = std::exchange(pending, {});
    for (const QString& path : paths) {
        const bool posted = DistributedNotificationCenter::post(
            QStringLiteral("launchWithData"), {{QStringLiteral("pixhaul.transfer"), path}});
        if (!posted)
            qCWarning(lcLauncher) << "could not notify Pixhaul of" << path;
        Q_EMIT handedOver(path, posted);
    }
}

void ApplicationHandOver::giveUp() {
    const QStringList paths = std::exchange(pending, {});
    for (const QString& path : paths) {
        qCWarning(lcLauncher) << "Pixhaul did not start; not importing" << path;
        Q_EMIT handedOver(path, false);
    }
}
