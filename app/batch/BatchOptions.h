// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

class UserDefaults;

// The choices of one batch run, taken from the wizard's pages (or the
// command line) when the run starts, so the run never reads a control.
// A plain value: copy it freely, any thread.
struct BatchOptions {
    // The resize page's option rows.
    enum class Resize { None = 0, ToPixels = 1, ByPercent = 2 };
    // The convert page's format items.
    enum class Format { Same = 0, Jpeg = 1, Png = 2 };

    Resize resize = Resize::None;
    int resizePixels = 1600; // the longer side (the height of a square)
    double resizePercent = 100.0;
    Format format = Format::Same;
    bool copyExif = true;    // else stripped from JPEG output
    bool renameFiles = true; // append renameSuffix to each name
    QString renameSuffix = QStringLiteral(" resized");
    bool deleteOriginals = false; // sources to the Trash once their output is in place
    QString destinationFolder;
    double jpegCompression = 90.0; // the "jpeg_compression" setting as stored

    // The stored choices: sizes, EXIF, renaming, deletion and the JPEG
    // compression. Resize row and format are not stored: none and same.
    // The destination is left empty for the caller to set.
    static BatchOptions fromSettings(const UserDefaults& settings);

    // Stores the choices as the pages save them when a run starts: the size
    // of the chosen resize row only, the suffix only while renaming is on.
    void saveTo(UserDefaults& settings) const;

    // The output size for an upright picture of `size`: the longer side
    // (the height of a square) to resizePixels, or both sides by
    // resizePercent, each rounded half up and at least one pixel; `size`
    // itself when not resizing.
    QSize resizedSize(const QSize& size) const;

    // The output's file name for `source`: its base name, the suffix when
    // renaming, and the format's extension (upper case when the source's
    // is; "JPG"/"PNG" when it has none).
    QString targetNameFor(const QString& source) const;
    // That name in the destination folder.
    QString targetPathFor(const QString& source) const;
};
