// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Hand-over of files to other programs of the desktop: the image editor
// (GIMP) and the photo library (Shotwell, else digiKam), found by their
// desktop entries and started with the files as arguments (never through a
// shell), and the desktop picture, set through the desktop that answers
// (GNOME's gsettings, KDE Plasma's shell over D-Bus, Xfce's xfconf).
// Failures are not reported. Main thread.
class ExternalApplications {
public:
    // The installed editor's or library's desktop entry; empty when none.
    static QString imageEditorEntry();
    static QString photoLibraryEntry();
    // The entry's localised "Name"; the file's base name when it has none.
    static QString displayName(const QString& desktopEntryPath);

    // Starts the entry's program with `files`; false when it has no usable
    // Exec line or the program does not start.
    static bool openWithEntry(const QString& desktopEntryPath, const QStringList& files);

    // The command lines (program first) an Exec value gives for `files`:
    // quoting undone, %f and %u start one program per file, %F and %U take
    // them all, %% is a percent sign, the deprecated and icon codes go.
    // Without a file code the files are appended. Empty when the value is
    // malformed (an open quote).
    static QList<QStringList> execCommandLines(const QString& exec, const QStringList& files);

    enum class Desktop { None, Gnome, Plasma, Xfce };
    // The desktop whose picture can be set; asked once per process.
    static Desktop pictureDesktop();
    // Sets the picture of the desktop(s); false when no desktop answers.
    static bool setDesktopPicture(const QString& path);
};
