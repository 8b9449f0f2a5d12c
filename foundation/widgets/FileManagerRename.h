// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace FileManagerRename {

enum RenameResult {
    RenameDone = 0,        // the item bears the new name
    RenameFailed = 1,      // the move itself failed
    RenameInvalidName = 2, // the new name holds ':' or '/'
    RenameConflict = 3,    // an item with the new name exists in the folder
};

// Renames the item at `path` to `newName` within its folder. For results 2
// and 3 an alert is shown on `window` when one is given. Main thread when a
// window is given, any thread otherwise.
int tryRenameFile(const QString& path, const QString& newName, QWidget* window = nullptr);

} // namespace FileManagerRename
