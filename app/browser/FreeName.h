// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where a pasted item lands: the folder and the source's name, or, when
// that is taken, the first free "<stem> <n>[.<extension>]". Any thread.
namespace FreeName {

// The source's name split as a paste sees it: the extension after the last
// dot (none for a leading dot), and the base before it.
QString pathExtension(const QString& fileName);
QString baseName(const QString& fileName);

// The first free destination in `folder` for a copy of `sourcePath`.
// "photo.jpg" gives "photo 2.jpg", then "photo 3.jpg"; "IMG 7.jpg" gives
// "IMG 8.jpg"; a last word that is not a whole number is kept ("Holiday in
// Rome 2.jpg"); no trailing dot without an extension.
QString pasteDestination(const QString& folder, const QString& sourcePath);

} // namespace FreeName
