// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs mounted on a temporary folder for one test, unmounted when
// it goes. Mounting needs root (CAP_SYS_ADMIN): without it, isMounted() is
// false and reason() says why, for the test to skip.
class ScratchMount {
public:
    explicit ScratchMount(qint64 bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_why; }
    QString path() const { return m_folder.path(); }

    // Remounts read-only; false (with reason()) on failure.
    bool makeReadOnly();
    // Fills the file system until at most `leave` bytes remain free.
    bool fill(qint64 leave);

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_why;
};
