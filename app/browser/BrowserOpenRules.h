// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"

#include <QList>
#include <QStringList>

// What opening the browser's items means, decided from the selection and
// the grid's items alone: the Return key, the viewer's list and starting
// picture, and the entries of the grid's menu for selected items. Pure;
// any thread.
class BrowserOpenRules {
public:
    // What the selection holds.
    struct Kinds {
        int count = 0;
        bool folder = false;
        bool image = false;
        bool movie = false;

        // Images only (at least one), no folder, no movie.
        bool imagesOnly() const { return image && !folder && !movie; }
    };
    static Kinds kindsOf(const QList<BrowserItemPtr>& selection);

    enum class EnterAction {
        Nothing,
        OpenItem,   // the one selected item
        Fullscreen, // the selection in the viewer
    };
    static EnterAction enterAction(const QList<BrowserItemPtr>& selection);

    // The viewer's list and where it starts.
    struct ViewerStart {
        QStringList paths;
        int startIndex = 0;
        // The picture whose thumbnail the viewer opens from; null when the
        // viewer starts without one.
        BrowserItemPtr startItem;
    };
    // With `fromSelection` and a selection other than one item: exactly the
    // selected paths from the first. Otherwise every image of the grid
    // (folders and movies left out) from the starting item, which is the
    // one selected item (with `fromSelection`) or `item`.
    static ViewerStart viewerStart(bool fromSelection, const BrowserItemPtr& item,
                                   const QList<BrowserItemPtr>& selection,
                                   const QList<BrowserItemPtr>& browserItems);

    // The grid's menu for a non-empty selection, before "Move to Trash".
    enum class MenuEntry {
        OpenFolder,    // "Open"
        ViewImage,     // "View", one image
        OpenMovie,     // "Open with %@"
        ViewSelection, // "View", several images
        QuickLook,     // "Quick Look"
        EditWith,      // "Edit with %@"
        AddToLibrary,  // "Add to %@"
    };
    static QList<MenuEntry> menuEntries(const QList<BrowserItemPtr>& selection,
                                        bool editorInstalled, bool libraryInstalled);
};
