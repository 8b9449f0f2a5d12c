// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerPreferencesController.h"

#include "settings/SettingsKeys.h"
#include "ui_ViewerPreferences.h"

#include "ColorUtils.h"
#include "Localization.h"
#include "UserDefaults.h"

#include <QColorDialog>
#include <QPixmap>

ViewerPreferencesController::ViewerPreferencesController(QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::ViewerPreferences>()) {
    m_ui->setupUi(this);
    UserDefaults& settings = UserDefaults::standardUserDefaults();
    showBackgroundColor();
    connect(m_ui->backgroundButton, &QPushButton::clicked, this,
            &ViewerPreferencesController::chooseBackgroundColor);

    m_ui->viewerTransition->setChecked(settings.boolForKey(SettingsKeys::viewer_transition));
    connect(m_ui->viewerTransition, &QCheckBox::toggled, this, [](bool on) {
        UserDefaults::standardUserDefaults().setBool(on, SettingsKeys::viewer_transition);
    });
    m_ui->slideshowTransition->setChecked(settings.boolForKey(SettingsKeys::slideshow_transition));
    connect(m_ui->slideshowTransition, &QCheckBox::toggled, this, [](bool on) {
        UserDefaults::standardUserDefaults().setBool(on, SettingsKeys::slideshow_transition);
    });
    m_ui->slideshowDelay->setValue(int(settings.integerForKey(SettingsKeys::slideshow_delay)));
    connect(m_ui->slideshowDelay, &QSpinBox::valueChanged, this, [](int seconds) {
        UserDefaults::standardUserDefaults().setInteger(seconds, SettingsKeys::slideshow_delay);
    });
}

ViewerPreferencesController::~ViewerPreferencesController() = default;

QIcon ViewerPreferencesController::toolbarItemImage() const {
    return QIcon::fromTheme(QStringLiteral("preferences-desktop-color"),
                            QIcon::fromTheme(QStringLiteral("color-management")));
}

QString ViewerPreferencesController::toolbarItemLabel() const {
    return Localization::localizedString("Viewer");
}

QColor ViewerPreferencesController::backgroundColor() {
    return ColorUtils::colorFromHexadecimalValue(
        UserDefaults::standardUserDefaults().stringForKey(SettingsKeys::viewer_background));
}

void ViewerPreferencesController::setBackgroundColor(const QColor& color) {
    if (!color.isValid())
        return;
    UserDefaults::standardUserDefaults().setObject(ColorUtils::hexadecimalValue(color),
                                                   SettingsKeys::viewer_background);
    showBackgroundColor();
}

void ViewerPreferencesController::chooseBackgroundColor() {
    auto* dialog = new QColorDialog(backgroundColor(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Live, like every other control of the pane.
    connect(dialog, &QColorDialog::currentColorChanged, this,
            &ViewerPreferencesController::setBackgroundColor);
    dialog->open();
}

void ViewerPreferencesController::showBackgroundColor() {
    QPixmap swatch(32, 16);
    swatch.fill(backgroundColor());
    m_ui->backgroundButton->setIcon(QIcon(swatch));
    m_ui->backgroundButton->setText(ColorUtils::hexadecimalValue(backgroundColor()));
}
