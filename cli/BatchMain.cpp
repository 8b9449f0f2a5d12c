// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-batch: resizes and converts pictures with the same engine as the
// batch window.
#include "BatchCommand.h"
#include "BatchCommandOptions.h"
#include "InterruptGuard.h"

#include "DecodeLimits.h"
#include "UserDefaults.h"
#include "settings/SettingsDefaults.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixhaul-batch"));
    InterruptGuard interruptGuard;
    DecodeLimits::allowLargePhotographs();

    QString error;
    const std::optional<BatchCommandOptions> options =
        BatchCommandOptions::parse(QCoreApplication::arguments().mid(1), error);
    if (!options) {
        std::fprintf(stderr, "pixhaul-batch: %s\n\n%s", error.toLocal8Bit().constData(),
                     BatchCommandOptions::usage().toLocal8Bit().constData());
        return BatchCommand::UsageError;
    }
    if (options->help) {
        std::fputs(BatchCommandOptions::usage().toLocal8Bit().constData(), stdout);
        return BatchCommand::Success;
    }
    UserDefaults& settings = UserDefaults::standardUserDefaults();
    SettingsDefaults::registerDefaults(settings);
    return BatchCommand(*options, settings).execute();
}
