// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserHistory.h"

void BrowserHistory::recordOpen(const QString& current, const QString& target, int mode) {
    // Going back pushed `current` onto the forward history already.
    if (target != current && mode != 2 && !current.isEmpty())
        m_visitedPaths.append(current);
    if (mode != 2 && mode != 3)
        m_undonePaths.clear();
}

QString BrowserHistory::back(const QString& current) {
    if (m_visitedPaths.isEmpty())
        return {};
    const QString previous = m_visitedPaths.takeLast();
    if (!current.isEmpty())
        m_undonePaths.append(current);
    return previous;
}

QString BrowserHistory::forward() {
    if (m_undonePaths.isEmpty())
        return {};
    return m_undonePaths.takeLast();
}
