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
    : out(stream)
    , enabled(::isatty(::fileno(stream)) == 1)
    , filesTotal(totalFiles)
    , bytesTotal(totalBytes) {
    clock.start();
}

void ProgressLine::fileStarted(const QString& title) {
    ++filesStarted;
    current = title;
    draw();
}

void ProgressLine::bytesDone(qint64 bytes) {
    bytesSoFar += bytes;
    draw();
}

void ProgressLine::finish() {
    if (!enabled)
        return;
    std::fputs("\r\033[K", out);
    std::fflush(out);
}

void ProgressLine::draw() {
    if (!enabled)
        return;
    QString line = QStringLiteral("[%1/%2] %3 of %4")
                       .arg(filesStarted)
                       .arg(filesTotal)
                       .arg(bytesText(bytesSoFar), bytesText(bytesTotal));
    const qint64 elapsedMs = clock.elapsed();
    if (elapsedMs > 500 && bytesSoFar > 0) {
        const double perSecond =
            static_cast<double>(bytesSoFar) * 1000.0 / static_cast<double>(elapsedMs);
        const qint64 secondsLeft =
            static_cast<qint64>(static_cast<double>(bytesTotal - bytesSoFar) / perSecond);
        line += QStringLiteral(", %1, %2 left")
                    .arg(bytesText(static_cast<qint64>(perSecond), QStringLiteral("B/s")),
                         StringUtils::stringFromDurationInSeconds(qMax<qint64>(0, secondsLeft)));
    }
    line += QStringLiteral("  ") + current;
    std::fputs(("\r" + line.toLocal8Bit() + "\033[K").constData(), out);
    std::fflush(out);
}
