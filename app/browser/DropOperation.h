// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// One planned drop of files and folders into a folder, kept until it is
// carried out or abandoned: copy or move, and where each item goes. Items
// already in that folder are left out; a folder dropped into itself or one
// of its own sub-folders makes the whole drop refused. Any thread.
class DropOperation {
public:
    // The drag operation values of copy and move.
    static constexpr quint64 kCopy = 1;
    static constexpr quint64 kMove = 16;

    DropOperation() = default;
    explicit DropOperation(quint64 operation);

    // Plans dropping `sources` into `folder`.
    static DropOperation plan(const QStringList& sources, const QString& folder, quint64 operation);

    quint64 operation() const { return m_operation; }
    bool isMove() const { return m_operation == kMove; }
    // Source path and destination path, in the order dropped.
    const QList<std::pair<QString, QString>>& targets() const { return m_targets; }
    QStringList sources() const;
    QString destinationFor(const QString& source) const;
    // Whether a destination exists already (the drop asks once).
    bool hasConflict() const { return !m_conflicts.isEmpty(); }
    const QStringList& conflicts() const { return m_conflicts; }
    // The folders that would have gone into themselves; non-empty means
    // nothing may be copied or moved.
    const QStringList& refused() const { return m_refused; }
    bool isRefused() const { return !m_refused.isEmpty(); }

    // Whether `folder` is `source` or lies inside it.
    static bool isInside(const QString& folder, const QString& source);

private:
    quint64 m_operation = kMove;
    QList<std::pair<QString, QString>> m_targets;
    QStringList m_conflicts;
    QStringList m_refused;
};
