// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

class QClipboard;
class QMimeData;

// File lists and pictures on the clipboard (QClipboard::Clipboard mode):
// files travel as file URLs (text/uri-list), pictures as image data plus
// their TIFF encoding under "image/tiff". A null clipboard means the
// application's. Main thread.
namespace PasteboardUtils {

// File URLs for the paths that exist, in order; missing paths are skipped.
QList<QUrl> fileUrls(const QStringList& paths);

// The local paths among the URLs of the data; empty when there are none.
QStringList getFilenames(const QMimeData* data);
QStringList getFilenames(QClipboard* clipboard = nullptr);

// An empty list changes nothing and answers 0. Otherwise the clipboard is
// cleared and the existing paths' URLs are written; answers their number
// (0 when every path was missing, and the clipboard is then empty).
int putFilenames(const QStringList& paths, QClipboard* clipboard = nullptr);

// Decodes the file and, when it holds a picture, puts its largest size on
// the clipboard in place of what was there; true when it did.
bool putImageContent(const QString& path, QClipboard* clipboard = nullptr);

} // namespace PasteboardUtils
