// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QIcon>
#include <QString>
#include <QStringList>

// File classification, icons, trash, file dates and safe replacement.
// Every operation takes absolute paths, may be called from any thread and
// reports failure through its result, never by throwing.
class FileUtils {
public:
    // Extension lists that suffice for each type test (compared in lower case).
    static const QStringList& imageExtensions();
    static const QStringList& videoExtensions();
    static const QStringList& jpegExtensions();
    static const QStringList& pngExtensions();
    // Camera RAW formats (what libraw reads) and HEIF containers; both are
    // part of imageExtensions().
    static const QStringList& rawExtensions();
    static const QStringList& heifExtensions();

    // True when the file's MIME type (shared-mime-info, by name and content)
    // conforms to `mimeType`, or when its lower-cased extension is listed.
    // `mimeType` is either a full name ("image/jpeg") or a media class
    // ("image/*"). A missing file is judged by its extension alone.
    static bool isFile(const QString& path, const QString& mimeType, const QStringList& extensions);
    static bool isImageFile(const QString& path);
    static bool isVideoFile(const QString& path);

    // Theme icon for the file. Regular files share one cached icon per
    // extension; folders and missing paths are cached by their full path.
    static QIcon getIcon(const QString& path);

    // Moves the item to the freedesktop Trash. Returns false when the item
    // could not be trashed; it is never deleted instead. `pathInTrash`, when
    // given, receives where the item now is (to put it back).
    static bool moveItemToTrash(const QString& path, QString* pathInTrash = nullptr);

    // The file's birth time when the file system records one, else its
    // modification time; null for a missing file.
    static QDateTime getCreationDateForFile(const QString& path);
    static QDateTime getModificationDateForFile(const QString& path);
    // Linux offers no way to set a birth time: this does nothing.
    static void setCreationDate(const QDateTime& date, const QString& path);
    static void setModificationDate(const QDateTime& date, const QString& path);

    // Puts `replacement` in place of the existing file `target`. The target
    // is replaced atomically, so it is never missing: after a failure it is
    // still there, unchanged, under its own name. With `isTemporary` the
    // replacement is removed on failure. Dates are not carried over.
    static bool replaceFile(const QString& target, const QString& replacement,
                            bool isTemporary = false);

    // Writes `contents` to a hidden temporary file beside `target`, flushed
    // to disk, and renames it over `target` (which must exist). The target
    // is untouched on failure and no temporary file is left.
    static bool replaceFileContents(const QString& target, const QByteArray& contents);
};
