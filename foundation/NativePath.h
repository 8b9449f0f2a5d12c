// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes on Linux, and not every name is valid UTF-8 (a card
// written by an old camera, an archive from another locale). Qt decodes
// such a name with replacement characters, so the file can no longer be
// reached. These helpers keep every byte: a byte that is not part of valid
// UTF-8 becomes the lone surrogate U+DC80 + (byte - 0x80) in the text and
// turns back into the same byte, so decode and encode round-trip.
namespace NativePath {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& path);

// True when `path` holds bytes that Qt's own file classes cannot encode.
bool needsBytes(const QString& path);

} // namespace NativePath
