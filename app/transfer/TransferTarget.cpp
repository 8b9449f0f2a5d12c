// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferTarget.h"

TransferTarget::TransferTarget()
    : targetDate(QDateTime::currentDateTime()) {}

TransferTarget::TransferTarget(const QDateTime& date, const CameraFilePtr& firstItem)
    : targetDate(date)
    , files{firstItem} {}
