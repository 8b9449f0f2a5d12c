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

    QDateTime date() const { return m_targetDate; }
    void setDate(const QDateTime& date) { m_targetDate = date; }
    QString description() const { return m_targetDescription; }
    void setDescription(const QString& description) { m_targetDescription = description; }
    const QList<CameraFilePtr>& items() const { return m_files; }
    QList<CameraFilePtr>& items() { return m_files; }
    void setItems(const QList<CameraFilePtr>& items) { m_files = items; }

private:
    QDateTime m_targetDate;
    QString m_targetDescription;
    QList<CameraFilePtr> m_files;
};
