// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportRecord.h"
#include "camera/CameraFile.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include <optional>

class QSqlQuery;

// The per-user memory of imported files: an SQLite database (Qt's QSQLITE
// driver) under $XDG_DATA_HOME/pixhaul/. A file counts as already
// imported when a record has its name, size and capture date and its
// content fingerprint matches too, so a renumbered or edited file is new.
// Deleting the file loses nothing but this memory; a history that cannot
// be opened (damaged, or from a newer Pixhaul) acts as an empty one.
//
// Two processes share it: write-ahead logging lets readers go on while one
// writes, and a writer waits (busy timeout) for the other's short commit.
// Opening it also commits the journals killed runs left behind
// (ImportJournal).
//
// Threads: each instance has its own connection and is used only on the
// thread that made it (the scan's, or the run's at its end).
class ImportHistory {
public:
    static constexpr int schemaVersion = 1;

    explicit ImportHistory(const QString& path = defaultPath());
    ~ImportHistory();
    ImportHistory(const ImportHistory&) = delete;
    ImportHistory& operator=(const ImportHistory&) = delete;

    // "<generic data location>/pixhaul/import-history.sqlite".
    static QString defaultPath();

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // Whether `file` was imported before. The fingerprint is taken only for
    // files whose name, size and date have a record; files without a local
    // path (device cameras) have none and always count as new.
    bool wasImported(const CameraFile& file) const;
    // The files among `files` imported before, in their order: the same
    // test for each, all in one read of the history.
    QList<CameraFilePtr> importedAmong(const QList<CameraFilePtr>& files) const;
    // Reads the records of the names among `listed` ahead of their scan,
    // and answers, on any thread, whether a file of a name and size has
    // one: the scan takes those files' fingerprints as it reads them, so
    // that importedAmong() of the scanned files opens none again and asks
    // the history nothing more. Empty when no name has a record.
    FingerprintWanted readAheadFor(const QList<CameraFilePtr>& listed);

    // Adds `records` in one transaction; records already known are kept as
    // they are. False when the history could not take them.
    bool commit(const QList<ImportRecord>& records);

    // The record of `file` bound for `destination`, taken before it is
    // transferred (a moved file is gone after); nothing when its contents
    // cannot be fingerprinted.
    static std::optional<ImportRecord> recordFor(const CameraFile& file, const QDateTime& captured,
                                                 const QString& destination);

private:
    struct Recorded {
        qint64 captured = 0;
        qint64 fingerprint = 0;
    };
    // By name and size.
    using RecordsByFile = QHash<QPair<QString, qint64>, QList<Recorded>>;
    // The records of some files' names.
    struct Snapshot {
        RecordsByFile records;
        bool whole = false;  // the whole history was read,
        QSet<QString> names; // else the records of these names
        bool covers(const CameraFile& file) const;
    };

    bool open();
    // The records of the names among `files`, in one transaction: a history
    // of up to a few records per file is read whole, in one pass; a larger
    // one is asked name by name.
    Snapshot recordsOfNames(const QList<CameraFilePtr>& files) const;
    // The fingerprints among `records` that have the name, size and capture
    // date of `file`; none for a file without a local path, which cannot be
    // fingerprinted.
    static QList<qint64> fingerprintsOf(const RecordsByFile& records, const CameraFile& file);
    static bool fingerprintIsAmong(const CameraFile& file, const QList<qint64>& fingerprints);
    // Adds the records of `name` to `records` through `lookup`, the
    // prepared query of one name.
    static void readRecordsOfName(QSqlQuery& lookup, const QString& name, RecordsByFile& records);
    QSqlQuery prepareLookup() const;
    qint64 recordCountEstimate() const;
    RecordsByFile readAllRecords() const;
    bool createSchema();

    QString m_path;
    QString m_connection;
    bool m_open = false;
    std::optional<Snapshot> m_readAhead;
};
