// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class QSocketNotifier;

// Watches the mount table and reports each newly mounted volume that holds
// a camera layout ("DCIM" or "PRIVATE" at its root). Volumes mounted before
// the watcher started are not reported. Main thread.
class CardVolumeWatcher : public QObject {
    Q_OBJECT
public:
    // `mountinfo` is normally /proc/self/mountinfo, which the kernel marks
    // readable-with-priority whenever the table changes.
    explicit CardVolumeWatcher(const QString& mountinfo = QStringLiteral("/proc/self/mountinfo"),
                               QObject* parent = nullptr);
    ~CardVolumeWatcher() override;

    bool isWatching() const { return m_notifier != nullptr; }

    static bool holdsCameraLayout(const QString& folder);

public Q_SLOTS:
    // Reads the table again and reports what is new since the last reading.
    void rescan();

Q_SIGNALS:
    void cardVolumeAppeared(const QString& mountPoint);

private:
    QSet<QString> readMountPoints();

    QFile m_table;
    QSocketNotifier* m_notifier = nullptr;
    QSet<QString> m_known;
};
