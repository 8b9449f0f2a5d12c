// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/AppDelegate.h"
#include "shell/ApplicationBusService.h"

#include "Localization.h"
#include "MemoryPolicy.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QUrl>

namespace {

// Files, folders and file URLs given on the command line or by the desktop
// (the desktop entry passes %U); options start with '-'.
QStringList handedPaths(const QStringList& arguments) {
    QStringList paths;
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(QLatin1Char('-')))
            continue;
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        paths.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    }
    return paths;
}

} // namespace

int main(int argc, char* argv[]) {
    MemoryPolicy::returnLargeBlocksPromptly();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pixhaul"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pixhaul"));
    QApplication::setOrganizationDomain(QStringLiteral("zentrovo.com"));
    QApplication::setApplicationVersion(QStringLiteral(PIXHAUL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.zentrovo.pixhaul"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pixhaul"),
                                                 QIcon::fromTheme(QStringLiteral("camera-photo"))));
    Localization::installTranslations();

    const QStringList arguments = QApplication::arguments();
    const QStringList paths = handedPaths(arguments);
    AppDelegate delegate(arguments);
    // Listen for the launcher before taking the bus name it waits for.
    delegate.awakeFromNib();
    if (!delegate.becomePrimaryInstance() && !arguments.contains(QStringLiteral("-transfer")) &&
        ApplicationBusService::forwardToPrimaryInstance(paths))
        return 0; // the running Pixhaul took the request over

    if (!paths.isEmpty())
        delegate.openFiles(paths);
    delegate.applicationDidFinishLaunching();
    const int status = QApplication::exec();
    delegate.applicationWillTerminate();
    return status;
}
