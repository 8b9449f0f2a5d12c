// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

// One Pixhaul per user session: the first process owns the bus name
// "com.zentrovo.pixhaul" and answers these calls; a second start hands its
// request over (a reopen, or the files it was given) and ends.
// Main thread.
class ApplicationBusService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.zentrovo.pixhaul.Application")
public:
    explicit ApplicationBusService(QObject* parent = nullptr);

    // Claims the bus name and exports this object at "/Application". False
    // when another process owns the name (or there is no session bus).
    bool registerPrimaryInstance();

    // From a second process: asks the running one to open `files`, or to
    // reopen when there are none. False when no process answered.
    static bool forwardToPrimaryInstance(const QStringList& files);

public Q_SLOTS:
    Q_SCRIPTABLE void Reopen();
    Q_SCRIPTABLE void OpenFiles(const QStringList& files);

Q_SIGNALS:
    void reopenRequested();
    void openFilesRequested(const QStringList& files);
};
