// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class GLImageLoader;
class ImageLoader;

// The viewer's list of pictures and its position in it, with three loaders
// kept reading or read: the previous, current and next pictures (the list
// wraps at both ends). Stepping one picture reuses the neighbour's loader
// and starts one new read; the controller shows the new current picture at
// once if its loader is ready, otherwise on currentReady().
//
// Loaders come from the factory, so tests need no view. Replaced loaders
// are deleted later, never inside their own signals. Main thread only.
class ViewerPlaylist : public QObject {
    Q_OBJECT
public:
    using LoaderFactory = std::function<std::unique_ptr<GLImageLoader>(const QString& path)>;

    explicit ViewerPlaylist(LoaderFactory factory, QObject* parent = nullptr);
    ~ViewerPlaylist() override;

    // Shows `paths` from `index` (brought into the list): loaders for the
    // current, next and previous pictures, in that order. An empty list
    // leaves no loaders.
    void start(const QStringList& paths, qsizetype index);
    // Forgets the list and drops the loaders.
    void clear();

    const QStringList& files() const { return m_files; }
    qsizetype index() const { return m_index; }
    bool isEmpty() const { return m_files.isEmpty(); }

    qsizetype nextIndex() const { return nextIndex(m_index); }
    qsizetype nextIndex(qsizetype i) const;
    qsizetype prevIndex() const { return prevIndex(m_index); }
    qsizetype prevIndex(qsizetype i) const;

    // One picture on: the current loader becomes the previous one, the next
    // one current, and the picture after it starts loading.
    void nextImage();
    // One picture back, the same way round.
    void prevImage();
    // To either end of the list, with three new loaders.
    void firstImage();
    void lastImage();
    // Reads the current file again (after it changed on disk).
    void reloadCurrent();
    // Takes the current file out of the list (every entry of it): the next
    // picture becomes current at the same index, or at 0 when the file was
    // the last one. False when the list is now empty.
    bool removeCurrent();

    GLImageLoader* previousLoader() const { return m_prev; }
    GLImageLoader* currentLoader() const { return m_curr; }
    GLImageLoader* nextLoader() const { return m_next; }

signals:
    // The current loader has become ready after the step that made it
    // current; a loader ready at that time reports nothing.
    void currentReady();
    // The current file could not be read; the previous picture stays.
    void currentFailed();

private:
    GLImageLoader* makeLoader(qsizetype index);
    void loadAll();
    void retire(GLImageLoader*& loader);
    void loaderReady(ImageLoader* loader);

    LoaderFactory m_factory;
    QStringList m_files;
    qsizetype m_index = 0;
    // Children of the playlist.
    GLImageLoader* m_prev = nullptr;
    GLImageLoader* m_curr = nullptr;
    GLImageLoader* m_next = nullptr;
};
