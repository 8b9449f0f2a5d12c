// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserOpenRules.h"

BrowserOpenRules::Kinds BrowserOpenRules::kindsOf(const QList<BrowserItemPtr>& selection) {
    Kinds kinds;
    for (const BrowserItemPtr& item : selection) {
        if (!item)
            continue;
        ++kinds.count;
        kinds.folder = kinds.folder || item->type() == BrowserItemTypeFolder;
        kinds.image = kinds.image || item->type() == BrowserItemTypeImage;
        kinds.movie = kinds.movie || item->type() == BrowserItemTypeMovie;
    }
    return kinds;
}

BrowserOpenRules::EnterAction
BrowserOpenRules::enterAction(const QList<BrowserItemPtr>& selection) {
    const Kinds kinds = kindsOf(selection);
    if (kinds.count == 1)
        return EnterAction::OpenItem;
    if (kinds.imagesOnly())
        return EnterAction::Fullscreen;
    return EnterAction::Nothing;
}

BrowserOpenRules::ViewerStart
BrowserOpenRules::viewerStart(bool fromSelection, const BrowserItemPtr& item,
                              const QList<BrowserItemPtr>& selection,
                              const QList<BrowserItemPtr>& browserItems) {
    ViewerStart start;
    BrowserItemPtr startItem = item;
    if (fromSelection) {
        if (selection.size() != 1) {
            for (const BrowserItemPtr& selected : selection)
                start.paths.append(selected->path());
            return start;
        }
        startItem = selection.first();
    }
    for (const BrowserItemPtr& candidate : browserItems) {
        if (candidate->type() != BrowserItemTypeImage)
            continue;
        if (startItem && candidate->path() == startItem->path())
            start.startIndex = int(start.paths.size());
        start.paths.append(candidate->path());
    }
    start.startItem = startItem;
    return start;
}

QList<BrowserOpenRules::MenuEntry>
BrowserOpenRules::menuEntries(const QList<BrowserItemPtr>& selection, bool editorInstalled,
                              bool libraryInstalled) {
    const Kinds kinds = kindsOf(selection);
    QList<MenuEntry> entries;
    if (kinds.count == 1 && kinds.folder)
        entries.append(MenuEntry::OpenFolder);
    if (kinds.count == 1 && kinds.image)
        entries.append(MenuEntry::ViewImage);
    if (kinds.count == 1 && kinds.movie)
        entries.append(MenuEntry::OpenMovie);
    if (kinds.count > 1 && kinds.imagesOnly())
        entries.append(MenuEntry::ViewSelection);
    if (!kinds.folder && (kinds.image || kinds.movie))
        entries.append(MenuEntry::QuickLook);
    if (kinds.imagesOnly() && editorInstalled)
        entries.append(MenuEntry::EditWith);
    if (kinds.imagesOnly() && libraryInstalled)
        entries.append(MenuEntry::AddToLibrary);
    return entries;
}
