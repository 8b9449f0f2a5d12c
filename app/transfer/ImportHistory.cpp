// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportHistory.h"

#include "ContentFingerprint.h"
#include "ImportJournal.h"
#include "Interleaved.h"
#include "TransferLog.h"
#include "camera/CameraFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <limits>
#include <vector>

namespace {

std::atomic<int> connectionCount{0};

// SQLite integers are signed: the fingerprint is stored bit for bit.
qint64 stored(quint64 fingerprint) {
    return static_cast<qint64>(fingerprint);
}

std::optional<quint64> fingerprintOf(const CameraFile& file) {
    const std::optional<quint64> known = file.knownFingerprint();
    return known ? known : ContentFingerprint::ofFile(file.localPath());
}

} // namespace

ImportHistory::ImportHistory(const QString& databasePath)
    : m_path(databasePath)
    , m_connection(QStringLiteral("pixhaul-import-history-%1").arg(++connectionCount)) {
    m_open = open();
    if (!m_open)
        return;
    ImportJournal::recoverAbandoned(
        QFileInfo(m_path).absolutePath(),
        [this](const QList<ImportRecord>& records) { return commit(records); });
}

ImportHistory::~ImportHistory() {
    {
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QString ImportHistory::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/pixhaul/import-history.sqlite");
}

bool ImportHistory::open() {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    database.setDatabaseName(m_path);
    // Another Pixhaul committing its run holds the lock for a moment only.
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!database.open()) {
        qCWarning(lcTransfer) << "cannot open the import history" << m_path << ":"
                              << database.lastError().text();
        return false;
    }
    QSqlQuery query(database);
    // Write-ahead logging: readers never wait for a writer. NORMAL keeps
    // the database whole through a crash; a power cut may drop the last
    // commit, which only makes its files count as new again.
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        qCWarning(lcTransfer) << "cannot read the import history" << m_path << ":"
                              << query.lastError().text();
        return false;
    }
    const int version = query.value(0).toInt();
    // A statement left open holds a read lock: with another connection
    // waiting to write, neither could go on.
    query.finish();
    if (version > schemaVersion) {
        qCWarning(lcTransfer) << "the import history" << m_path << "is of a newer Pixhaul (version"
                              << version << "); left alone";
        return false;
    }
    return version == schemaVersion || createSchema();
}

