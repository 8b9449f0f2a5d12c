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
    , m_ui(std::make_unique<Ui::GeneralPreferences>())
    , m_login(launcherIdentifier, launcherCommand()) {
    m_ui->setupUi(this);
    m_ui->jpegQuality->setValue(JpegCompression::qualityFromSetting(
        UserDefaults::standardUserDefaults().doubleForKey(SettingsKeys::jpeg_compression)));
    connect(m_ui->autoTransfer, &QCheckBox::toggled, this,
            &GeneralPreferencesController::onAutoTransfer);
    connect(m_ui->jpegQuality, &QSpinBox::valueChanged, this, [](int quality) {
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
    m_login.setStartAtLogin(checked);
}

void GeneralPreferencesController::showEvent(QShowEvent* event) {
    // Always the real state of the autostart entry, never a remembered one.
    const QSignalBlocker blocker(m_ui->autoTransfer);
    m_ui->autoTransfer->setChecked(m_login.startAtLogin());
    QWidget::showEvent(event);
}
