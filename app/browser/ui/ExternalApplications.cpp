// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExternalApplications.h"

#include "DesktopEntries.h"
#include "SystemUtils.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <optional>

namespace {

QString firstInstalled(const QStringList& identifiers) {
    for (const QString& identifier : identifiers) {
        const QString entry = SystemUtils::bundlePathForIdentifier(identifier);
        if (!entry.isEmpty())
            return entry;
    }
    return {};
}

// The Exec value split into arguments: double quotes group, a backslash
// inside them escapes the next character.
std::optional<QStringList> splitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            quoted = started = true;
        } else if (c.isSpace()) {
            if (started)
                arguments.append(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (started)
        arguments.append(current);
    return arguments;
}

QString fileUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

bool hasExecutable(const char* name) {
    return !QStandardPaths::findExecutable(QLatin1String(name)).isEmpty();
}

void setXfcePicture(const QString& path) {
    // Every monitor's and workspace's "last-image" property.
    auto* list = new QProcess(qApp);
    QObject::connect(list, &QProcess::finished, list, [list, path](int exitCode) {
        list->deleteLater();
        if (exitCode != 0)
            return;
        const QStringList properties =
            QString::fromLocal8Bit(list->readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString& property : properties) {
            if (property.trimmed().endsWith(QLatin1String("/last-image")))
                QProcess::startDetached(QStringLiteral("xfconf-query"),
                                        {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"),
                                         QStringLiteral("-p"), property.trimmed(),
                                         QStringLiteral("-s"), path});
        }
    });
    list->start(QStringLiteral("xfconf-query"),
                {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")});
}

void setPlasmaPicture(const QString& path) {
    // The URL goes into the script as a JSON string literal, quoted whole.
    const QByteArray literal =
        QJsonDocument(QJsonArray{fileUrl(path)}).toJson(QJsonDocument::Compact);
    const QString script =
        QStringLiteral("var url = %1[0];\n"
                       "desktops().forEach(function (d) {\n"
                       "  d.wallpaperPlugin = 'org.kde.image';\n"
                       "  d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
                       "  d.writeConfig('Image', url);\n"
                       "});\n")
            .arg(QString::fromUtf8(literal));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    QDBusConnection::sessionBus().asyncCall(call);
}

} // namespace

QString ExternalApplications::imageEditorEntry() {
    return firstInstalled({QStringLiteral("org.gimp.GIMP"), QStringLiteral("gimp")});
}

QString ExternalApplications::photoLibraryEntry() {
    return firstInstalled({QStringLiteral("org.gnome.Shotwell"), QStringLiteral("shotwell"),
                           QStringLiteral("org.kde.digikam"), QStringLiteral("digikam")});
}

QString ExternalApplications::displayName(const QString& desktopEntryPath) {
    if (desktopEntryPath.isEmpty())
        return {};
    const QLocale locale;
    for (const QString& key :
         {QStringLiteral("Name[%1]").arg(locale.name()),
          QStringLiteral("Name[%1]").arg(locale.name().section(QLatin1Char('_'), 0, 0)),
          QStringLiteral("Name")}) {
        const QString name = DesktopEntries::value(desktopEntryPath, key);
        if (!name.isEmpty())
            return name;
    }
    return QFileInfo(desktopEntryPath).completeBaseName();
}

QList<QStringList> ExternalApplications::execCommandLines(const QString& exec,
                                                          const QStringList& files) {
    const std::optional<QStringList> arguments = splitExec(exec);
    if (!arguments || arguments->isEmpty())
        return {};
    bool perFile = false;
    bool takesFiles = false;
    for (const QString& argument : *arguments) {
        if (argument == QLatin1String("%f") || argument == QLatin1String("%u"))
            perFile = takesFiles = true;
        if (argument == QLatin1String("%F") || argument == QLatin1String("%U"))
            takesFiles = true;
    }
    // One command line for `batch` (the files of one start).
    const auto commandLine = [&](const QStringList& batch) {
        QStringList line;
        for (const QString& argument : *arguments) {
            if (argument == QLatin1String("%f") || argument == QLatin1String("%F")) {
                line += batch;
            } else if (argument == QLatin1String("%u") || argument == QLatin1String("%U")) {
                for (const QString& file : batch)
                    line.append(fileUrl(file));
            } else if (argument.size() == 2 && argument.startsWith(QLatin1Char('%'))) {
                continue; // %i, %c, %k and the deprecated codes
            } else {
                line.append(QString(argument).replace(QLatin1String("%%"), QLatin1String("%")));
            }
        }
        if (!takesFiles)
            line += batch;
        return line;
    };
    QList<QStringList> lines;
    if (perFile && files.size() > 1) {
        for (const QString& file : files)
            lines.append(commandLine({file}));
    } else {
        lines.append(commandLine(files));
    }
    return lines;
}

bool ExternalApplications::openWithEntry(const QString& desktopEntryPath,
                                         const QStringList& files) {
    if (desktopEntryPath.isEmpty())
        return false;
    const QString exec = DesktopEntries::value(desktopEntryPath, QStringLiteral("Exec"));
    const QList<QStringList> lines = execCommandLines(exec, files);
    bool started = !lines.isEmpty();
    for (const QStringList& line : lines)
        started = QProcess::startDetached(line.first(), line.mid(1)) && started;
    return started;
}

ExternalApplications::Desktop ExternalApplications::pictureDesktop() {
    static const Desktop desktop = [] {
        const QString current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        if (bus && bus->isServiceRegistered(QStringLiteral("org.kde.plasmashell")))
            return Desktop::Plasma;
        if (current.contains(QLatin1String("XFCE")) && hasExecutable("xfconf-query"))
            return Desktop::Xfce;
        if ((current.contains(QLatin1String("GNOME")) || current.contains(QLatin1String("UNITY")) ||
             current.contains(QLatin1String("BUDGIE"))) &&
            hasExecutable("gsettings"))
            return Desktop::Gnome;
        return Desktop::None;
    }();
    return desktop;
}

bool ExternalApplications::setDesktopPicture(const QString& path) {
    switch (pictureDesktop()) {
    case Desktop::Gnome:
        for (const char* key : {"picture-uri", "picture-uri-dark"})
            QProcess::startDetached(QStringLiteral("gsettings"),
                                    {QStringLiteral("set"),
                                     QStringLiteral("org.gnome.desktop.background"),
                                     QLatin1String(key), fileUrl(path)});
        return true;
    case Desktop::Plasma:
        setPlasmaPicture(path);
        return true;
    case Desktop::Xfce:
        setXfcePicture(path);
        return true;
    case Desktop::None:
        break;
    }
    return false;
}
