// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

// What became of one picture of a batch run.
struct BatchOutcome {
    int index = -1; // in the run's list
    QString source;
    QString target;       // where the output goes (or went)
    bool written = false; // the output is complete and in place
    QString reason;       // why not, or what went wrong after writing; empty on success

    bool succeeded() const { return written && reason.isEmpty(); }
};

Q_DECLARE_METATYPE(BatchOutcome)
