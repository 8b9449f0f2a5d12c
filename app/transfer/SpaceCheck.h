// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransferAction.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The room a transfer will take on each destination file system against
// the room free there, measured once, before the run starts, so a run that
// cannot fit is refused before it writes anything. Another program filling
// the disk meanwhile is still met file by file by the run. Any thread.
class SpaceCheck {
public:
    struct Volume {
        QString mountPoint;
        QStringList folders; // destination folders on it, in plan order
        qint64 bytesToWrite = 0;
        qint64 bytesFree = 0; // for an unprivileged user
        qint64 missing() const { return qMax<qint64>(0, bytesToWrite - bytesFree); }
    };

    // A file of `bytes` bound for `folder` (which need not exist yet),
    // counted in whole blocks of its file system.
    void addFile(const QString& folder, qint64 bytes);

    // The planned actions: a move the file system does by a rename writes
    // nothing; with `skipExisting` (overwrite mode skip) neither does a file
    // whose destination is taken.
    static SpaceCheck forActions(const QList<TransferActionPtr>& actions, bool skipExisting);

    const QList<Volume>& volumes() const { return m_volumes; }
    bool fits() const;
    // One line per file system without room: "Not enough space on
    // /media/disk (/media/disk/2024): 12 MB to write, 3 MB free, 9 MB
    // missing." Empty when the run fits.
    QString shortage() const;

private:
    struct Device {
        quint64 id = 0;
        qint64 blockSize = 1;
    };
    // The volume a folder of a file added before is on (-1: none), so each
    // folder is looked up once.
    qsizetype volumeOf(const QString& folder);

    QList<Volume> m_volumes;
    QList<Device> m_devices; // beside m_volumes
    QHash<QString, qsizetype> m_volumeOfFolder;
};
