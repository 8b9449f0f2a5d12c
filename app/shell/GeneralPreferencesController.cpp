// SPDX-License-Identifier: GPL-3.0-or-later
#include "GeneralPreferencesController.h"

#include "settings/SettingsKeys.h"
#include "ui_GeneralPreferences.h"

#include "JpegCompression.h"
#include "Localization.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString launcherIdentifier = QStringLiteral("com.zentrovo.pixhaul.launcher");
}

GeneralPreferencesController::GeneralPreferencesController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::GeneralPreferences>())
    , login(launcherIdentifier, launcherCommand()) {
    ui->setupUi(this);
    ui->jpegQuality->setValue(JpegCompression::qualityFromSetting(
        UserDefaults::standardUserDefaults().doubleForKey(SettingsKeys::jpeg_compression)));
    connect(ui->autoTransfer, &QCheckBox::toggled, this,
            &GeneralPreferencesController::onAutoTransfer);
    connect(ui->jpegQuality, &QSpinBox::valueChanged, this, [](int quality) {
        // Stored as the percentage the setting has always held.
        UserDefaults::standardUserDefaults().setDouble(quality, SettingsKeys::jpeg_compression);
    });
}

GeneralPreferencesController::~GeneralPreferencesController() = default;

QIcon GeneralPreferencesController::toolbarItemImage() const {
    return QIcon::fromTheme(QStringLiteral("preferences-system"),
                            QIcon::fromTheme(QStringLiteral("preferences-other")));
}

QString GeneralPreferencesController::toolbarItemLabel() const {
    return Localization::localizedString("General");
}

QString GeneralPreferencesController::launcherCommand() {
    const QString sibling =
        QCoreApplication::applicationDirPath() + QLatin1String("/pixhaul-launcher");
    return QFileInfo(sibling).isExecutable() ? sibling : QStringLiteral("pixhaul-launcher");
}

void GeneralPreferencesController::onAutoTransfer(bool checked) {
    login.setStartAtLogin(checked);
}

void GeneralPreferencesController::showEvent(QShowEvent* event) {
    // Always the real state of the autostart entry, never a remembered one.
    const QSignalBlocker blocker(ui->autoTransfer);
    ui->autoTransfer->setChecked(login.startAtLogin());
    QWidget::showEvent(event);
}
