// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-import: brings the files of a camera card or folder into dated
// folders with the same engine as the transfer window.
#include "ImportCommand.h"
#include "ImportOptions.h"
#include "InterruptGuard.h"

#include "MemoryPolicy.h"
#include "UserDefaults.h"
#include "settings/SettingsDefaults.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // The local time zone read once: without TZ, the C library checks
    // /etc/localtime at every local-time conversion, a few per file.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    MemoryPolicy::returnLargeBlocksPromptly();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixhaul-import"));
    InterruptGuard interruptGuard;

    QString error;
    const std::optional<ImportOptions> options =
        ImportOptions::parse(QCoreApplication::arguments().mid(1), error);
    if (!options) {
        std::fprintf(stderr, "pixhaul-import: %s\n\n%s", error.toLocal8Bit().constData(),
                     ImportOptions::usage().toLocal8Bit().constData());
        return ImportCommand::UsageError;
    }
    if (options->help) {
        std::fputs(ImportOptions::usage().toLocal8Bit().constData(), stdout);
        return ImportCommand::Success;
    }
    UserDefaults& settings = UserDefaults::standardUserDefaults();
    SettingsDefaults::registerDefaults(settings);
    const int status = ImportCommand(*options, settings).execute();
    settings.synchronize();
    return status;
}
