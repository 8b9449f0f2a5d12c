// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A path that Qt's file classes can open for the lifetime of this object.
// For an ordinary path that is the path itself. A path holding bytes that
// are not UTF-8 (see NativePath) is opened by its bytes, and the object
// stands in for it with the descriptor's /proc/self/fd entry, which any
// reader can open, stat or map as the file itself.
class OpenedPath {
public:
    explicit OpenedPath(const QString& path);
    ~OpenedPath();
    OpenedPath(const OpenedPath&) = delete;
    OpenedPath& operator=(const OpenedPath&) = delete;

    const QString& path() const { return m_path; }

private:
    int m_descriptor = -1;
    QString m_path;
};
