// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One imported file as the import history knows it: what identifies the
// source (name, size, capture date, content fingerprint) and where it went.
struct ImportRecord {
    QString name;
    qint64 size = 0;
    qint64 captured = 0; // capture date, milliseconds since the epoch (UTC)
    quint64 fingerprint = 0;
    QString destination;

    // One journal line (no line break) and back; nothing for a damaged line.
    QByteArray toLine() const;
    static std::optional<ImportRecord> fromLine(const QByteArray& line);
};
