// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchCommandOptions.h"

#include "batch/BatchSummary.h"

#include <cstdio>

class UserDefaults;

// One run of pixhaul-batch: settles the options over `settings` (which it
// only reads), checks the files and the destination, then runs the batch
// on the calling thread with one progress line on a terminal and prints
// what was written and what failed, each message naming its file.
class BatchCommand {
public:
    enum ExitStatus { Success = 0, SomeFailed = 1, UsageError = 2, Interrupted = 130 };

    BatchCommand(const BatchCommandOptions& options, const UserDefaults& settings,
                 FILE* out = stdout, FILE* err = stderr);

    int execute();

    // The run's options: the command line over the settings.
    BatchOptions batchOptions() const;

private:
    void printSummary(const BatchSummary& summary, int unreadable) const;

    BatchCommandOptions m_options;
    const UserDefaults& m_settings;
    FILE* m_out;
    FILE* m_err;
};
