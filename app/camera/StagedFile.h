// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A file that is written under a hidden, exclusively created temporary name
// in its destination's own folder and only then published under its final
// name by an atomic rename. Until publish() succeeds nothing stands under
// the final name; the destructor removes an unpublished temporary file.
// While it exists the temporary file is locked (flock), which tells it from
// one abandoned by a killed process. Used on one thread at a time (the
// transfer worker).
class StagedFile {
public:
    explicit StagedFile(const QString& destination);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // False when no temporary file could be made beside the destination
    // (missing or read-only folder).
    bool isValid() const { return !m_temporary.isEmpty(); }
    QString temporaryPath() const { return m_temporary; }
    // The temporary file, open for writing its contents (from its start);
    // -1 once published (and closed then) or when none could be made.
    int descriptor() const { return m_descriptor; }
    QString destinationPath() const { return m_destination; }

    // Renames the temporary file to the destination: over an existing file
    // only with `replaceExisting`; otherwise an existing file wins and the
    // publication fails.
    bool publish(bool replaceExisting);

    // Atomic rename of `from` to `to` on one file system. Without
    // `replaceExisting` an existing `to` is never overwritten, even when it
    // appears at the last moment (renameat2 RENAME_NOREPLACE; on file systems
    // without it a hard link, and as a last resort a checked rename).
    static bool renameInto(const QString& from, const QString& to, bool replaceExisting);

    // Flushes the folder holding `path`, so a rename into it survives a crash.
    static bool syncFolderOf(const QString& path);

    // Removes from `folder` the temporary files this program staged there
    // and left behind when it was killed: hidden, named by this process's
    // temporary naming, and locked by no living stage. Returns how many.
    static int removeAbandonedIn(const QString& folder);
    // The same among `names`, the folder's entries as listed by the caller.
    static int removeAbandonedAmong(const QString& folder, const QStringList& names);

private:
    QString m_destination;
    QString m_temporary;
    int m_descriptor = -1;
};
