// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenedPath.h"

#include "NativePath.h"

#include <fcntl.h>
#include <unistd.h>

OpenedPath::OpenedPath(const QString& path)
    : m_path(path) {
    if (!NativePath::needsBytes(path))
        return;
    // O_PATH neither reads nor blocks on a FIFO; the /proc entry reopens the
    // file with whatever access the reader asks for.
    m_descriptor = ::open(NativePath::encode(path).constData(), O_PATH | O_CLOEXEC);
    m_path = m_descriptor < 0 ? QString() : QStringLiteral("/proc/self/fd/%1").arg(m_descriptor);
}

OpenedPath::~OpenedPath() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
