// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferTarget.h"

TransferTarget::TransferTarget()
    : m_targetDate(QDateTime::currentDateTime()) {}

TransferTarget::TransferTarget(const QDateTime& date, const CameraFilePtr& firstItem)
    : m_targetDate(date)
    , m_files{firstItem} {}
