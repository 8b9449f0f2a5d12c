// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchProcessRun.h"

#include "FileManagerUtils.h"
#include "FileUtils.h"
#include "NativePath.h"
#include "PoolTask.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

const int registered = [] {
    qRegisterMetaType<BatchOutcome>("BatchOutcome");
    qRegisterMetaType<BatchSummary>("BatchSummary");
    return 0;
}();

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// Writes all of `bytes` into the (empty) file at `path`, on disk before
// returning when `durable`. Empty on success, else the system's reason.
QString writeFile(const QString& path, const QByteArray& bytes, bool durable) {
    const int fd = ::open(NativePath::encode(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return errnoText(errno);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, data, std::size_t(left));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            const int error = done < 0 ? errno : ENOSPC;
            ::close(fd);
            return errnoText(error);
        }
        data += done;
        left -= done;
    }
    if (durable && ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return errnoText(error);
    }
    if (::close(fd) != 0)
        return errnoText(errno);
    return {};
}

bool renameFile(const QString& from, const QString& to) {
    return ::rename(NativePath::encode(from).constData(), NativePath::encode(to).constData()) == 0;
}

// Takes a trashed item back out of the Trash to `original`, and drops its
// entry from the Trash's information folder.
bool putBack(const QString& inTrash, const QString& original) {
    if (inTrash.isEmpty() || !renameFile(inTrash, original))
        return false;
    const QFileInfo trashed(inTrash);
    QFile::remove(QDir::cleanPath(trashed.absolutePath() + QLatin1String("/../info/") +
                                  trashed.fileName() + QLatin1String(".trashinfo")));
    return true;
}

} // namespace

BatchProcessRun::BatchProcessRun(const QStringList& images, const BatchOptions& options,
                                 QObject* parent)
    : QObject(parent)
    , m_images(images)
    , m_options(options)
    , m_parallel(std::clamp(QThread::idealThreadCount(), 1, 2)) {
    Q_UNUSED(registered);
}

BatchProcessRun::~BatchProcessRun() {
    if (m_thread) {
        cancel();
        m_thread->wait();
    }
}

double BatchProcessRun::progressStep() const {
    return m_images.isEmpty() ? 0.0 : 100.0 / double(m_images.size());
}

void BatchProcessRun::setParallelPictures(int count) {
    m_parallel = std::clamp(count, 1, 2);
}

