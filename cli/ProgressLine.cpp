// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressLine.h"

#include "ByteCountFormatter.h"
#include "StringUtils.h"

#include <unistd.h>

namespace {

QString bytesText(qint64 bytes, const QString& suffix = QStringLiteral("B")) {
    return ByteCountFormatter::stringFromByteCount(bytes, suffix,
                                                   ByteCountFormatter::DecimalCountStyle);
}

} // namespace

ProgressLine::ProgressLine(FILE* stream, int totalFiles, qint64 totalBytes)
    : m_out(stream)
    , m_enabled(::isatty(::fileno(stream)) == 1)
    , m_filesTotal(totalFiles)
    , m_bytesTotal(totalBytes) {
    m_clock.start();
}

void ProgressLine::fileStarted(const QString& title) {
    ++m_filesStarted;
    m_current = title;
    draw();
}

void ProgressLine::bytesDone(qint64 bytes) {
    m_bytesSoFar += bytes;
    draw();
}

void ProgressLine::finish() {
    if (!m_enabled)
        return;
    std::fputs("\r\033[K", m_out);
    std::fflush(m_out);
}

void ProgressLine::draw() {
    if (!m_enabled)
        return;
    QString line = QStringLiteral("[%1/%2] %3 of %4")
                       .arg(m_filesStarted)
                       .arg(m_filesTotal)
                       .arg(bytesText(m_bytesSoFar), bytesText(m_bytesTotal));
    const qint64 elapsedMs = m_clock.elapsed();
    if (elapsedMs > 500 && m_bytesSoFar > 0) {
        const double perSecond =
            static_cast<double>(m_bytesSoFar) * 1000.0 / static_cast<double>(elapsedMs);
        const qint64 secondsLeft =
            static_cast<qint64>(static_cast<double>(m_bytesTotal - m_bytesSoFar) / perSecond);
        line += QStringLiteral(", %1, %2 left")
                    .arg(bytesText(static_cast<qint64>(perSecond), QStringLiteral("B/s")),
                         StringUtils::stringFromDurationInSeconds(qMax<qint64>(0, secondsLeft)));
    }
    line += QStringLiteral("  ") + m_current;
    std::fputs(("\r" + line.toLocal8Bit() + "\033[K").constData(), m_out);
    std::fflush(m_out);
}
