// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressLine.h"

#include <unistd.h>

ProgressLine::ProgressLine(FILE* stream, int totalFiles, qint64 totalBytes)
    : m_out(stream)
    , m_enabled(::isatty(::fileno(stream)) == 1)
    , m_progress(totalFiles, totalBytes) {}

void ProgressLine::fileStarted(const QString& title) {
    m_progress.fileStarted();
    m_current = title;
    draw();
}

void ProgressLine::bytesDone(qint64 bytes) {
    m_progress.bytesDone(bytes);
    draw();
}

void ProgressLine::finish() {
    if (!m_enabled)
        return;
    std::fputs("\r\033[K", m_out);
    std::fflush(m_out);
}

void ProgressLine::draw() {
    if (!m_enabled || !m_progress.redrawDue())
        return;
    const QString line = m_progress.statusText() + QStringLiteral("  ") + m_current;
    std::fputs(("\r" + line.toLocal8Bit() + "\033[K").constData(), m_out);
    std::fflush(m_out);
}
