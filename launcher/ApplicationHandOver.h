// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class QDBusServiceWatcher;
class QTimer;

// Hands camera paths to Pixhaul: starts "pixhaul -transfer" when it is not
// running, waits until it is on the session bus, then posts
// "launchWithData" with "pixhaul.transfer" = the path. Main thread.
class ApplicationHandOver : public QObject {
    Q_OBJECT
public:
    // `program` is the application to start when it is not running.
    explicit ApplicationHandOver(const QString& program, QObject* parent = nullptr);

    void handOver(const QString& cameraPath);

    static bool isApplicationRunning();

Q_SIGNALS:
    // Emitted once per path, after the notification was posted (or failed).
    void handedOver(const QString& cameraPath, bool posted);

private:
    void postPending();
    void giveUp();

    QString m_program;
    QStringList m_pending;
    QDBusServiceWatcher* m_watcher;
    QTimer* m_startTimeout;
};
