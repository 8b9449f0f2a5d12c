// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "batch/BatchOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line of pixhaul-batch. Unset options fall back to the same
// per-user settings the batch window starts from.
struct BatchCommandOptions {
    std::optional<int> resizePixels;
    std::optional<double> resizePercent;
    std::optional<BatchOptions::Format> format;
    std::optional<bool> copyExif;
    std::optional<QString> suffix;
    bool trashOriginals = false;
    std::optional<QString> destination;
    QStringList files;
    bool help = false;

    static QString usage();
    // Parses the arguments after the program name; on failure returns
    // nothing and sets `error` to a message naming the offending argument.
    static std::optional<BatchCommandOptions> parse(const QStringList& arguments, QString& error);
};
