// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailCache.h"

#include "ThumbnailMaker.h"

#include "ThumbnailPng.h"

#include "NativePath.h"
#include "OpenedPath.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

struct SizeFolder {
    QLatin1StringView name;
    int pixels;
};

constexpr SizeFolder kSizeFolders[] = {{QLatin1StringView("normal"), 128},
                                       {QLatin1StringView("large"), 256},
                                       {QLatin1StringView("x-large"), 512},
                                       {QLatin1StringView("xx-large"), 1024}};

// Other programs keep their own failures beside ours; a new version of our
// decoders may start here afresh.
constexpr QLatin1StringView kFailFolder("fail/pixhaul-0.1");
constexpr QLatin1StringView kSoftware("Pixhaul");

constexpr QFile::Permissions kFolderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kFileMode = QFile::ReadOwner | QFile::WriteOwner;
// A 1024-pixel entry takes about 4 MB uncompressed; anything far larger is
// no thumbnail.
constexpr qint64 kMaxEntryBytes = 16 << 20;

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");

// What an entry must carry to belong to the file as it is now.
struct Fingerprint {
    QString uri;
    qint64 mtime = 0;
    qint64 size = 0;
};

bool fingerprintOf(const QString& path, Fingerprint* fingerprint) {
    const OpenedPath opened(path);
    const QFileInfo info(opened.path());
    if (opened.path().isEmpty() || !info.isFile())
        return false;
    fingerprint->uri = ThumbnailCache::uriForPath(path);
    fingerprint->mtime = info.fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch();
    fingerprint->size = info.size();
    return true;
}

bool mtimeMatches(const QString& text, qint64 mtime) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (ok)
        return value == mtime;
    // Some writers store fractional seconds.
    const double fractional = text.toDouble(&ok);
    return ok && qint64(fractional) == mtime;
}

bool matches(const QString& uri, const QString& mtime, const Fingerprint& fingerprint) {
    return uri == fingerprint.uri && mtimeMatches(mtime, fingerprint.mtime);
}

// An entry no larger than its folder's box, with its text keys. Qt's
// header-only text() splits keys at ':', so the keys are read with the
// pixels (a 1024-pixel PNG at most). Entries in the layout this cache
// writes (and most others) take the fast decoder; the rest Qt's reader.
QImage readEntry(const QString& file, int maxSide) {
    QFile entry(file);
    if (!entry.open(QIODevice::ReadOnly) || entry.size() > kMaxEntryBytes)
        return QImage();
    const QByteArray bytes = entry.readAll();
    const QImage fast =
        ThumbnailPng::decode(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       std::size_t(bytes.size())),
                             maxSide);
    if (!fast.isNull())
        return fast;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, QByteArrayLiteral("png"));
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxSide || size.height() > maxSide)
        return QImage();
    return reader.read();
}

bool entryMatches(const QImage& entry, const Fingerprint& fingerprint) {
    return !entry.isNull() && matches(entry.text(kUriKey), entry.text(kMTimeKey), fingerprint);
}

QString md5Name(const QString& uri) {
    return QString::fromLatin1(
               QCryptographicHash::hash(uri.toLatin1(), QCryptographicHash::Md5).toHex()) +
           QLatin1String(".png");
}

// Missing folders on the way are made private, as the cache asks.
bool ensureFolder(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder && !ensureFolder(parent))
        return false;
    return QDir().mkdir(folder, kFolderMode) || QFileInfo(folder).isDir();
}

// Another reader never sees a half-written file: a private temporary file
// in the same folder, renamed over the entry.
bool writeAtomically(const QString& target, const QImage& image) {
    const QString folder = QFileInfo(target).path();
    if (!ensureFolder(folder))
        return false;
    QTemporaryFile temporary(folder + QLatin1String("/.pixhaul-XXXXXX.png"));
    if (!temporary.open() || !temporary.setPermissions(kFileMode))
        return false;
    ThumbnailPng::TextChunks texts;
    for (const QString& key : image.textKeys())
        texts.append({key.toLatin1(), image.text(key).toLatin1()});
    const QByteArray png = ThumbnailPng::encode(image, texts);
    if (png.isEmpty() || temporary.write(png) != png.size() || !temporary.flush())
        return false;
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

} // namespace

ThumbnailCache::ThumbnailCache()
    : m_root(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
             QLatin1String("/thumbnails")) {}

ThumbnailCache::ThumbnailCache(const QString& root)
    : m_root(QDir::cleanPath(root)) {}

