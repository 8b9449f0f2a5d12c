// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The freedesktop application registry: desktop entries found by their id
// in the XDG application folders, and the default application of a MIME
// type from the mimeapps.list files (then the mimeinfo.cache lists and the
// type's ancestors). Reads the environment's XDG folders at each call, so
// tests can point them elsewhere. Blocking file reads; any thread.
class DesktopEntries {
public:
    // The application folders, most important first ($XDG_DATA_HOME, then
    // $XDG_DATA_DIRS, each with "/applications").
    static QStringList applicationDirectories();

    // The path of the desktop entry with that id ("org.gimp.GIMP" or
    // "org.gimp.GIMP.desktop"; "vendor-app.desktop" also names
    // "vendor/app.desktop"). Empty when none is installed, or when the
    // first one found is hidden (Hidden=true deletes it for the user).
    static QString pathForDesktopId(const QString& desktopId);

    // The desktop id of the application that opens files of `mimeType`,
    // looking at the type itself, then its ancestors. Empty when none.
    static QString defaultDesktopIdForMimeType(const QString& mimeType);

    // The value of `key` in the [Desktop Entry] group; empty when absent.
    static QString value(const QString& desktopEntryPath, const QString& key);

private:
    static QString defaultForExactType(const QString& mimeType);
};
