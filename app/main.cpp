// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SettingsDefaults.h"

#include "Localization.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pixhaul"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pixhaul"));
    QApplication::setOrganizationDomain(QStringLiteral("zentrovo.com"));
    QApplication::setApplicationVersion(QStringLiteral(PIXHAUL_VERSION));
    Localization::installTranslations();
    SettingsDefaults::registerDefaults(UserDefaults::standardUserDefaults());

    QTextStream(stderr) << Localization::localizedString("NOT_YET_AVAILABLE") << '\n';
    return 0;
}
