// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// String helpers shared by every subsystem. All are pure and thread-safe,
// except deleteResourceFork, which touches the disk.
namespace StringUtils {

using CharacterSet = std::function<bool(QChar)>;

// Blank, tab, line and paragraph separators: Unicode white space.
bool isWhitespaceOrNewline(QChar c);

QString stringByTrimmingLeadingCharactersInSet(const QString& s, const CharacterSet& set);
QString stringByTrimmingTrailingCharactersInSet(const QString& s, const CharacterSet& set);
QString stringByTrimmingLeadingWhitespaceAndNewlineCharacters(const QString& s);
QString stringByTrimmingTrailingWhitespaceAndNewlineCharacters(const QString& s);

// ASCII-only file name: accents dropped, other non-ASCII characters and
// : / \ ? % | " < > replaced by '_'.
QString stringByCleaningFilename(const QString& s);

// Removes the AppleDouble companion "._<name>" beside `path`, if any.
void deleteResourceFork(const QString& path);

// "m:s" below 61 minutes, "h:m:s" from there on; fields are not padded.
QString stringFromDurationInSeconds(qint64 seconds);

// A new UUID: upper case, hyphenated, 36 characters.
QString UUIDString();

} // namespace StringUtils
