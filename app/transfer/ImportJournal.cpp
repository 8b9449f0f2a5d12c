// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportJournal.h"

#include "TransferLog.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QLatin1String journalSuffix(".journal");

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

QList<ImportRecord> readRecords(int fd) {
    QByteArray contents;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        contents.append(buffer, got);
    }
    QList<ImportRecord> records;
    // A line cut short by the kill has no line break yet and is left out.
    const QList<QByteArray> lines = contents.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (std::optional<ImportRecord> record = ImportRecord::fromLine(lines[i]))
            records.append(*record);
    }
    return records;
}

} // namespace

ImportJournal::ImportJournal(const QString& folder) {
    QDir().mkpath(folder);
    const QString stem = folder + QStringLiteral("/import-run-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces);
    // Locked under a name no recovery looks at, then renamed: nobody can
    // take a living run's journal for an abandoned one.
    const QByteArray part = QFile::encodeName(stem + QStringLiteral(".part"));
    const QByteArray path = QFile::encodeName(stem + journalSuffix);
    const int fd =
        ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(part.constData(), path.constData()) != 0) {
        ::unlink(part.constData());
        ::close(fd);
        return;
    }
    m_descriptor = fd;
    m_path = stem + journalSuffix;
}

ImportJournal::~ImportJournal() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void ImportJournal::append(const ImportRecord& record) {
    append(QList<ImportRecord>{record});
}

void ImportJournal::append(const QList<ImportRecord>& records) {
    if (records.isEmpty())
        return;
    m_records.append(records);
    QByteArray lines;
    for (const ImportRecord& record : records)
        lines += record.toLine() + '\n';
    if (m_descriptor >= 0 && !writeAll(m_descriptor, lines))
        qCWarning(lcTransfer) << "cannot write the import journal" << m_path;
}

void ImportJournal::discard() {
    if (m_descriptor < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_descriptor);
    m_descriptor = -1;
}

int ImportJournal::recoverAbandoned(const QString& folder,
                                    const std::function<bool(const QList<ImportRecord>&)>& commit) {
    int taken = 0;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*") + journalSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Held: its run is still going. Committing twice (two recoveries
        // at once) only meets records already there.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && commit(readRecords(fd)) &&
            ::unlink(path.constData()) == 0) {
            qCInfo(lcTransfer) << "recovered the import journal" << name << "of an interrupted run";
            ++taken;
        }
        ::close(fd);
    }
    return taken;
}