void BatchProcessRun::start() {
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

bool BatchProcessRun::isRunning() const {
    return m_thread && m_thread->isRunning();
}

QFuture<BatchImageJob::Result> BatchProcessRun::submit(QThreadPool& pool, int index) {
    const std::atomic<bool>* abandon = &m_abandonFlag;
    return PoolTask::run(&pool, [source = m_images.at(index), options = m_options, abandon] {
        return BatchImageJob::process(source, options, *abandon);
    });
}

BatchSummary BatchProcessRun::run() {
    const int count = int(m_images.size());
    m_sourceIndex.clear();
    m_writtenTargets.clear();
    for (int i = count - 1; i >= 0; --i) {
        const QString path = canonical(m_images.at(i));
        if (!path.isEmpty())
            m_sourceIndex.insert(path, i);
    }
    m_abandonFlag.store(false);

    BatchSummary summary;
    QThreadPool pool;
    pool.setMaxThreadCount(m_parallel);
    // The pictures worked on ahead of the one being put in place, in order.
    std::deque<QFuture<BatchImageJob::Result>> ahead;
    int next = 0;
    auto keepBusy = [&] {
        while (!isCanceled() && next < count && int(ahead.size()) < m_parallel)
            ahead.push_back(submit(pool, next++));
    };

    for (int index = 0; index < count; ++index) {
        keepBusy();
        // Nothing in hand once a cancel came: the picture before was the last.
        if (isCanceled() || ahead.empty()) {
            summary.notStarted = count - index;
            break;
        }
        emit imageStarted(index, m_images.at(index));
        const BatchImageJob::Result result = ahead.front().result();
        ahead.pop_front();
        // The next picture is decoded while this one is written.
        keepBusy();
        const BatchOutcome outcome = putInPlace(index, result);
        if (outcome.succeeded()) {
            ++summary.written;
        } else {
            ++summary.failed;
            summary.failures.append(outcome);
        }
        emit imageFinished(outcome);
        if (outcome.succeeded())
            emit progressIncrement(progressStep());
    }
    m_abandonFlag.store(true);
    ahead.clear();
    pool.waitForDone();
    summary.canceled = isCanceled();
    emit finished(summary);
    return summary;
}

QString BatchProcessRun::conflictOf(int index, const QString& target, bool* replacesSource) const {
    *replacesSource = false;
    const QString existing = canonical(target);
    if (existing.isEmpty())
        return {};
    if (m_writtenTargets.contains(existing))
        return tr("another picture of this batch was written as %1").arg(target);
    if (existing == canonical(m_images.at(index))) {
        *replacesSource = true;
        return {};
    }
    const int other = m_sourceIndex.value(existing, -1);
    if (other >= 0)
        return tr("%1 is another picture of this batch and is not replaced").arg(target);
    return {};
}

BatchOutcome BatchProcessRun::putInPlace(int index, const BatchImageJob::Result& result) {
    BatchOutcome outcome;
    outcome.index = index;
    outcome.source = m_images.at(index);
    outcome.target = m_options.targetPathFor(outcome.source);
    if (result.bytes.isEmpty()) {
        outcome.reason = result.reason.isEmpty() ? tr("cannot be processed") : result.reason;
        return outcome;
    }
    const QString folder = QFileInfo(outcome.target).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        outcome.reason = tr("the destination folder %1 does not exist").arg(folder);
        return outcome;
    }
    bool replacesSource = false;
    outcome.reason = conflictOf(index, outcome.target, &replacesSource);
    if (!outcome.reason.isEmpty())
        return outcome;

    // Complete beside the target first, so the rename is atomic and nothing
    // but a whole new file ever stands under the name.
    const QString temporary = FileManagerUtils::temporaryFilename(outcome.target);
    if (temporary.isEmpty() || QFileInfo(temporary).absolutePath() != folder) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        outcome.reason = tr("cannot write into %1").arg(folder);
        return outcome;
    }
    // On disk before an original goes.
    const QString error =
        writeFile(temporary, result.bytes, replacesSource || m_options.deleteOriginals);
    if (!error.isEmpty()) {
        QFile::remove(temporary);
        outcome.reason = tr("cannot be written to %1 (%2)").arg(outcome.target, error);
        return outcome;
    }

    if (replacesSource) {
        // The original goes to the Trash before its new version takes its
        // name, and comes back when that fails.
        QString inTrash;
        if (!FileUtils::moveItemToTrash(outcome.source, &inTrash)) {
            QFile::remove(temporary);
            outcome.reason = tr("cannot be moved to the Trash, so it was not replaced");
            return outcome;
        }
        if (!renameFile(temporary, outcome.target)) {
            const QString reason = errnoText(errno);
            QFile::remove(temporary);
            outcome.reason =
                putBack(inTrash, outcome.source)
                    ? tr("cannot be replaced (%1); the original is back").arg(reason)
                    : tr("cannot be replaced (%1); the original is in the Trash").arg(reason);
            return outcome;
        }
    } else {
        if (!renameFile(temporary, outcome.target)) {
            const QString reason = errnoText(errno);
            QFile::remove(temporary);
            outcome.reason = tr("cannot be written to %1 (%2)").arg(outcome.target, reason);
            return outcome;
        }
        if (m_options.deleteOriginals && !FileUtils::moveItemToTrash(outcome.source))
            outcome.reason = tr("written as %1, but the original cannot be moved to the Trash")
                                 .arg(outcome.target);
    }
    outcome.written = true;
    m_writtenTargets.insert(canonical(outcome.target));
    return outcome;
}
