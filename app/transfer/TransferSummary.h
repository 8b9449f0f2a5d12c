// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QStringList>

// What a transfer run did, reported when it finishes.
struct TransferSummary {
    int transferred = 0;
    int skipped = 0;         // destination taken and not replaced, or a folder
    int failed = 0;          // tried and not arrived
    int notStarted = 0;      // left over by a cancel
    bool canceled = false;   // stopped by the cancel flag or by the prompt
    QStringList failedNames; // titles of the files that failed

    bool succeeded() const { return failed == 0; }
};

Q_DECLARE_METATYPE(TransferSummary)
