// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasteboardUtils.h"

#include "MultiResolutionImage.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

namespace {

QClipboard* clipboardOrDefault(QClipboard* clipboard) {
    return clipboard ? clipboard : QGuiApplication::clipboard();
}

} // namespace

QList<QUrl> PasteboardUtils::fileUrls(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) {
        if (!path.isEmpty() && QFileInfo::exists(path))
            urls.append(QUrl::fromLocalFile(path));
    }
    return urls;
}

QStringList PasteboardUtils::getFilenames(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

QStringList PasteboardUtils::getFilenames(QClipboard* clipboard) {
    return getFilenames(clipboardOrDefault(clipboard)->mimeData());
}

int PasteboardUtils::putFilenames(const QStringList& paths, QClipboard* clipboard) {
    if (paths.isEmpty())
        return 0;
    QClipboard* board = clipboardOrDefault(clipboard);
    const QList<QUrl> urls = fileUrls(paths);
    board->clear();
    if (urls.isEmpty())
        return 0;
    auto* data = new QMimeData;
    data->setUrls(urls);
    board->setMimeData(data);
    return static_cast<int>(urls.size());
}

bool PasteboardUtils::putImageContent(const QString& path, QClipboard* clipboard) {
    const QImage picture = MultiResolutionImage::fromFile(path).largestRepresentation();
    if (picture.isNull())
        return false;
    auto* data = new QMimeData;
    data->setImageData(picture);
    QByteArray tiff;
    QBuffer buffer(&tiff);
    if (buffer.open(QIODevice::WriteOnly) && QImageWriter(&buffer, "tiff").write(picture))
        data->setData(QStringLiteral("image/tiff"), tiff);
    QClipboard* board = clipboardOrDefault(clipboard);
    board->clear();
    board->setMimeData(data);
    return true;
}
