// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLoginController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

StartAtLoginController::StartAtLoginController(const QString& identifier, const QString& command)
    : m_programIdentifier(identifier)
    , m_execCommand(command) {}

QString StartAtLoginController::entryPath() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/autostart/") + m_programIdentifier + QLatin1String(".desktop");
}

bool StartAtLoginController::startAtLogin() const {
    const QString path = entryPath();
    if (!QFileInfo::exists(path))
        return false;
    // Desktop environments honour both ways of switching an entry off.
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    const bool hidden = entry.value(QStringLiteral("Hidden"), false).toBool();
    const bool enabledFlag =
        entry.value(QStringLiteral("X-GNOME-Autostart-enabled"), true).toBool();
    return !hidden && enabledFlag;
}

bool StartAtLoginController::setStartAtLogin(bool start) {
    const QString path = entryPath();
    if (!start)
        return !QFileInfo::exists(path) || QFile::remove(path);

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Pixhaul camera watcher\n"
                       "Comment=Offers to import photos when a camera card appears\n"
                       "Exec=%1\n"
                       "Icon=pixhaul\n"
                       "Terminal=false\n"
                       "NoDisplay=true\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(m_execCommand);
    file.write(text.toUtf8());
    return file.commit();
}
