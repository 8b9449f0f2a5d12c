// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchOutcome.h"

#include <QList>
#include <QMetaType>

// What a batch run did, reported when it ends.
struct BatchSummary {
    int written = 0;    // pictures whose output is in place, with nothing amiss
    int failed = 0;     // the others that were tried
    int notStarted = 0; // left over by a cancel
    bool canceled = false;
    QList<BatchOutcome> failures; // in the run's order, each with its reason

    bool succeeded() const { return failed == 0; }
};

Q_DECLARE_METATYPE(BatchSummary)
