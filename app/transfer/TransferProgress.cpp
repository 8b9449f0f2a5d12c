// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferProgress.h"

#include "ByteCountFormatter.h"
#include "StringUtils.h"

#include <QtGlobal>

namespace {

QString bytesText(qint64 bytes, const QString& unit = QStringLiteral("B")) {
    return ByteCountFormatter::stringFromByteCount(bytes, unit,
                                                   ByteCountFormatter::DecimalCountStyle);
}

// Below this the speed says more about start-up than about the card.
constexpr qint64 minimumMeasuredMs = 500;

} // namespace

TransferProgress::TransferProgress(int totalFiles, qint64 totalBytes)
    : m_totalFiles(totalFiles)
    , m_totalBytes(totalBytes) {
    m_clock.start();
}

QString TransferProgress::statusText(qint64 elapsedMs) const {
    QString text = QStringLiteral("%1 of %2 files, %3 of %4")
                       .arg(m_filesStarted)
                       .arg(m_totalFiles)
                       .arg(bytesText(m_bytesDone), bytesText(m_totalBytes));
    if (elapsedMs < minimumMeasuredMs || m_bytesDone <= 0)
        return text;
    const double perSecond = double(m_bytesDone) * 1000.0 / double(elapsedMs);
    const auto secondsLeft =
        qint64(double(qMax<qint64>(0, m_totalBytes - m_bytesDone)) / perSecond + 0.5);
    return text + QStringLiteral(", %1, %2 left")
                      .arg(bytesText(qint64(perSecond), QStringLiteral("B/s")),
                           StringUtils::stringFromDurationInSeconds(secondsLeft));
}

bool TransferProgress::redrawDue(qint64 elapsedMs) {
    if (m_lastRedrawMs >= 0 && elapsedMs - m_lastRedrawMs < redrawIntervalMs)
        return false;
    m_lastRedrawMs = elapsedMs;
    return true;
}
