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
    , m_program(applicationProgram)
    , m_watcher(new QDBusServiceWatcher(
          QLatin1String(DistributedNotificationCenter::applicationServiceName),
          QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration, this))
    , m_startTimeout(new QTimer(this)) {
    m_startTimeout->setSingleShot(true);
    m_startTimeout->setInterval(startTimeoutMs);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &ApplicationHandOver::postPending);
    connect(m_startTimeout, &QTimer::timeout, this, &ApplicationHandOver::giveUp);
}

bool ApplicationHandOver::isApplicationRunning() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(
                      QLatin1String(DistributedNotificationCenter::applicationServiceName));
}

void ApplicationHandOver::handOver(const QString& cameraPath) {
    m_pending.append(cameraPath);
    if (isApplicationRunning()) {
        postPending();
        return;
    }
    if (m_startTimeout->isActive())
        return; // already starting; the path goes out with the others
    qCInfo(lcLauncher) << "starting" << m_program << "for" << cameraPath;
    if (!QProcess::startDetached(m_program, {QStringLiteral("-transfer")})) {
        qCWarning(lcLauncher) << "could not start" << m_program;
        giveUp();
        return;
    }
    m_startTimeout->start();
}

void ApplicationHandOver::postPending() {
    m_startTimeout->stop();
    const QStringList paths = std::exchange(m_pending, {});
    for (const QString& path : paths) {
        const bool posted = DistributedNotificationCenter::post(
            QStringLiteral("launchWithData"), {{QStringLiteral("pixhaul.transfer"), path}});
        if (!posted)
            qCWarning(lcLauncher) << "could not notify Pixhaul of" << path;
        Q_EMIT handedOver(path, posted);
    }
}

void ApplicationHandOver::giveUp() {
    const QStringList paths = std::exchange(m_pending, {});
    for (const QString& path : paths) {
        qCWarning(lcLauncher) << "Pixhaul did not start; not importing" << path;
        Q_EMIT handedOver(path, false);
    }
}
