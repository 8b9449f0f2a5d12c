// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"

#include <QList>

// The kind filter and the sort order of the browser grid
// ("browser_show_folders", "browser_show_images", "browser_show_movies",
// "browser_sort_order"). A plain value; any thread.
struct BrowserFilter {
    bool showFolders = true;
    bool showImages = true;
    bool showMovies = true;
    int sortOrder = 0; // 0 by date, 1 by name

    bool accepts(const BrowserItem& item) const;

    // Folders first, by title (plain case-sensitive comparison); then media,
    // by creation date when sorting by date (equal dates fall through to
    // the titles), else by title.
    bool lessThan(const BrowserItem& a, const BrowserItem& b) const;

    // The accepted items of `items`, sorted (stable).
    QList<BrowserItemPtr> apply(const QList<BrowserItemPtr>& items) const;
    // `sorted` (already accepted and sorted) with the accepted items of
    // `later` merged in, as apply() would order them all: what a growing
    // listing costs without sorting it again.
    QList<BrowserItemPtr> merged(const QList<BrowserItemPtr>& sorted,
                                 const QList<BrowserItemPtr>& later) const;
};
