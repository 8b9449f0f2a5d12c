// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QDateTime>
#include <QList>
#include <QString>

// One group of camera files bound for one folder: after a scan, the files
// taken on one local calendar day. The assistant may change the date and
// description (main thread) before the actions are built.
class TransferTarget {
public:
    TransferTarget();
    TransferTarget(const QDateTime& date, const CameraFilePtr& firstItem);

    QDateTime date() const { return targetDate; }
    void setDate(const QDateTime& date) { targetDate = date; }
    QString description() const { return targetDescription; }
    void setDescription(const QString& description) { targetDescription = description; }
    const QList<CameraFilePtr>& items() const { return files; }
    QList<CameraFilePtr>& items() { return files; }
    void setItems(const QList<CameraFilePtr>& items) { files = items; }

private:
    QDateTime targetDate;
    QString targetDescription;
    QList<CameraFilePtr> files;
};