QString ThumbnailCache::uriForPath(const QString& path) {
    const QByteArray bytes =
        NativePath::encode(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    // Everything but the unreserved characters and "/", in upper-case hex.
    return QLatin1String("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

QString ThumbnailCache::sizeFolderFor(int pixels) {
    for (const SizeFolder& folder : kSizeFolders) {
        if (folder.pixels >= pixels)
            return folder.name;
    }
    return std::prev(std::end(kSizeFolders))->name;
}

int ThumbnailCache::pixelsOfSizeFolder(const QString& folder) {
    for (const SizeFolder& size : kSizeFolders) {
        if (folder == size.name)
            return size.pixels;
    }
    return 0;
}

QString ThumbnailCache::thumbnailPath(const QString& path, const QString& sizeFolder) const {
    return m_root + QLatin1Char('/') + sizeFolder + QLatin1Char('/') + md5Name(uriForPath(path));
}

QImage ThumbnailCache::read(const QString& path, int pixels) const {
    Fingerprint fingerprint;
    if (isInsideCache(path) || !fingerprintOf(path, &fingerprint))
        return QImage();
    const QString wanted = sizeFolderFor(pixels);
    const auto first =
        std::find_if(std::begin(kSizeFolders), std::end(kSizeFolders),
                     [&](const SizeFolder& folder) { return folder.name == wanted; });
    const QString name = md5Name(fingerprint.uri);
    for (auto folder = first; folder != std::end(kSizeFolders); ++folder) {
        const QImage entry = readEntry(
            m_root + QLatin1Char('/') + folder->name + QLatin1Char('/') + name, folder->pixels);
        if (entryMatches(entry, fingerprint))
            return entry;
    }
    return QImage();
}

bool ThumbnailCache::write(const QString& path, const QImage& thumbnail, int originalWidth,
                           int originalHeight) const {
    Fingerprint fingerprint;
    if (thumbnail.isNull() || isInsideCache(path) || !fingerprintOf(path, &fingerprint))
        return false;
    // The largest folder the picture fills; a smaller one goes to the first.
    const int longer = std::max(thumbnail.width(), thumbnail.height());
    SizeFolder folder = kSizeFolders[0];
    for (const SizeFolder& candidate : kSizeFolders) {
        if (candidate.pixels <= longer)
            folder = candidate;
    }
    const QString target = thumbnailPath(path, folder.name);
    // A smaller request served by the EXIF thumbnail comes back here on
    // every visit; the entry on disk is as good.
    if (entryMatches(readEntry(target, folder.pixels), fingerprint))
        return true;

    QImage image = ThumbnailMaker::scaledToFit(thumbnail, folder.pixels)
                       .convertToFormat(thumbnail.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                    : QImage::Format_RGB32);
    static const QMimeDatabase mimeDatabase;
    image.setText(kUriKey, fingerprint.uri);
    image.setText(kMTimeKey, QString::number(fingerprint.mtime));
    image.setText(QStringLiteral("Thumb::Size"), QString::number(fingerprint.size));
    image.setText(QStringLiteral("Thumb::Mimetype"), mimeDatabase.mimeTypeForFile(path).name());
    if (originalWidth > 0 && originalHeight > 0) {
        image.setText(QStringLiteral("Thumb::Image::Width"), QString::number(originalWidth));
        image.setText(QStringLiteral("Thumb::Image::Height"), QString::number(originalHeight));
    }
    image.setText(QStringLiteral("Software"), kSoftware);
    return writeAtomically(target, image);
}

bool ThumbnailCache::hasFailed(const QString& path) const {
    Fingerprint fingerprint;
    if (isInsideCache(path) || !fingerprintOf(path, &fingerprint))
        return false;
    return entryMatches(readEntry(m_root + QLatin1Char('/') + kFailFolder + QLatin1Char('/') +
                                      md5Name(fingerprint.uri),
                                  1),
                        fingerprint);
}

void ThumbnailCache::recordFailure(const QString& path) const {
    Fingerprint fingerprint;
    if (isInsideCache(path) || !fingerprintOf(path, &fingerprint))
        return;
    QImage empty(1, 1, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    empty.setText(kUriKey, fingerprint.uri);
    empty.setText(kMTimeKey, QString::number(fingerprint.mtime));
    empty.setText(QStringLiteral("Software"), kSoftware);
    writeAtomically(m_root + QLatin1Char('/') + kFailFolder + QLatin1Char('/') +
                        md5Name(fingerprint.uri),
                    empty);
}

bool ThumbnailCache::isInsideCache(const QString& path) const {
    const auto inside = [](const QString& candidate, const QString& root) {
        return !candidate.isEmpty() && !root.isEmpty() &&
               (candidate == root || candidate.startsWith(root + QLatin1Char('/')));
    };
    const QFileInfo info(path);
    if (inside(QDir::cleanPath(info.absoluteFilePath()), QDir::cleanPath(m_root)))
        return true;
    // The same folder reached through a symbolic link.
    return inside(info.canonicalFilePath(), QFileInfo(m_root).canonicalFilePath());
}
