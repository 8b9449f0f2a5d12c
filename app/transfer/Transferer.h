// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransferAction.h"
#include "TransferTarget.h"
#include "camera/Camera.h"

#include <QList>
#include <QString>

#include <functional>

class UserDefaults;

// One planned transfer: the camera's files grouped by the local calendar day
// they were taken on (one target per day, ascending), their total size, and
// the actions built from a destination folder pattern.
//
// Pattern tokens (case-sensitive, no escapes; all else literal): %d day and
// %m month as two digits, %a abbreviated and %M full month name of the
// user's locale (capitalised per word; %a without trailing full stops),
// %y and %Y two- and four-digit year, %P the group's description
// (replaced last, so its text stays literal). A leading "~" is the home
// folder; the result is standardised as a path and loses trailing blanks.
//
// Threads: scanCamera() runs on a worker while nothing else touches the
// transferer; editing targets and getActionsFor() happen on the main thread.
class Transferer {
public:
    TransferMode mode() const { return m_transferMode; }
    void setMode(TransferMode mode) { m_transferMode = mode; }
    qint64 totalBytes() const { return m_bytesTotal; }
    void setTotalBytes(qint64 bytes) { m_bytesTotal = bytes; }
    const QList<TransferTarget>& targets() const { return m_groups; }
    QList<TransferTarget>& targets() { return m_groups; }
    void setTargets(const QList<TransferTarget>& targets) { m_groups = targets; }

    static bool cameraHasFiles(Camera& camera, bool imagesOnly);
    static QList<CameraFilePtr> getCameraFiles(Camera& camera, bool imagesOnly);

    // Asked, once a scan has listed the camera's files, which of them it
    // should fingerprint as it reads them (ImportHistory::readAheadFor()).
    using FingerprintChooser = std::function<FingerprintWanted(const QList<CameraFilePtr>& listed)>;

    // Lists pictures and movies once, asking each file's size and creation
    // date exactly once, and rebuilds targets and totalBytes.
    void scanCamera(Camera& camera, const FingerprintChooser& chooseFingerprints = {});

    // Takes the files `drop` picks out of their groups (a group left empty
    // goes), keeps totalBytes in step, and returns how many went. For
    // "only new files": drop those the import history knows.
    int removeFiles(const std::function<bool(const CameraFilePtr&)>& drop);

    // One action per file, group by group in target order; the actions read
    // their settings from `settings`, which must outlive them.
    QList<TransferActionPtr> getActionsFor(const QString& pattern, UserDefaults& settings) const;

    // The folder of `target` under `pattern`; every file of a group gets the
    // same folder, so `file` is not consulted.
    static QString calcTargetFolderForFile(const CameraFilePtr& file, const TransferTarget& target,
                                           const QString& pattern);

private:
    TransferMode m_transferMode = TransferModeCopy;
    qint64 m_bytesTotal = 0;
    QList<TransferTarget> m_groups;
};
