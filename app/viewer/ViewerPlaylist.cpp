// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerPlaylist.h"

#include "GLImageLoader.h"

#include <algorithm>
#include <utility>

ViewerPlaylist::ViewerPlaylist(LoaderFactory factory, QObject* parent)
    : QObject(parent)
    , m_factory(std::move(factory)) {}

ViewerPlaylist::~ViewerPlaylist() = default;

qsizetype ViewerPlaylist::nextIndex(qsizetype i) const {
    return i < m_files.size() - 1 ? i + 1 : 0;
}

qsizetype ViewerPlaylist::prevIndex(qsizetype i) const {
    return i > 0 ? i - 1 : std::max<qsizetype>(m_files.size() - 1, 0);
}

GLImageLoader* ViewerPlaylist::makeLoader(qsizetype index) {
    GLImageLoader* loader = m_factory(m_files.at(index)).release();
    if (!loader)
        return nullptr;
    loader->setParent(this);
    connect(loader, &ImageLoader::imageReady, this, &ViewerPlaylist::loaderReady);
    connect(loader, &ImageLoader::imageError, this, [this](ImageLoader* failed) {
        if (failed == m_curr)
            emit currentFailed();
    });
    return loader;
}

void ViewerPlaylist::retire(GLImageLoader*& loader) {
    if (!loader)
        return;
    // It may be the sender of the signal being handled.
    loader->disconnect(this);
    loader->deleteLater();
    loader = nullptr;
}

void ViewerPlaylist::loaderReady(ImageLoader* loader) {
    if (loader == m_curr)
        emit currentReady();
}

void ViewerPlaylist::loadAll() {
    retire(m_curr);
    retire(m_next);
    retire(m_prev);
    if (m_files.isEmpty())
        return;
    m_curr = makeLoader(m_index);
    m_next = makeLoader(nextIndex());
    m_prev = makeLoader(prevIndex());
}

void ViewerPlaylist::start(const QStringList& paths, qsizetype index) {
    m_files = paths;
    m_index = std::clamp<qsizetype>(index, 0, std::max<qsizetype>(m_files.size() - 1, 0));
    loadAll();
}

void ViewerPlaylist::clear() {
    m_files.clear();
    m_index = 0;
    loadAll();
}

void ViewerPlaylist::nextImage() {
    if (m_files.isEmpty())
        return;
    m_index = nextIndex();
    retire(m_prev);
    m_prev = m_curr;
    m_curr = m_next;
    m_next = makeLoader(nextIndex());
}

void ViewerPlaylist::prevImage() {
    if (m_files.isEmpty())
        return;
    m_index = prevIndex();
    retire(m_next);
    m_next = m_curr;
    m_curr = m_prev;
    m_prev = makeLoader(prevIndex());
}

void ViewerPlaylist::firstImage() {
    m_index = 0;
    loadAll();
}

void ViewerPlaylist::lastImage() {
    m_index = std::max<qsizetype>(m_files.size() - 1, 0);
    loadAll();
}

void ViewerPlaylist::reloadCurrent() {
    if (m_files.isEmpty())
        return;
    retire(m_curr);
    m_curr = makeLoader(m_index);
}

bool ViewerPlaylist::removeCurrent() {
    if (m_files.isEmpty())
        return false;
    const QString removed = m_files.at(m_index);
    m_files.removeAll(removed);
    if (m_files.isEmpty()) {
        clear();
        return false;
    }
    if (m_index >= m_files.size())
        m_index = 0;
    retire(m_curr);
    m_curr = m_next;
    m_next = makeLoader(nextIndex());
    return true;
}
