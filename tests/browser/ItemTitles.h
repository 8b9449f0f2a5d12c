// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserItem.h"

#include <QStringList>

// The titles of `items`, in order.
inline QStringList titles(const QList<BrowserItemPtr>& items) {
    QStringList list;
    for (const BrowserItemPtr& item : items)
        list.append(item->title());
    return list;
}
