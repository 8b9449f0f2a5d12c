// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that build files in a temporary folder.
namespace TestFiles {

// Writes `contents` to `path`, creating missing folders; false on failure.
bool write(const QString& path, const QByteArray& contents);

// The whole file, or an empty array when it cannot be read.
QByteArray read(const QString& path);

} // namespace TestFiles
