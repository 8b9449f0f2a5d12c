// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The names a run's destination folders hold: each folder is listed once,
// when the run first goes there, and what the run puts there is added. A
// name not among them was free when its folder was listed, which spares a
// look-up per file (and the folder lock it waits for while the run's own
// renames hold it). A name another program takes meanwhile still meets the
// publication's rename, which never replaces what it was not told about.
// Names compare case-folded, as on FAT and exFAT: one among them may differ
// in case only and is looked at for real. Used on the run's thread.
class DestinationNames {
public:
    // Lists the folder holding `path` the first time (a missing folder holds
    // nothing yet); the partial files a killed run left there go first.
    void visit(const QString& path);
    // False when `path`, in a visited folder, was certainly free.
    bool mayBeTaken(const QString& path) const;
    // A file the run put at `path`.
    void add(const QString& path);

private:
    QHash<QString, QSet<QString>> m_namesByFolder; // names case-folded
};
