// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator64>
#include <QUuid>

#include <array>

bool StringUtils::isWhitespaceOrNewline(QChar c) {
    return c.isSpace();
}

QString StringUtils::stringByTrimmingLeadingCharactersInSet(const QString& s,
                                                            const CharacterSet& set) {
    qsizetype first = 0;
    while (first < s.size() && set(s.at(first)))
        ++first;
    return s.mid(first);
}

QString StringUtils::stringByTrimmingTrailingCharactersInSet(const QString& s,
                                                             const CharacterSet& set) {
    qsizetype end = s.size();
    while (end > 0 && set(s.at(end - 1)))
        --end;
    return s.left(end);
}

QString StringUtils::stringByTrimmingLeadingWhitespaceAndNewlineCharacters(const QString& s) {
    return stringByTrimmingLeadingCharactersInSet(s, isWhitespaceOrNewline);
}

QString StringUtils::stringByTrimmingTrailingWhitespaceAndNewlineCharacters(const QString& s) {
    return stringByTrimmingTrailingCharactersInSet(s, isWhitespaceOrNewline);
}

QString StringUtils::stringByCleaningFilename(const QString& s) {
    // Lossy ASCII: decompose, keep base letters, drop combining marks, and
    // turn every other non-ASCII character (one per code point) into '?'.
    QString ascii;
    ascii.reserve(s.size());
    const QList<uint> codePoints = s.normalized(QString::NormalizationForm_KD).toUcs4();
    for (const uint cp : codePoints) {
        if (cp < 0x80)
            ascii.append(QChar(static_cast<char16_t>(cp)));
        else if (QChar::category(static_cast<char32_t>(cp)) != QChar::Mark_NonSpacing)
            ascii.append(QLatin1Char('?'));
    }
    static const QString forbidden = QStringLiteral(":/\\?%|\"<>");
    for (QChar& c : ascii) {
        if (forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return ascii;
}

void StringUtils::deleteResourceFork(const QString& path) {
    const QFileInfo info(path);
    const QString companion = info.absolutePath() + QLatin1String("/._") + info.fileName();
    if (QFileInfo(companion).isFile())
        QFile::remove(companion);
}

QString StringUtils::stringFromDurationInSeconds(qint64 seconds) {
    const qint64 n = seconds < 0 ? 0 : seconds;
    const qint64 m = n / 60;
    const qint64 s = n - 60 * m;
    if (n < 3660)
        return QStringLiteral("%1:%2").arg(m).arg(s);
    const qint64 h = n / 3600;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m - 60 * h).arg(s);
}

QString StringUtils::UUIDString() {
    // A generator per thread, seeded once from the system's source: temporary
    // names are made by the thousand, and that source (the processor's random
    // instruction) takes over a microsecond per call.
    thread_local QRandomGenerator64 generator = QRandomGenerator64::securelySeeded();
    std::array<quint64, 2> bits{generator.generate(), generator.generate()};
    QByteArray bytes(reinterpret_cast<const char*>(bits.data()), sizeof bits);
    // Version 4 (random), variant 1, as QUuid::createUuid() makes them.
    bytes[6] = char((bytes[6] & 0x0F) | 0x40);
    bytes[8] = char((bytes[8] & 0x3F) | 0x80);
    return QUuid::fromRfc4122(bytes).toString(QUuid::WithoutBraces).toUpper();
}
