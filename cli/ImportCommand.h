// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportOptions.h"

#include "transfer/SpaceCheck.h"
#include "transfer/TransferSummary.h"
#include "transfer/Transferer.h"

#include <cstdio>
#include <memory>

class CameraDevice;
class ImportHistory;
class UserDefaults;

// One run of pixhaul-import: scans the source, sorts out the files imported
// before (the import history), settles each group's date and description,
// checks the space on every destination, then prints the plan (dry run) or
// carries out the transfer on the calling thread, answering conflicts on
// the terminal. A run without room is refused before it writes anything.
// Unset options are read from `settings`, which also keeps the description
// history and the overwrite answers.
class ImportCommand {
public:
    enum ExitStatus { Success = 0, SomeFailed = 1, UsageError = 2, Interrupted = 130 };

    ImportCommand(const ImportOptions& options, UserDefaults& settings, FILE* out = stdout,
                  FILE* err = stderr);

    int execute();
    ~ImportCommand();

private:
    // Counts the files the import history knows and, with --new-only,
    // leaves them out; returns how many it knows.
    int sortOutImported(const ImportHistory& history);
    bool settleGroups(const QString& pattern);
    void printPlan(const QString& pattern) const;
    void printSpace(const SpaceCheck& space) const;
    OverwriteMode overwriteMode() const;
    int transfer(const QList<TransferActionPtr>& actions);
    void printSummary(const TransferSummary& summary) const;
    int listCameras();
    bool openCamera();

    ImportOptions m_options;
    UserDefaults& m_settings;
    FILE* m_out;
    FILE* m_err;
    QString m_sourceFolder;
    Transferer m_transferer;
    // The device camera of --camera; its transfer runs beside the event loop.
    std::shared_ptr<CameraDevice> m_deviceCamera;
};
