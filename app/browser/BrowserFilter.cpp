// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserFilter.h"

#include <algorithm>

bool BrowserFilter::accepts(const BrowserItem& item) const {
    switch (item.type()) {
    case BrowserItemTypeFolder:
        return showFolders;
    case BrowserItemTypeImage:
        return showImages;
    case BrowserItemTypeMovie:
        return showMovies;
    }
    return false;
}

bool BrowserFilter::lessThan(const BrowserItem& a, const BrowserItem& b) const {
    const bool aFolder = a.type() == BrowserItemTypeFolder;
    const bool bFolder = b.type() == BrowserItemTypeFolder;
    if (aFolder != bFolder)
        return aFolder;
    if (!aFolder && sortOrder == 0 && a.creationDate() != b.creationDate())
        return a.creationDate() < b.creationDate();
    // QString's operator< compares UTF-16 code units: no locale, upper case first.
    return a.title() < b.title();
}

QList<BrowserItemPtr> BrowserFilter::apply(const QList<BrowserItemPtr>& items) const {
    QList<BrowserItemPtr> accepted;
    accepted.reserve(items.size());
    for (const BrowserItemPtr& item : items) {
        if (item && accepts(*item))
            accepted.append(item);
    }
    std::stable_sort(
        accepted.begin(), accepted.end(),
        [this](const BrowserItemPtr& a, const BrowserItemPtr& b) { return lessThan(*a, *b); });
    return accepted;
}

QList<BrowserItemPtr> BrowserFilter::merged(const QList<BrowserItemPtr>& sorted,
                                            const QList<BrowserItemPtr>& later) const {
    const QList<BrowserItemPtr> added = apply(later);
    QList<BrowserItemPtr> all;
    all.reserve(sorted.size() + added.size());
    // Ties keep the earlier listed first, as the stable sort does.
    std::merge(
        sorted.begin(), sorted.end(), added.begin(), added.end(), std::back_inserter(all),
        [this](const BrowserItemPtr& a, const BrowserItemPtr& b) { return lessThan(*a, *b); });
    return all;
}
