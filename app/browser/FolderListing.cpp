// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderListing.h"

#include "FileUtils.h"
#include "NativePath.h"

#include <QElapsedTimer>
#include <QThread>

#include <dirent.h>
#include <functional>
#include <sys/stat.h>

namespace {

// A batch goes to the main thread when it is this large or this old.
constexpr qsizetype BatchSize = 256;
constexpr qint64 BatchMilliseconds = 50;

bool isDirectory(const QByteArray& path, unsigned char type) {
    if (type == DT_DIR)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entry as an item, or null when it is not listed.
BrowserItemPtr itemFor(const QString& folder, const QByteArray& folderBytes, const char* name,
                       unsigned char type) {
    if (name[0] == '.')
        return nullptr;
    // The file system's bytes decide the kind; the item's path is their
    // decoded text, every byte kept.
    const QByteArray bytes = folderBytes + name;
    const QString path = folder + NativePath::decode(name);
    if (isDirectory(bytes, type))
        return std::make_shared<BrowserItem>(path, BrowserItemTypeFolder);
    if (FileUtils::isImageFile(path))
        return std::make_shared<BrowserItem>(path, BrowserItemTypeImage);
    if (FileUtils::isVideoFile(path))
        return std::make_shared<BrowserItem>(path, BrowserItemTypeMovie);
    return nullptr;
}

// Reads `path` in directory order (never sorted; readdir keeps names that
// are not valid UTF-8, which Qt's iterators drop). Before each entry
// `keepGoing` may stop it: false is returned then.
bool readFolder(const QString& path, const std::function<bool()>& keepGoing,
                const std::function<void(const BrowserItemPtr&)>& add) {
    const QString folder = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    const QByteArray folderBytes = NativePath::encode(folder);
    DIR* dir = ::opendir(folderBytes.constData());
    if (!dir)
        return true; // unreadable or gone: an empty listing
    bool complete = true;
    while (const dirent* entry = ::readdir(dir)) {
        if (!keepGoing()) {
            complete = false;
            break;
        }
        if (BrowserItemPtr item = itemFor(folder, folderBytes, entry->d_name, entry->d_type))
            add(item);
    }
    ::closedir(dir);
    return complete;
}

} // namespace

FolderListing::FolderListing(QObject* parent)
    : QObject(parent)
    , m_current(std::make_shared<std::atomic<quint64>>(0)) {}

FolderListing::~FolderListing() {
    cancel();
    // A worker posts to this object: it must be gone first. Abandoned, it
    // stops before its next entry.
    const QList<QThread*> workers = findChildren<QThread*>(Qt::FindDirectChildrenOnly);
    for (QThread* worker : workers)
        worker->wait();
}

quint64 FolderListing::start(const QString& path) {
    const quint64 generation = ++m_generation;
    m_current->store(generation);
    m_running = true;

    const std::shared_ptr<std::atomic<quint64>> current = m_current;
    QThread* worker = QThread::create([this, current, generation, path] {
        QList<BrowserItemPtr> batch;
        QElapsedTimer age;
        age.start();
        const auto handOver = [&] {
            if (batch.isEmpty())
                return;
            // The main thread checks the number again: a listing abandoned
            // after this post still reports nothing.
            QMetaObject::invokeMethod(
                this,
                [this, generation, items = std::move(batch)] {
                    if (m_current->load() == generation)
                        emit itemsListed(generation, items);
                },
                Qt::QueuedConnection);
            batch = {};
            age.restart();
        };
        const bool complete = readFolder(
            path,
            [&] {
                if (age.elapsed() >= BatchMilliseconds)
                    handOver();
                return current->load() == generation;
            },
            [&](const BrowserItemPtr& item) {
                batch.append(item);
                if (batch.size() >= BatchSize)
                    handOver();
            });
        if (!complete)
            return;
        handOver();
        QMetaObject::invokeMethod(
            this,
            [this, generation, path] {
                if (m_current->load() != generation)
                    return;
                m_running = false;
                emit finished(generation, path);
            },
            Qt::QueuedConnection);
    });
    worker->setParent(this);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return generation;
}

void FolderListing::cancel() {
    // No listing has number 0.
    m_current->store(0);
    m_running = false;
}

QList<BrowserItemPtr> FolderListing::listFolder(const QString& path) {
    QList<BrowserItemPtr> items;
    readFolder(
        path, [] { return true; }, [&](const BrowserItemPtr& item) { items.append(item); });
    return items;
}
