// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Copies and moves of files and folders that never lose what was there:
// the new item is made complete under a hidden temporary name beside the
// destination and then takes its place. A file replaces a file atomically;
// an old folder (or an old item of another kind) goes to the Trash only
// once the new one is complete. A failure leaves the destination as it was
// and removes what was made. A move across file systems removes the source
// only after its copy is complete. Any thread; blocking.
class ItemReplacement {
public:
    // Puts a copy of `source` at `destination`.
    static bool copyItem(const QString& source, const QString& destination);
    // Moves `source` to `destination`.
    static bool moveItem(const QString& source, const QString& destination);

    // A byte copy of a file or a whole folder tree (links copied as links)
    // at `destination`, which must not exist. Nothing is left on failure.
    static bool copyTree(const QString& source, const QString& destination);

private:
    static bool transfer(const QString& source, const QString& destination, bool move);
    // Puts the complete `staged` item in place of `destination`.
    static bool install(const QString& staged, const QString& destination);
};
