// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/TransferMode.h"
#include "transfer/OverwriteMode.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line of pixhaul-import. Unset options fall back to the same
// per-user settings the transfer window uses.
struct ImportOptions {
    QString source;
    std::optional<QString> destinationPattern;
    std::optional<TransferMode> mode;
    std::optional<OverwriteMode> overwriteMode;
    std::optional<bool> rotate;
    std::optional<QString> description;
    bool dryRun = false;
    // Leave out the files the import history knows.
    bool newOnly = false;
    // Read every copy back and compare it (moves always do).
    bool verify = false;
    // A device camera ("MODEL@PORT") instead of SOURCE, and the listing of those connected.
    std::optional<QString> camera;
    bool listCameras = false;
    bool help = false;

    static QString usage();
    // Parses the arguments after the program name; on failure returns
    // nothing and sets `error` to a message naming the offending argument.
    static std::optional<ImportOptions> parse(const QStringList& arguments, QString& error);
};