bool ImportHistory::createSchema() {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    // Another process may be creating it too: whoever comes second finds
    // the tables there and the version set.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        qCWarning(lcTransfer) << "cannot set up the import history" << m_path << ":"
                              << query.lastError().text();
        return false;
    }
    const bool created =
        query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS imported ("
                                  " name TEXT NOT NULL,"
                                  " size INTEGER NOT NULL,"
                                  " captured INTEGER NOT NULL,"
                                  " fingerprint INTEGER NOT NULL,"
                                  " destination TEXT NOT NULL,"
                                  " imported_at INTEGER NOT NULL,"
                                  " PRIMARY KEY (name, size, captured, fingerprint))")) &&
        query.exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion));
    if (!created || !query.exec(QStringLiteral("COMMIT"))) {
        qCWarning(lcTransfer) << "cannot set up the import history" << m_path << ":"
                              << query.lastError().text();
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

qint64 ImportHistory::recordCountEstimate() const {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    // Records are never deleted: the last row id counts them, without a
    // pass over the table. When in doubt, as many as can be.
    qint64 count = std::numeric_limits<qint64>::max();
    if (query.exec(QStringLiteral("SELECT coalesce(max(rowid), 0) FROM imported")) && query.next())
        count = query.value(0).toLongLong();
    query.finish();
    return count;
}

ImportHistory::RecordsByFile ImportHistory::readAllRecords() const {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    RecordsByFile records;
    if (!query.exec(QStringLiteral("SELECT name, size, captured, fingerprint FROM imported")))
        return records;
    while (query.next())
        records[{query.value(0).toString(), query.value(1).toLongLong()}].append(
            {query.value(2).toLongLong(), query.value(3).toLongLong()});
    query.finish();
    return records;
}

QSqlQuery ImportHistory::prepareLookup() const {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT size, captured, fingerprint FROM imported WHERE name = :name"));
    return query;
}

void ImportHistory::readRecordsOfName(QSqlQuery& lookup, const QString& name,
                                      RecordsByFile& records) {
    lookup.bindValue(QStringLiteral(":name"), name);
    if (!lookup.exec())
        return;
    while (lookup.next())
        records[{name, lookup.value(0).toLongLong()}].append(
            {lookup.value(1).toLongLong(), lookup.value(2).toLongLong()});
    lookup.finish();
}

bool ImportHistory::Snapshot::covers(const CameraFile& file) const {
    return whole || file.localPath().isEmpty() || names.contains(file.title());
}

ImportHistory::Snapshot ImportHistory::recordsOfNames(const QList<CameraFilePtr>& files) const {
    Snapshot snapshot;
    // One transaction: every look-up reads the same snapshot under one
    // lock instead of taking and dropping it per name.
    QSqlDatabase database = QSqlDatabase::database(m_connection, false);
    const bool reading = database.transaction();
    const qint64 records = recordCountEstimate();
    snapshot.whole = records <= 4 * qint64(files.size());
    if (snapshot.whole && records > 0) {
        snapshot.records = readAllRecords();
    } else if (!snapshot.whole) {
        QSqlQuery lookup = prepareLookup();
        for (const CameraFilePtr& file : files) {
            // Files without a local path cannot be fingerprinted: never asked.
            if (!file || file->localPath().isEmpty())
                continue;
            const QString name = file->title();
            if (!snapshot.names.contains(name)) {
                snapshot.names.insert(name);
                readRecordsOfName(lookup, name, snapshot.records);
            }
        }
    }
    if (reading)
        database.commit();
    return snapshot;
}

QList<qint64> ImportHistory::fingerprintsOf(const RecordsByFile& records, const CameraFile& file) {
    QList<qint64> fingerprints;
    if (records.isEmpty() || file.localPath().isEmpty())
        return fingerprints;
    const auto found = records.constFind({file.title(), file.fileSize()});
    if (found == records.cend())
        return fingerprints;
    // Asked only when the name and size are known.
    const qint64 captured = file.creationDate().toMSecsSinceEpoch();
    for (const Recorded& record : *found) {
        if (record.captured == captured)
            fingerprints.append(record.fingerprint);
    }
    return fingerprints;
}

bool ImportHistory::fingerprintIsAmong(const CameraFile& file, const QList<qint64>& fingerprints) {
    if (fingerprints.isEmpty())
        return false;
    const std::optional<quint64> fingerprint = fingerprintOf(file);
    return fingerprint && fingerprints.contains(stored(*fingerprint));
}

bool ImportHistory::wasImported(const CameraFile& file) const {
    if (!m_open || file.localPath().isEmpty())
        return false;
    RecordsByFile records;
    QSqlQuery lookup = prepareLookup();
    readRecordsOfName(lookup, file.title(), records);
    return fingerprintIsAmong(file, fingerprintsOf(records, file));
}

FingerprintWanted ImportHistory::readAheadFor(const QList<CameraFilePtr>& listed) {
    m_readAhead.reset();
    if (!m_open || listed.isEmpty())
        return {};
    m_readAhead = recordsOfNames(listed);
    if (m_readAhead->records.isEmpty())
        return {};
    // A copy of the records, shared and never changed, outlives this history if need be.
    return [records = m_readAhead->records](const QString& name, qint64 size) {
        return records.contains({name, size});
    };
}

QList<CameraFilePtr> ImportHistory::importedAmong(const QList<CameraFilePtr>& files) const {
    if (!m_open || files.isEmpty())
        return {};
    const bool readAhead =
        m_readAhead && std::all_of(files.cbegin(), files.cend(), [this](const CameraFilePtr& file) {
            return !file || m_readAhead->covers(*file);
        });
    const Snapshot fresh = readAhead ? Snapshot() : recordsOfNames(files);
    const Snapshot& snapshot = readAhead ? *m_readAhead : fresh;
    struct Candidate {
        CameraFilePtr file;
        QList<qint64> fingerprints;
        bool imported = false;
    };
    std::vector<Candidate> candidates;
    for (const CameraFilePtr& file : files) {
        if (!file)
            continue;
        QList<qint64> fingerprints = fingerprintsOf(snapshot.records, *file);
        if (!fingerprints.isEmpty())
            candidates.push_back({file, std::move(fingerprints)});
    }
    // Then the fingerprints not taken by the scan, each a read of the
    // file, on two threads.
    Interleaved::forEach(candidates.size(), 2, [&candidates](size_t i) {
        candidates[i].imported =
            fingerprintIsAmong(*candidates[i].file, candidates[i].fingerprints);
    });
    QList<CameraFilePtr> imported;
    for (const Candidate& candidate : candidates) {
        if (candidate.imported)
            imported.append(candidate.file);
    }
    return imported;
}

bool ImportHistory::commit(const QList<ImportRecord>& records) {
    if (!m_open)
        return false;
    if (records.isEmpty())
        return true;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        qCWarning(lcTransfer) << "cannot write the import history:" << query.lastError().text();
        return false;
    }
    query.prepare(QStringLiteral(
        "INSERT OR IGNORE INTO imported (name, size, captured, fingerprint, destination, "
        "imported_at) VALUES (:name, :size, :captured, :fingerprint, :destination, :now)"));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    bool written = true;
    for (const ImportRecord& record : records) {
        query.bindValue(QStringLiteral(":name"), record.name);
        query.bindValue(QStringLiteral(":size"), record.size);
        query.bindValue(QStringLiteral(":captured"), record.captured);
        query.bindValue(QStringLiteral(":fingerprint"), stored(record.fingerprint));
        query.bindValue(QStringLiteral(":destination"), record.destination);
        query.bindValue(QStringLiteral(":now"), now);
        if (!(written = query.exec()))
            break;
    }
    QSqlQuery end(QSqlDatabase::database(m_connection, false));
    if (written && end.exec(QStringLiteral("COMMIT")))
        return true;
    qCWarning(lcTransfer) << "cannot write the import history:" << query.lastError().text()
                          << end.lastError().text();
    end.exec(QStringLiteral("ROLLBACK"));
    return false;
}

std::optional<ImportRecord> ImportHistory::recordFor(const CameraFile& file,
                                                     const QDateTime& captured,
                                                     const QString& destination) {
    if (file.localPath().isEmpty())
        return std::nullopt;
    const std::optional<quint64> fingerprint = fingerprintOf(file);
    if (!fingerprint)
        return std::nullopt;
    return ImportRecord{file.title(), file.fileSize(), captured.toMSecsSinceEpoch(), *fingerprint,
                        destination};
}
