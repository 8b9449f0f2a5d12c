// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Back and forward history of the browsed folders (no size limit).
class BrowserHistory {
public:
    bool canGoBack() const { return !m_visitedPaths.isEmpty(); }
    bool canGoForward() const { return !m_undonePaths.isEmpty(); }

    // Records a navigation from `current` (empty: none) to `target` in
    // openPath mode `mode` (0 ordinary, 1 source list, 2 back, 3 forward):
    // a different target pushes `current` unless going back; modes 0 and 1
    // clear the forward history.
    void recordOpen(const QString& current, const QString& target, int mode);

    // The folder to open for back (then opened in mode 2); empty when there
    // is none. `current` goes onto the forward history.
    QString back(const QString& current);
    // The folder to open for forward (then opened in mode 3); empty when
    // there is none.
    QString forward();

    const QStringList& visitedPaths() const { return m_visitedPaths; }
    const QStringList& undonePaths() const { return m_undonePaths; }

private:
    QStringList m_visitedPaths;
    QStringList m_undonePaths;
};
