// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Temporary names on the right volume. Names are created as empty files with
// O_EXCL, so two writers can never be handed the same one; a caller that
// gives a name up removes the file.
namespace FileManagerUtils {

// The folder a temporary file for `path` should live in so that a rename
// over `path` stays on one file system: the folder of `path` when it exists
// and is writable, else an empty string.
QString temporaryDirectoryOnSameVolumeThan(const QString& path);

// "<process name>-<UUID>".
QString randomFilename();

// A new, empty, exclusively created file in the system temporary folder.
QString temporaryFilename();

// A new, empty, exclusively created hidden file beside `path` (same folder,
// same extension), or in the system temporary folder when that folder is
// not usable. Empty when no file could be created.
QString temporaryFilename(const QString& path);

// The same hidden file beside `path`, never elsewhere, kept open: its
// descriptor (read-write, close-on-exec; the caller closes it) and its
// name in `name`. -1 when the folder takes no new file.
int openTemporaryBeside(const QString& path, QString* name);

// True for a file name (without folder) of the form temporaryFilename(path)
// gives under this process's name: ".<process name>-<UUID>[.<extension>]".
bool isHiddenTemporaryFilename(const QString& name);

} // namespace FileManagerUtils
