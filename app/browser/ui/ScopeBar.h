// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserFilter.h"

#include <QWidget>

class QToolButton;

// The browser's view options: "Sort By:" Filename or Date (one choice) and
// "Kind:" Folders, Images, Movies (any choice), as a row of checkable tool
// buttons. Main thread.
class ScopeBar : public QWidget {
    Q_OBJECT
public:
    explicit ScopeBar(QWidget* parent = nullptr);

    BrowserFilter filter() const;
    // Shows `filter` without reporting a change.
    void setFilter(const BrowserFilter& filter);

signals:
    // The user changed an item's state.
    void filterChanged(const BrowserFilter& filter);

private:
    QToolButton* addItem(const QString& identifier, const char* nameKey, const QIcon& icon);

    QToolButton* m_sortName = nullptr;
    QToolButton* m_sortDate = nullptr;
    QToolButton* m_showFolders = nullptr;
    QToolButton* m_showImages = nullptr;
    QToolButton* m_showMovies = nullptr;
};
