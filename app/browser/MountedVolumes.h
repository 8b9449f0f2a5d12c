// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// The mounted local volumes, as the drives of the source list, and a
// notice whenever the mount table changes. Main thread.
class MountedVolumes : public QObject {
    Q_OBJECT
public:
    explicit MountedVolumes(const QString& mountinfo = QStringLiteral("/proc/self/mountinfo"),
                            QObject* parent = nullptr);
    ~MountedVolumes() override;

    // Mount points of real local file systems in mount-table order, "/"
    // included; pseudo and network file systems left out.
    QStringList mountedLocalVolumePaths() const;

signals:
    // A volume was mounted or unmounted.
    void volumesChanged();

private:
    QString m_mountinfo;
    QSocketNotifier* m_notifier = nullptr;
    int m_descriptor = -1;
};
