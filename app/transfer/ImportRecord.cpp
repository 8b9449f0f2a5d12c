// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportRecord.h"

#include <QList>

// Fields separated by tabs; the texts percent-encoded, so neither a tab nor
// a line break of a name can split a record.
QByteArray ImportRecord::toLine() const {
    return QByteArray::number(fingerprint, 16) + '\t' + QByteArray::number(size) + '\t' +
           QByteArray::number(captured) + '\t' + name.toUtf8().toPercentEncoding() + '\t' +
           destination.toUtf8().toPercentEncoding();
}

std::optional<ImportRecord> ImportRecord::fromLine(const QByteArray& line) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 5)
        return std::nullopt;
    ImportRecord record;
    bool fingerprintRead = false, sizeRead = false, capturedRead = false;
    record.fingerprint = fields[0].toULongLong(&fingerprintRead, 16);
    record.size = fields[1].toLongLong(&sizeRead);
    record.captured = fields[2].toLongLong(&capturedRead);
    record.name = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[3]));
    record.destination = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[4]));
    if (!fingerprintRead || !sizeRead || !capturedRead || record.name.isEmpty())
        return std::nullopt;
    return record;
}
