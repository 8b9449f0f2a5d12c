// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportRecord.h"

#include <QList>
#include <QString>

#include <functional>

// The records of one transfer run, each appended to a journal file beside
// the import history as soon as its file has arrived (one write each, no
// flush: a killed process loses nothing it wrote). The run commits them to
// the history in one transaction at its end and discards the journal; a
// journal left behind by a killed run is committed by whoever opens the
// history next, so the files that had arrived stay remembered. A living
// run holds its journal locked (flock), which tells it from an abandoned
// one. One thread at a time (the run's).
class ImportJournal {
public:
    // A new journal in `folder` (made when missing).
    explicit ImportJournal(const QString& folder);
    ~ImportJournal();
    ImportJournal(const ImportJournal&) = delete;
    ImportJournal& operator=(const ImportJournal&) = delete;

    // False when no journal file could be made; records are still kept
    // in memory for the commit at the end.
    bool isValid() const { return m_descriptor >= 0; }
    void append(const ImportRecord& record);
    // Several at once, in one write (a batch's).
    void append(const QList<ImportRecord>& records);
    const QList<ImportRecord>& records() const { return m_records; }
    // Removes the journal, once its records are in the history.
    void discard();

    // Hands the records of every journal in `folder` that no living run
    // holds to `commit`, and removes each journal `commit` took. Returns how
    // many were taken.
    static int recoverAbandoned(const QString& folder,
                                const std::function<bool(const QList<ImportRecord>&)>& commit);

private:
    QString m_path;
    int m_descriptor = -1;
    QList<ImportRecord> m_records;
};
