// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Questions to the desktop: which application opens a file, where the
// application with a given id is installed, and a preview picture of a file.
// Applications are named by their desktop-entry ids and answered as the
// paths of their desktop entries.
class SystemUtils {
public:
    // The desktop entry of the application that opens the file (its MIME
    // type's default, see DesktopEntries); empty when none. Any thread.
    static QString defaultApplicationForFile(const QString& path);

    // The desktop entry installed under `identifier`, or empty. Answers are
    // cached for the process, including "none" (kept as the marker "nil"),
    // so the desktop is asked once per identifier. Any thread.
    static QString bundlePathForIdentifier(const QString& identifier);

    // A picture of the file fitting in `size` (never enlarged): images
    // through QImageReader, decoded directly at the smaller size and turned
    // upright; movies as a frame near their start (MovieFrameReader); any
    // other file, or one that does not decode, as its theme icon at `size`.
    // With `asIcon` the picture is centred in a transparent canvas of
    // exactly `size` with a thin frame, as file icons are drawn. Null for an
    // empty path or an empty size. Blocking; any thread (the icon fallback
    // renders a QPixmap, which the xcb, wayland and offscreen platforms
    // allow off the main thread).
    static QImage imageWithPreviewOfFileAtPath(const QString& path, const QSize& size, bool asIcon);

    // Test hook: replaces the lookup behind bundlePathForIdentifier (an
    // empty function restores DesktopEntries::pathForDesktopId) and empties
    // the cache.
    using DesktopEntryLocator = std::function<QString(const QString& identifier)>;
    static void setDesktopEntryLocator(DesktopEntryLocator locator);
};
