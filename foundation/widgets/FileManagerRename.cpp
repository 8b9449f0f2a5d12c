// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileManagerRename.h"

#include "AlertSheet.h"
#include "Localization.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

void showAlert(QWidget* window, const QString& title) {
    if (!window)
        return;
    ESSBeginAlertSheet(title, Localization::localizedString("OK"), QString(), QString(), window,
                       nullptr, nullptr, nullptr, QString());
}

} // namespace

int FileManagerRename::tryRenameFile(const QString& path, const QString& newName, QWidget* window) {
    if (newName.contains(QLatin1Char(':')) || newName.contains(QLatin1Char('/'))) {
        showAlert(window, Localization::localizedString("CREATE_FOLDER_INVALID"));
        return RenameInvalidName;
    }
    const QString newPath = QFileInfo(path).absolutePath() + QLatin1Char('/') + newName;
    struct stat existing {};
    if (::lstat(QFile::encodeName(newPath).constData(), &existing) == 0) {
        showAlert(window, Localization::localizedString("CREATE_FOLDER_CONFLICT").arg(newName));
        return RenameConflict;
    }
    // renameat2 with RENAME_NOREPLACE: an item that appears under the new
    // name after the check above is never overwritten.
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(newPath);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return RenameDone;
    // File systems without the flag: the check above has to do.
    if (errno == EINVAL && ::rename(from.constData(), to.constData()) == 0)
        return RenameDone;
    return RenameFailed;
}
