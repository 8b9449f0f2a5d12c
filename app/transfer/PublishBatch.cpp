// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishBatch.h"

#include "Interleaved.h"
#include "TransferLog.h"
#include "camera/StagedFile.h"
#include "camera/StagedTransfer.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

PublishBatch::PublishBatch(int maxFiles, qint64 maxBytes)
    : m_maxFiles(maxFiles > 0 ? maxFiles : defaultFileCount())
    , m_maxBytes(maxBytes > 0 ? maxBytes : defaultMaxBytes) {}

PublishBatch::~PublishBatch() = default;

int PublishBatch::defaultFileCount() {
    static const int count = [] {
        // Descriptors left for the rest of the process.
        constexpr rlim_t others = 256;
        // Enough for two full batches; no more, as children inherit it.
        constexpr rlim_t wanted = 2 * rlim_t(defaultMaxFiles) + others;
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
            return 256;
        if (limit.rlim_cur < wanted) {
            rlimit raised = limit;
            raised.rlim_cur = std::min(wanted, limit.rlim_max);
            if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
                limit = raised;
        }
        const rlim_t perBatch = limit.rlim_cur > others ? (limit.rlim_cur - others) / 2 : 0;
        return int(std::clamp(perBatch, rlim_t(16), rlim_t(defaultMaxFiles)));
    }();
    return count;
}

void PublishBatch::add(Entry entry) {
    if (entry.staged)
        m_bytes += entry.bytes;
    m_destinations.insert(entry.action->destination().toCaseFolded());
    m_entries.push_back(std::move(entry));
}

bool PublishBatch::isFull() const {
    return qsizetype(m_entries.size()) >= m_maxFiles || m_bytes >= m_maxBytes;
}

bool PublishBatch::holds(const QString& destination) const {
    return m_destinations.contains(destination.toCaseFolded());
}

namespace {

// Flushes the file system holding each folder asked about, once per file
// system; whether that worked, per folder (also reporting write-back errors).
bool flushFileSystemOf(const QString& folder, QHash<QString, bool>& byFolder,
                       QHash<dev_t, bool>& byDevice) {
    const auto known = byFolder.constFind(folder);
    if (known != byFolder.cend())
        return *known;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    bool flushed = false;
    if (fd >= 0 && ::fstat(fd, &st) == 0) {
        if (!byDevice.contains(st.st_dev)) {
            const bool synced = ::syncfs(fd) == 0;
            if (!synced)
                qCWarning(lcTransfer) << "cannot flush" << folder << ":" << strerror(errno);
            byDevice.insert(st.st_dev, synced);
        }
        flushed = byDevice.value(st.st_dev);
    }
    if (fd >= 0)
        ::close(fd);
    byFolder.insert(folder, flushed);
    return flushed;
}

} // namespace

void PublishBatch::makeDurable() {
    QHash<QString, bool> byFolder;
    QHash<dev_t, bool> byDevice;
    std::vector<Entry*> checked;
    for (Entry& entry : m_entries) {
        if (!entry.staged)
            continue;
        // A rename writes no contents.
        entry.durable = !entry.staged->isCopy() ||
                        flushFileSystemOf(QFileInfo(entry.staged->temporaryPath()).absolutePath(),
                                          byFolder, byDevice);
        if (entry.durable && entry.staged->isCopy())
            checked.push_back(&entry);
    }
    // The read-backs, several at a time: the disk takes more requests at
    // once and both processors stay busy.
    Interleaved::forEach(checked.size(), 4, [&checked](size_t i) {
        checked[i]->durable = checked[i]->staged->holds();
    });
}

void PublishBatch::finish() {
    // One syncfs per file system commits every rename of the batch at once,
    // where an fsync per folder would commit the journal once per folder.
    QHash<QString, bool> byFolder;
    QHash<dev_t, bool> byDevice;
    for (const Entry& entry : m_entries) {
        if (!entry.published)
            continue;
        const QString path = entry.staged->destinationPath();
        if (!flushFileSystemOf(QFileInfo(path).absolutePath(), byFolder, byDevice) &&
            !StagedFile::syncFolderOf(path))
            qCWarning(lcTransfer) << "cannot flush the folder of" << path;
    }
    m_published = true;
}

void PublishBatch::removeSources() {
    for (Entry& entry : m_entries) {
        if (entry.published)
            entry.staged->removeSource();
    }
}

void PublishBatch::publish(Entry& entry, bool skipsExisting) {
    if (entry.skipped || !entry.durable)
        return;
    entry.published = entry.staged->publish(entry.replaceExisting);
    if (entry.published)
        entry.action->published();
    struct stat st {};
    entry.takenMeanwhile =
        !entry.published && skipsExisting &&
        ::lstat(QFile::encodeName(entry.action->destination()).constData(), &st) == 0;
}

void PublishBatch::publishAll(const std::atomic<bool>& canceled, bool skipsExisting) {
    makeDurable();
    for (Entry& entry : m_entries) {
        entry.canceled = canceled.load();
        if (!entry.canceled)
            publish(entry, skipsExisting);
    }
    finish();
}
